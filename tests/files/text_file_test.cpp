#include "files/text_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/error.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;

std::string MessageOf(const fs::path& path) {
  try {
    ReadTextFile(path, "model file");
  } catch (const FileError& error) {
    return error.what();
  }
  return "no error";
}

TEST(ReadTextFile, ReadsEveryByte) {
  const fs::path path = fs::temp_directory_path() / "quorrel_text_file_test.txt";
  {
    std::ofstream out(path, std::ios::binary);
    out << "\xEF\xBB\xBFline 1\r\nline 2\rline 3\n";
  }
  EXPECT_EQ(ReadTextFile(path, "model file"), "\xEF\xBB\xBFline 1\r\nline 2\rline 3\n");
  fs::remove(path);
}

TEST(ReadTextFile, RefusesWhatIsNotARegularFileNamingIt) {
  const fs::path missing = fs::temp_directory_path() / "quorrel_no_such_file.par";
  fs::remove(missing);
  EXPECT_EQ(MessageOf(missing).rfind("Cannot open the model file \"" + missing.string() + "\": ", 0),
            0u);
  EXPECT_EQ(MessageOf(fs::temp_directory_path()),
            "Cannot open the model file \"" + fs::temp_directory_path().string() +
                "\": it is not a file");
}

}  // namespace
}  // namespace quorrel
