// The recovery file reader: never throws, and what it accepts is written back to a text
// that reads back the same.

#include <cstdlib>

#include "fuzz_support.h"
#include "shell/recovery_file.h"

using namespace quorrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::optional<RecoveredWork> work = ReadRecoveryText(fuzz::AsText(bytes, size));
  if (!work) return 0;
  const std::string written = RecoveryText(*work);
  const std::optional<RecoveredWork> again = ReadRecoveryText(written);
  if (!again || RecoveryText(*again) != written) std::abort();
  return 0;
}
