#pragma once
// What several harnesses share: a scratch file for the readers that take a path, and the
// load questions answered always the same way.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "files/measured_data_file.h"

namespace quorrel::fuzz {

//! A file in memory (/dev/shm) for the input of a reader that takes a path; named after the
//! process so that fuzzers running at once do not share it, and removed at exit.
class ScratchFile {
 public:
  explicit ScratchFile(const char* suffix)
      : path_(std::filesystem::path("/dev/shm") /
              ("quorrel-fuzz-" + std::to_string(getpid()) + suffix)) {}
  ~ScratchFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  //! Replaces the file's content; a harness that cannot write its input would test nothing.
  const std::filesystem::path& write(std::string_view content) {
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.close();
    if (!out) std::abort();
    return path_;
  }

 private:
  std::filesystem::path path_;
};

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

//! Gives the same answer to every question and counts them.
class SameAnswer : public LoadQuestions {
 public:
  explicit SameAnswer(LoadAnswer answer) : answer_(answer) {}
  LoadAnswer abortOrIgnore(const std::string& message) override {
    if (message.empty()) std::abort();
    ++asked;
    return answer_;
  }
  int asked = 0;

 private:
  LoadAnswer answer_;
};

}  // namespace quorrel::fuzz
