#include "ui/platform/shared_file_dialogs.h"

#include <QFileInfo>

namespace quorrel {

std::optional<QString> SharedFileDialogs::open(const QString& title, const QString& filter,
                                               const QString& suffix, FolderRule rule) {
  const std::optional<QString> file = prompts_.openFile({title, filter, openFolder_, suffix});
  if (file && rule == FolderRule::Follow) opened(*file);
  return file;
}

std::optional<QString> SharedFileDialogs::save(const QString& title, const QString& filter,
                                               const QString& suffix) {
  const std::optional<QString> file = prompts_.saveFile({title, filter, saveFolder_, suffix});
  if (file) saveFolder_ = QFileInfo(*file).absolutePath();
  return file;
}

void SharedFileDialogs::opened(const QString& file) {
  openFolder_ = QFileInfo(file).absolutePath();
  lastOpenedFolder_ = openFolder_;
}

}  // namespace quorrel
