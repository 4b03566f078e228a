#pragma once
// The one ending of the data readers (.dat, .ort and the column import): the points they keep,
// checked and counted, made into the data set of their file.

#include <filesystem>
#include <optional>
#include <string>

#include "model/measured_data.h"

namespace quorrel {

//! Collects a reader's points in file order and hands them over as a MeasuredData.
class DataSetBuilder {
 public:
  //! `source` opens the message of a set that would hold more than MeasuredData::kMaxPoints
  //! points ("The data file \"run.txt\""); without it (a preview) there is no such limit.
  explicit DataSetBuilder(std::optional<std::string> source);

  //! Keeps the point of file line `line` when its R is above 0; else drops and counts it and
  //! returns false. Throws FileError, naming the source, when the set already holds the most
  //! points.
  bool add(int line, double qz, double r, double dr);
  //! The same with the point's resolution sQz; the set keeps its sQz only when every kept
  //! point's is a width (finite and not negative).
  bool add(int line, double qz, double r, double dr, double sqz);

  //! |dR|, or 0 where it is not a number: what the readers of foreign files keep as an error.
  static double ErrorOf(double dr);

  int count() const { return data_.count(); }
  int droppedNotPositive() const { return droppedNotPositive_; }
  //! The line of the first point dropped for its R; 0 when none was.
  int firstNotPositiveLine() const { return firstNotPositiveLine_; }
  //! The line of the first kept point whose sQz is not a width, if any.
  std::optional<int> firstLineWithoutWidth() const { return firstLineWithoutWidth_; }

  //! The points alone: no file name, no fitting region.
  MeasuredData points() &&;
  //! The data set of the file at `path`: the points, the file's full path and the fitting
  //! region from the first to the last Qz (-1.0 in both bounds without points).
  MeasuredData dataSetOf(const std::filesystem::path& path) &&;

 private:
  std::optional<std::string> source_;
  MeasuredData data_;
  int droppedNotPositive_ = 0;
  int firstNotPositiveLine_ = 0;
  std::optional<int> firstLineWithoutWidth_;
};

}  // namespace quorrel
