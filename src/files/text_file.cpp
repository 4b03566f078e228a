#include "files/text_file.h"

#include <fstream>
#include <iterator>

#include "common/error.h"

namespace quorrel {

namespace {

[[noreturn]] void Refuse(std::string_view verb, std::string_view kind,
                         const std::filesystem::path& path, const std::string& reason) {
  std::string message = "Cannot ";
  message.append(verb).append(" the ").append(kind).append(" \"").append(path.string()).append("\"");
  if (!reason.empty()) message.append(": ").append(reason);
  throw FileError(message);
}

}  // namespace

std::string ReadTextFile(const std::filesystem::path& path, std::string_view kind) {
  // Only a regular file: a folder would read as empty, a device might never end.
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  if (error) Refuse("open", kind, path, error.message());
  if (!std::filesystem::is_regular_file(status)) Refuse("open", kind, path, "it is not a file");
  std::ifstream stream(path, std::ios::binary);
  if (!stream) Refuse("open", kind, path, "it cannot be read");
  std::string content((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
  if (stream.bad()) Refuse("read", kind, path, "");
  return content;
}

std::string_view WithoutByteOrderMark(std::string_view text) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  return text;
}

bool NextLine(std::string_view& rest, std::string_view& line) {
  if (rest.empty()) return false;
  const std::size_t end = rest.find_first_of("\r\n");
  line = rest.substr(0, end);
  if (end == std::string_view::npos) {
    rest = {};
  } else {
    const bool crLf = rest[end] == '\r' && end + 1 < rest.size() && rest[end + 1] == '\n';
    rest.remove_prefix(end + (crLf ? 2 : 1));
  }
  return true;
}

}  // namespace quorrel
