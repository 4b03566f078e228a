// The user function file: three lines read into the function settings, or FileError for a
// count that is not an integer.

#include <cstdlib>

#include "common/error.h"
#include "files/user_function_file.h"
#include "fuzz_support.h"

using namespace quorrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  static fuzz::ScratchFile scratch(".fnc");
  const std::filesystem::path& path = scratch.write(fuzz::AsText(bytes, size));
  FunctionSettings function;
  function.numParameters = -1;  // shows whether the count was set
  try {
    LoadUserFunction(path, function);
  } catch (const FileError&) {
    // The comment and the expression are set before the count is refused.
    if (function.numParameters != -1) std::abort();
    return 0;
  }
  if (function.numParameters < 0 || function.numParameters > 5) std::abort();
  for (int i = 0; i < function.numParameters; ++i) {
    if (function.parameterNames[static_cast<std::size_t>(i)] !=
        std::string(1, static_cast<char>('A' + i))) {
      std::abort();
    }
  }
  // The texts are single lines, so saving them keeps the file's three lines.
  if (function.comment.find_first_of("\r\n") != std::string::npos ||
      function.expression.find_first_of("\r\n") != std::string::npos) {
    std::abort();
  }
  return 0;
}
