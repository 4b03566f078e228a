#pragma once
// A settings store in memory for tests, with names matched without regard to case.

#include <map>
#include <optional>
#include <string>
#include <utility>

#include "common/text_case.h"
#include "shell/settings_store.h"

namespace quorrel::testing {

class MemorySettingsStore : public SettingsStore {
 public:
  std::optional<std::string> read(std::string_view section, std::string_view name) const override {
    for (const auto& [key, text] : values_) {
      if (EqualIgnoringCase(key.first, section) && EqualIgnoringCase(key.second, name)) return text;
    }
    return std::nullopt;
  }
  void write(std::string_view section, std::string_view name, const std::string& text) override {
    for (auto& [key, stored] : values_) {
      if (EqualIgnoringCase(key.first, section) && EqualIgnoringCase(key.second, name)) {
        stored = text;
        return;
      }
    }
    values_[{std::string(section), std::string(name)}] = text;
  }
  void removeSection(std::string_view section) override {
    std::erase_if(values_, [section](const auto& entry) {
      return EqualIgnoringCase(entry.first.first, section);
    });
  }
  bool has(std::string_view section, std::string_view name) const {
    return read(section, name).has_value();
  }

 private:
  std::map<std::pair<std::string, std::string>, std::string> values_;
};

}  // namespace quorrel::testing
