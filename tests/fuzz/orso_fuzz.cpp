// The ORSO reader: the data set names, and the first and last data sets loaded answering
// every question with Ignore and then with Abort.

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "common/error.h"
#include "files/orso_file.h"
#include "fuzz_support.h"

using namespace quorrel;

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

void Load(const std::filesystem::path& path, int index) {
  MeasuredData ignored = fuzz::Previous("previous.ort");
  fuzz::SameAnswer ignore(LoadAnswer::Ignore);
  std::vector<std::string> notes;
  try {
    Require(LoadOrsoData(path, index, ignored, ignore, notes) == LoadOutcome::Loaded);
  } catch (const FileError&) {
    // Only for more points than a data set holds, which a fuzzed input cannot have.
    std::abort();
  }
  const std::size_t n = ignored.qz.size();
  Require(ignored.r.size() == n && ignored.dr.size() == n);
  Require(ignored.sqz.empty() || ignored.sqz.size() == n);
  for (std::size_t i = 0; i < n; ++i) {
    Require(std::isfinite(ignored.qz[i]) && std::isfinite(ignored.r[i]) && ignored.r[i] > 0);
    Require(std::isfinite(ignored.dr[i]) && ignored.dr[i] >= 0);
    Require(ignored.sqz.empty() || (std::isfinite(ignored.sqz[i]) && ignored.sqz[i] >= 0));
  }
  Require(n == 0 ? ignored.fitRegionLow == -1.0
                 : ignored.fitRegionLow == ignored.qz.front() &&
                       ignored.fitRegionHigh == ignored.qz.back());

  MeasuredData aborted = fuzz::Previous("previous.ort");
  fuzz::SameAnswer abort(LoadAnswer::Abort);
  std::vector<std::string> abortNotes;
  const LoadOutcome outcome = LoadOrsoData(path, index, aborted, abort, abortNotes);
  Require(abort.asked <= 1);
  if (abort.asked == 1) {
    Require(outcome == LoadOutcome::Aborted && fuzz::Same(aborted, fuzz::Previous("previous.ort")));
  } else {
    Require(outcome == LoadOutcome::Loaded && ignore.asked == 0 && fuzz::Same(aborted, ignored) &&
            abortNotes == notes);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  static fuzz::ScratchFile scratch(".ort");
  const std::filesystem::path& path = scratch.write(fuzz::AsText(bytes, size));
  std::vector<std::string> names;
  try {
    names = OrsoDataSetNames(path);
  } catch (const FileError&) {
    return 0;  // not an ORSO file, or a header it cannot read
  }
  Require(!names.empty());
  const int last = static_cast<int>(names.size()) - 1;
  // Every load reads the whole file again, so only the first and the last set are loaded.
  Load(path, 0);
  if (last > 0) Load(path, last);
  for (const int missing : {-1, last + 1}) {
    MeasuredData data = fuzz::Previous("previous.ort");
    fuzz::SameAnswer ignore(LoadAnswer::Ignore);
    std::vector<std::string> notes;
    try {
      LoadOrsoData(path, missing, data, ignore, notes);
      std::abort();
    } catch (const FileError&) {
      Require(fuzz::Same(data, fuzz::Previous("previous.ort")));
    }
  }
  return 0;
}
