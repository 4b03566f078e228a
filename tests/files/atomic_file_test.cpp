#include "files/atomic_file.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace quorrel
