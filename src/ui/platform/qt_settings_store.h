#pragma once
// The settings store on QSettings, with names matched without regard to case.

#include <QSettings>

#include "shell/settings_store.h"

namespace quorrel {

//! Values are stored as text. A name that differs only in case from a stored one finds it, so
//! a value written as "expertmode" under "Main" is read as "expertmode" under "MAIN".
class QtSettingsStore : public SettingsStore {
 public:
  explicit QtSettingsStore(QSettings& settings) : settings_(settings) {}

  std::optional<std::string> read(std::string_view section, std::string_view name) const override;
  void write(std::string_view section, std::string_view name, const std::string& text) override;
  void removeSection(std::string_view section) override;

 private:
  //! The stored spelling of a section, or `section` itself when there is none.
  QString storedSection(std::string_view section) const;

  QSettings& settings_;
};

}  // namespace quorrel
