#include "ui/main/crash_recovery.h"

#include <QDir>
#include <QFile>

#include "common/error.h"
#include "files/atomic_file.h"
#include "files/text_file.h"
#include "ui/platform/paths.h"

namespace quorrel {

CrashRecovery::CrashRecovery(const QString& folder) : file_(folder + "/recovery.qrec") {
  if (!QDir().mkpath(folder)) return;
  auto lock = std::make_unique<QLockFile>(folder + "/recovery.lock");
  // A lock left by a crashed run is stale and taken over.
  lock->setStaleLockTime(0);
  if (lock->tryLock(0)) lock_ = std::move(lock);
}

std::optional<RecoveredWork> CrashRecovery::leftBehind() const {
  if (!active() || !QFile::exists(file_)) return std::nullopt;
  try {
    return ReadRecoveryText(ReadTextFile(ToPath(file_), "recovery file"));
  } catch (const QuorrelError&) {
    return std::nullopt;
  }
}

bool CrashRecovery::keep(const RecoveredWork& work) {
  if (!active()) return false;
  try {
    WriteFileAtomically(ToPath(file_), RecoveryText(work));
    return true;
  } catch (const QuorrelError&) {
    return false;
  }
}

void CrashRecovery::discard() {
  if (active()) QFile::remove(file_);
}

}  // namespace quorrel
