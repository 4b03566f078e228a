#pragma once
// The model parameter file as lines, and the numbers in them: the separator test and the
// conversions that the reader applies.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorrel {

//! The lines of `text`, each ended by CR LF, LF or CR (the last one may lack it). A UTF-8
//! byte-order mark is dropped.
std::vector<std::string_view> SplitLines(std::string_view text);

//! The separator test: the first line with a "." before its last character (or, with no "."
//! in it, a "," before its last character), else the last line, decides. The file's
//! separator is foreign when the user's locale conversion rejects that line and the tolerant
//! conversion accepts it.
bool HasForeignSeparator(const std::vector<std::string_view>& lines);

//! How the numbers of one file are read.
class NumberRule {
 public:
  explicit NumberRule(bool foreignSeparator) : foreign_(foreignSeparator) {}
  bool foreign() const { return foreign_; }

  //! A number written with the user's separator: the tolerant conversion for a foreign
  //! file, else the locale conversion.
  std::optional<double> number(std::string_view text) const;
  //! A real line of the fixed format, which always has a point whatever the locale.
  static std::optional<double> real(std::string_view text);
  //! A cell as the grid takes it: verbatim, or for a foreign file converted and formatted
  //! with `pattern` (nothing when it is not a number). A null pattern keeps the cell verbatim.
  std::optional<std::string> cell(std::string_view text, const char* pattern) const;

 private:
  bool foreign_;
};

}  // namespace quorrel
