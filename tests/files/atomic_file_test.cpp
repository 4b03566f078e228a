#include "files/atomic_file.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>

#include "common/error.h"
#include "scratch_folder.h"

namespace quorrel {
namespace {

TEST(WriteFileAtomically, WritesTheBytesAsGiven) {
  ScratchFolder folder;
  const std::string content("a\tb\r\nc\0d\r\n", 10);
  WriteFileAtomically(folder / "out.dat", content);
  EXPECT_EQ(ScratchFolder::read(folder / "out.dat"), content);
  EXPECT_EQ(folder.entryCount(), 1);  // no temporary left beside it
}

TEST(WriteFileAtomically, ReplacesAnOldFile) {
  ScratchFolder folder;
  folder.write("out.dat", "old content that is longer\r\n");
  WriteFileAtomically(folder / "out.dat", "new\r\n");
  EXPECT_EQ(ScratchFolder::read(folder / "out.dat"), "new\r\n");
  EXPECT_EQ(folder.entryCount(), 1);
}

TEST(WriteFileAtomically, EmptyContentGivesAnEmptyFile) {
  ScratchFolder folder;
  WriteFileAtomically(folder / "empty.pro", "");
  ASSERT_TRUE(std::filesystem::exists(folder / "empty.pro"));
  EXPECT_EQ(std::filesystem::file_size(folder / "empty.pro"), 0u);
}

TEST(WriteFileAtomically, MissingFolderIsAFileErrorNamingTheFile) {
  ScratchFolder folder;
  const auto target = folder / "no such folder" / "out.dat";
  try {
    WriteFileAtomically(target, "x");
    FAIL() << "no error";
  } catch (const FileError& error) {
    EXPECT_NE(std::string(error.what()).find("Cannot write the file \"" + target.string() + "\""),
              std::string::npos)
        << error.what();
  }
  EXPECT_EQ(folder.entryCount(), 0);
}

TEST(WriteFileAtomically, FailedRenameKeepsWhatWasThere) {
  // A folder in the way cannot be replaced by a file, whoever runs the test.
  ScratchFolder folder;
  std::filesystem::create_directory(folder / "taken");
  folder.write("taken/inside.txt", "kept");
  EXPECT_THROW(WriteFileAtomically(folder / "taken", "new"), FileError);
  EXPECT_EQ(ScratchFolder::read(folder / "taken" / "inside.txt"), "kept");
  EXPECT_EQ(folder.entryCount(), 1);  // the temporary was removed
}

TEST(WriteFileAtomically, AReplacedFileKeepsItsPermissions) {
  ScratchFolder folder;
  folder.write("script.sh", "old\n");
  std::filesystem::permissions(folder / "script.sh", std::filesystem::perms::owner_all |
                                                         std::filesystem::perms::group_read);
  WriteFileAtomically(folder / "script.sh", "new\n");
  EXPECT_EQ(std::filesystem::status(folder / "script.sh").permissions() &
                std::filesystem::perms::all,
            std::filesystem::perms::owner_all | std::filesystem::perms::group_read);
}

//! Writes beyond `bytes` fail for as long as the object lives, as on a full disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &previous_);
    ignoredSignal_ = std::signal(SIGXFSZ, SIG_IGN);  // the failing write returns EFBIG
    rlimit limit = previous_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, ignoredSignal_);
  }

 private:
  rlimit previous_{};
  void (*ignoredSignal_)(int);
};

TEST(WriteFileAtomically, AFullDiskKeepsTheOldFileAndSaysWhy) {
  ScratchFolder folder;
  folder.write("model.par", "the old model\r\n");
  std::string message;
  {
    const FileSizeLimit fullDisk(1024);
    try {
      WriteFileAtomically(folder / "model.par", std::string(100000, 'x'));
    } catch (const FileError& error) {
      message = error.what();
    }
  }
  EXPECT_EQ(message, "Cannot write the file \"" + (folder / "model.par").string() +
                         "\": File too large.");
  EXPECT_EQ(ScratchFolder::read(folder / "model.par"), "the old model\r\n");
  EXPECT_EQ(folder.entryCount(), 1);
}

TEST(WriteFileAtomically, AFolderWithoutWritePermissionIsRefused) {
  ScratchFolder folder;
  std::filesystem::path target = folder / "locked" / "out.dat";
  std::filesystem::create_directory(folder / "locked");
  std::filesystem::permissions(folder / "locked", std::filesystem::perms::owner_read |
                                                      std::filesystem::perms::owner_exec);
  // Permissions do not stop the administrator; the kernel's own folder stops everyone.
  if (::geteuid() == 0) target = "/sys/quorrel-test-out.dat";
  try {
    WriteFileAtomically(target, "x");
    FAIL() << "no error";
  } catch (const FileError& error) {
    EXPECT_EQ(std::string(error.what()),
              "Cannot write the file \"" + target.string() + "\": Permission denied.");
  }
  std::filesystem::permissions(folder / "locked", std::filesystem::perms::owner_all);
  EXPECT_FALSE(std::filesystem::exists(target));
}

}  // namespace
}  // namespace quorrel
