// The measured data reader, answering every question with Ignore and then with Abort.

#include <algorithm>
#include <cstdlib>

#include "common/error.h"
#include "files/measured_data_file.h"
#include "fuzz_support.h"

using namespace quorrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  static fuzz::ScratchFile scratch(".dat");
  const std::string_view text = fuzz::AsText(bytes, size);
  const std::filesystem::path& path = scratch.write(text);

  MeasuredData ignored = fuzz::Previous("previous.dat");
  fuzz::SameAnswer ignore(LoadAnswer::Ignore);
  int lastCount = 0;
  try {
    const LoadOutcome outcome =
        LoadMeasuredData(path, ignored, ignore, [&](int count) { lastCount = count; });
    if (outcome != LoadOutcome::Loaded) std::abort();
  } catch (const FileError&) {
    // Refused only for more points than a data set holds, which needs that many lines.
    if (std::count(text.begin(), text.end(), '\n') + std::count(text.begin(), text.end(), '\r') <
        MeasuredData::kMaxPoints) {
      std::abort();
    }
    return 0;
  }
  const std::size_t n = ignored.qz.size();
  if (ignored.r.size() != n || ignored.dr.size() != n || !ignored.sqz.empty()) std::abort();
  // The last line's count includes its point while it is asked about, even when it is dropped.
  if (lastCount < static_cast<int>(n) || lastCount > static_cast<int>(n) + 1) std::abort();
  if (!std::all_of(ignored.r.begin(), ignored.r.end(), [](double r) { return r > 0; })) {
    std::abort();
  }
  if (n > 0 && (ignored.fitRegionLow != ignored.qz.front() ||
                ignored.fitRegionHigh != ignored.qz.back())) {
    std::abort();
  }
  if (n == 0 && (ignored.fitRegionLow != -1.0 || ignored.fitRegionHigh != -1.0)) std::abort();

  // Abort at the first question leaves the previous data exactly as they were; without a
  // question the load is the same as with Ignore.
  MeasuredData aborted = fuzz::Previous("previous.dat");
  fuzz::SameAnswer abort(LoadAnswer::Abort);
  const LoadOutcome outcome = LoadMeasuredData(path, aborted, abort);
  if (abort.asked > 1) std::abort();
  if (abort.asked == 1 && (outcome != LoadOutcome::Aborted || !fuzz::Same(aborted, fuzz::Previous("previous.dat")))) {
    std::abort();
  }
  if (abort.asked == 0 && (outcome != LoadOutcome::Loaded || !fuzz::Same(aborted, ignored) ||
                           ignore.asked != 0)) {
    std::abort();
  }
  return 0;
}
