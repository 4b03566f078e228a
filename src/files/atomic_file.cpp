#include "files/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <string>
#include <system_error>

#include "common/error.h"

namespace quorrel {

namespace {

std::string Quoted(const std::filesystem::path& path) { return "\"" + path.string() + "\""; }

[[noreturn]] void Fail(const std::filesystem::path& path, int error) {
  throw FileError("Cannot write the file " + Quoted(path) + ": " +
                  std::generic_category().message(error) + ".");
}

//! Closes the descriptor and removes the temporary file unless the save got through.
class Temporary {
 public:
  explicit Temporary(const std::filesystem::path& target) {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
      path_ = target;
      path_ += ".tmp" + std::to_string(random());
      // A replaced file keeps its permissions; a new one gets the usual ones.
      struct stat old {};
      const mode_t mode = ::stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0666;
      descriptor_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
      if (descriptor_ >= 0) {
        // The umask would narrow the old file's permissions again.
        if (mode != 0666) ::fchmod(descriptor_, mode);
        return;
      }
      if (errno != EEXIST) break;
    }
    Fail(target, errno);
  }
  ~Temporary() {
    if (descriptor_ >= 0) ::close(descriptor_);
    if (!kept_) ::unlink(path_.c_str());
  }
  Temporary(const Temporary&) = delete;
  Temporary& operator=(const Temporary&) = delete;

  //! Every byte, then flushed to the disk; the error number of a failure, else 0.
  int write(std::string_view content) {
    while (!content.empty()) {
      const ssize_t written = ::write(descriptor_, content.data(), content.size());
      if (written < 0) {
        if (errno == EINTR) continue;
        return errno;
      }
      content.remove_prefix(static_cast<std::size_t>(written));
    }
    if (::fsync(descriptor_) != 0) return errno;
    const int closed = ::close(descriptor_);
    descriptor_ = -1;
    return closed == 0 ? 0 : errno;
  }
  //! Renames the file into place; the error number of a failure, else 0.
  int moveTo(const std::filesystem::path& target) {
    if (::rename(path_.c_str(), target.c_str()) != 0) return errno;
    kept_ = true;
    return 0;
  }

 private:
  std::filesystem::path path_;
  int descriptor_ = -1;
  bool kept_ = false;
};

//! Makes the rename itself durable: the folder's entry is flushed to the disk too.
void SyncFolderOf(const std::filesystem::path& path) {
  std::filesystem::path folder = path.parent_path();
  if (folder.empty()) folder = ".";
  const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return;  // the file is in place; only the extra flush is missed
  ::fsync(descriptor);
  ::close(descriptor);
}

}  // namespace

void WriteFileAtomically(const std::filesystem::path& path, std::string_view content) {
  Temporary temporary(path);
  if (const int error = temporary.write(content)) Fail(path, error);
  if (const int error = temporary.moveTo(path)) Fail(path, error);
  SyncFolderOf(path);
}

}  // namespace quorrel
