#include "files/user_function_file.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "common/error.h"
#include "files/text_file.h"
#include "common/number_conversion.h"
#include "files/atomic_file.h"
#include "files/model_file_lines.h"

namespace quorrel {

namespace {

constexpr int kMaxParameters = 5;

//! `text` on one line.
std::string OneLine(std::string text) {
  std::replace(text.begin(), text.end(), '\r', ' ');
  std::replace(text.begin(), text.end(), '\n', ' ');
  return text;
}

std::string IntegerText(int value) {
  char buffer[16];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  return std::string(buffer, end);
}

}  // namespace

void SaveUserFunction(const std::filesystem::path& path, const FunctionSettings& function) {
  const std::string content = OneLine(function.comment) + "\r\n" + OneLine(function.expression) +
                              "\r\n" + IntegerText(function.numParameters) + "\r\n";
  WriteFileAtomically(path, content);
}

void LoadUserFunction(const std::filesystem::path& path, FunctionSettings& function) {
  const std::string content = ReadTextFile(path, "user function file");
  const std::vector<std::string_view> lines = SplitLines(content);
  const auto line = [&lines](std::size_t i) {
    return i < lines.size() ? std::string(lines[i]) : std::string();
  };
  function.comment = line(0);
  function.expression = line(1);
  const std::string countText = line(2).empty() ? "0" : line(2);
  const std::optional<int> count = ReadInteger(countText);
  if (!count) {
    throw FileError("The user function file " + ("\"" + path.string() + "\"") + ", line 3: '" + countText +
                    "' is not a valid integer value");
  }
  function.numParameters = std::clamp(*count, 0, kMaxParameters);
  for (int i = 0; i < function.numParameters; ++i) {
    function.parameterNames[static_cast<std::size_t>(i)] =
        std::string(1, static_cast<char>('A' + i));
  }
}

}  // namespace quorrel
