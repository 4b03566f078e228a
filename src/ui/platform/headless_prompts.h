#pragma once
// The prompts of a run that nobody watches: messages go to standard error, bad data lines
// are skipped, and any error is remembered for the exit status.

#include "ui/platform/prompts.h"

namespace quorrel {

class HeadlessPrompts : public Prompts {
 public:
  std::optional<QString> openFile(const FileDialogRequest&) override { return std::nullopt; }
  std::optional<QString> saveFile(const FileDialogRequest&) override { return std::nullopt; }
  void information(const QString& text) override;
  void error(const QString& text) override;
  LoadAnswer abortOrIgnore(const QString& text) override;
  //! Nothing is edited in a run that nobody watches.
  SaveChoice askSaveChanges(const QString&) override { return SaveChoice::Discard; }
  bool confirm(const QString&) override { return false; }
  std::optional<QSize> askPictureSize(QSize) override { return std::nullopt; }
  //! The first, as the command line tool takes it.
  std::optional<int> chooseItem(const QString& text, const QStringList& items,
                                int helpContext) override;

  bool failed() const { return failed_; }

 private:
  bool failed_ = false;
};

}  // namespace quorrel
