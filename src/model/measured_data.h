#pragma once
// The one measured reflectivity curve that the program holds.

#include <string>
#include <vector>

namespace quorrel {

//! The points of the file last loaded; LoadMeasuredData replaces them only as a whole.
struct MeasuredData {
  //! The most points a data set holds.
  static constexpr int kMaxPoints = 100000;

  //! Points in file order; qz[i], r[i], dr[i] for i = 0 .. count() - 1 (point i + 1 of the file).
  std::vector<double> qz;
  std::vector<double> r;    // every value > 0
  std::vector<double> dr;
  //! The measured 1-sigma Qz resolution of every point (Å⁻¹), or empty when the file has none.
  std::vector<double> sqz;
  std::string fileName;     // full path of the file last loaded; empty before
  double fitRegionLow = -1.0;   // -1.0 in both bounds: no fitting region
  double fitRegionHigh = -1.0;

  int count() const { return static_cast<int>(qz.size()); }
  bool loaded() const { return !fileName.empty(); }
  bool hasResolution() const { return !sqz.empty(); }
};

}  // namespace quorrel
