#pragma once
// The program's one open dialog and one save dialog. Each opens in the folder of the file
// last chosen in it.

#include <optional>

#include <QString>

#include "ui/platform/prompts.h"

namespace quorrel {

//! Whether choosing a file moves the dialog's folder there.
enum class FolderRule { Follow, Keep };

class SharedFileDialogs {
 public:
  //! Both dialogs start in `folder`.
  SharedFileDialogs(Prompts& prompts, const QString& folder)
      : prompts_(prompts), openFolder_(folder), saveFolder_(folder) {}

  //! An existing file. `suffix` is added to a name typed without an extension.
  std::optional<QString> open(const QString& title, const QString& filter, const QString& suffix,
                              FolderRule rule = FolderRule::Follow);
  //! A file to write; the dialog asks before replacing one.
  std::optional<QString> save(const QString& title, const QString& filter, const QString& suffix);

  //! A file opened without the dialog (named on the command line) moves it as a choice would.
  void opened(const QString& file);

  const QString& openFolder() const { return openFolder_; }
  const QString& saveFolder() const { return saveFolder_; }
  //! The folder of the file last chosen in the open dialog; empty until one is chosen.
  const QString& lastOpenedFolder() const { return lastOpenedFolder_; }

 private:
  Prompts& prompts_;
  QString openFolder_;
  QString saveFolder_;
  QString lastOpenedFolder_;
};

}  // namespace quorrel
