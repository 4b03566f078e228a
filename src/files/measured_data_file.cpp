#include "files/measured_data_file.h"

#include <fstream>
#include <iterator>
#include <optional>
#include <string_view>

#include "files/data_set_builder.h"
#include "files/text_file.h"
#include "common/number_conversion.h"

namespace quorrel {

namespace {

//! The text before the next TAB, and the line cut after it; nothing when there is no TAB.
std::optional<std::string_view> FieldBeforeTab(std::string_view& line) {
  const std::size_t tab = line.find('\t');
  if (tab == std::string_view::npos) return std::nullopt;
  const std::string_view field = line.substr(0, tab);
  line.remove_prefix(tab + 1);
  return field;
}

struct Point {
  double qz;
  double r;
  double dr;
};

//! Qz and R must each be followed by a TAB; dR ends at the next TAB or at the line's end.
std::optional<Point> ReadPoint(std::string_view line) {
  const auto qzField = FieldBeforeTab(line);
  if (!qzField) return std::nullopt;
  const auto rField = FieldBeforeTab(line);
  if (!rField) return std::nullopt;
  const std::string_view drField = line.substr(0, line.find('\t'));
  const auto qz = ReadNumber(*qzField);
  const auto r = ReadNumber(*rField);
  const auto dr = ReadNumber(drField);
  if (!qz || !r || !dr) return std::nullopt;
  return Point{*qz, *r, *dr};
}

}  // namespace

std::string StrangeValueMessage(int lineNumber) {
  return "Ooops...\nskipping strange value in line #" + std::to_string(lineNumber);
}

std::string NotPositiveMessage(int pointNumber) {
  return "Ooops...\nvalue smaller than zero in line #" + std::to_string(pointNumber) +
         " will be skipped!";
}

LoadOutcome LoadMeasuredData(const std::filesystem::path& path, MeasuredData& data,
                             LoadQuestions& questions, const LoadProgress& progress) {
  const std::string content = ReadTextFile(path, "measured data file");
  std::string_view rest = WithoutByteOrderMark(content);

  DataSetBuilder loaded("The measured data file \"" + path.string() + "\"");
  int lineNumber = 0;
  std::string_view line;
  while (NextLine(rest, line)) {
    ++lineNumber;
    const std::optional<Point> point = ReadPoint(line);
    if (!point && questions.abortOrIgnore(StrangeValueMessage(lineNumber)) == LoadAnswer::Abort) {
      return LoadOutcome::Aborted;
    }
    const int count = loaded.count() + (point ? 1 : 0);
    if (progress) progress(count);
    if (!point) continue;
    // A point whose R is not above 0 is dropped, and asked about.
    if (!loaded.add(lineNumber, point->qz, point->r, point->dr) &&
        questions.abortOrIgnore(NotPositiveMessage(count)) == LoadAnswer::Abort) {
      return LoadOutcome::Aborted;
    }
  }
  data = std::move(loaded).dataSetOf(path);
  return LoadOutcome::Loaded;
}

}  // namespace quorrel
