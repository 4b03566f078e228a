#pragma once
// Keeps the model being worked on in a recovery file while it has unsaved changes, so that a
// run that ends without closing properly (a crash, a power cut) can be restored.

#include <memory>
#include <optional>

#include <QLockFile>
#include <QString>

#include "shell/document.h"
#include "shell/recovery_file.h"

namespace quorrel {

class CrashRecovery : public RecoveryStore {
 public:
  //! The recovery file lives in `folder` (the user's data folder). Only one running program
  //! keeps it; a second one started beside it neither writes nor offers it.
  explicit CrashRecovery(const QString& folder);

  bool active() const { return lock_ != nullptr; }
  //! What a run that did not close properly left behind.
  std::optional<RecoveredWork> leftBehind() const;
  //! Writes the work as it stands (atomically, so a crash while writing keeps the last one).
  //! False when it could not be written.
  bool keep(const RecoveredWork& work) override;
  //! Nothing needs recovering: the file goes.
  void discard() override;

  //! How often unsaved work is written.
  static constexpr int kIntervalMs = 30'000;

 private:
  QString file_;
  std::unique_ptr<QLockFile> lock_;
};

}  // namespace quorrel
