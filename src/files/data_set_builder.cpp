#include "files/data_set_builder.h"

#include <cmath>

#include "common/error.h"

namespace quorrel {

DataSetBuilder::DataSetBuilder(std::optional<std::string> source) : source_(std::move(source)) {}

bool DataSetBuilder::add(int line, double qz, double r, double dr) {
  if (!(r > 0)) {
    if (droppedNotPositive_++ == 0) firstNotPositiveLine_ = line;
    return false;
  }
  if (source_ && data_.count() == MeasuredData::kMaxPoints) {
    throw FileError(*source_ + " holds more than " + std::to_string(MeasuredData::kMaxPoints) +
                    " points, the most that a data set can hold; nothing was loaded");
  }
  data_.qz.push_back(qz);
  data_.r.push_back(r);
  data_.dr.push_back(dr);
  return true;
}

bool DataSetBuilder::add(int line, double qz, double r, double dr, double sqz) {
  if (!add(line, qz, r, dr)) return false;
  if (!firstLineWithoutWidth_ && !(std::isfinite(sqz) && sqz >= 0)) firstLineWithoutWidth_ = line;
  data_.sqz.push_back(sqz);
  return true;
}

double DataSetBuilder::ErrorOf(double dr) { return std::isfinite(dr) ? std::fabs(dr) : 0.0; }

MeasuredData DataSetBuilder::points() && {
  // A column of widths only where every point has one; a point without would go unsmeared.
  if (firstLineWithoutWidth_ || data_.sqz.size() != data_.qz.size()) data_.sqz.clear();
  return std::move(data_);
}

MeasuredData DataSetBuilder::dataSetOf(const std::filesystem::path& path) && {
  MeasuredData data = std::move(*this).points();
  data.fileName = std::filesystem::absolute(path).string();
  if (data.count() > 0) {
    data.fitRegionLow = data.qz.front();
    data.fitRegionHigh = data.qz.back();
  }
  return data;
}

}  // namespace quorrel
