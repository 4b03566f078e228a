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

//! Every field a load sets.
inline bool Same(const MeasuredData& a, const MeasuredData& b) {
  return a.qz == b.qz && a.r == b.r && a.dr == b.dr && a.sqz == b.sqz &&
         a.fileName == b.fileName && a.fitRegionLow == b.fitRegionLow &&
         a.fitRegionHigh == b.fitRegionHigh;
}

//! A data set that a load must leave alone unless it succeeds.
inline MeasuredData Previous(const std::string& fileName) {
  MeasuredData data;
  data.qz = {0.01};
  data.r = {0.5};
  data.dr = {0.1};
  data.sqz = {0.001};
  data.fileName = fileName;
  data.fitRegionLow = data.fitRegionHigh = 0.01;
  return data;
}

}  // namespace quorrel::fuzz
