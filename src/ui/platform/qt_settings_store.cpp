#include "ui/platform/qt_settings_store.h"

#include <QStringList>

namespace quorrel {

namespace {

QString FromView(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

//! The entry of `stored` that equals `name` without regard to case, or `name` itself.
QString StoredSpelling(const QStringList& stored, std::string_view name) {
  const QString wanted = FromView(name);
  for (const QString& entry : stored) {
    if (entry.compare(wanted, Qt::CaseInsensitive) == 0) return entry;
  }
  return wanted;
}

}  // namespace

QString QtSettingsStore::storedSection(std::string_view section) const {
  return StoredSpelling(settings_.childGroups(), section);
}

std::optional<std::string> QtSettingsStore::read(std::string_view section,
                                                 std::string_view name) const {
  settings_.beginGroup(storedSection(section));
  const QString key = StoredSpelling(settings_.childKeys(), name);
  const QVariant value = settings_.value(key);
  settings_.endGroup();
  if (!value.isValid()) return std::nullopt;
  return value.toString().toStdString();
}

void QtSettingsStore::write(std::string_view section, std::string_view name,
                            const std::string& text) {
  settings_.beginGroup(storedSection(section));
  settings_.setValue(StoredSpelling(settings_.childKeys(), name), QString::fromStdString(text));
  settings_.endGroup();
}

void QtSettingsStore::removeSection(std::string_view section) {
  settings_.remove(storedSection(section));
}

}  // namespace quorrel
