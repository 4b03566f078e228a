#pragma once
// The per-user key/value store that keeps the user's last settings between runs.

#include <optional>
#include <string>
#include <string_view>

namespace quorrel {

//! Values are text, grouped in sections. Section and value names are matched without regard
//! to case, so "MAIN" and "Main" are one section.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  //! The stored text, or nothing when the section or the value is missing.
  virtual std::optional<std::string> read(std::string_view section,
                                          std::string_view name) const = 0;
  //! Stores `text`, creating the section when it is missing.
  virtual void write(std::string_view section, std::string_view name, const std::string& text) = 0;
  //! Deletes the section with all its values.
  virtual void removeSection(std::string_view section) = 0;
};

}  // namespace quorrel
