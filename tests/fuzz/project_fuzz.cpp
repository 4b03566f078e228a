// The project reader: any text is a project or refused with FileError; a project read has
// measurements whose points are complete and positive, and writes back out.

#include <cstdlib>

#include "common/error.h"
#include "files/project_file.h"
#include "fuzz_support.h"

using namespace quorrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  ProjectRead read;
  try {
    read = ReadProjectText(std::string(fuzz::AsText(bytes, size)), "/fuzz/project.qproj");
  } catch (const QuorrelError& error) {
    if (*error.what() == '\0') std::abort();
    return 0;
  }
  for (const Measurement& m : read.project.measurements) {
    const MeasuredData& d = m.data;
    if (d.r.size() != d.qz.size() || d.dr.size() != d.qz.size()) std::abort();
    if (d.hasResolution() && d.sqz.size() != d.qz.size()) std::abort();
    for (const double r : d.r) {
      if (!(r > 0.0)) std::abort();
    }
  }
  try {
    (void)ProjectText(read.project, "/fuzz");
  } catch (const ArithmeticFault&) {
    // A value beyond the double range in the model cannot be written; the reader kept it.
  }
  return 0;
}
