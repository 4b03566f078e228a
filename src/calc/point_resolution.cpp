#include "calc/point_resolution.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "common/error.h"
#include "common/number_conversion.h"
#include "common/number_format.h"
#include "model/settings_rules.h"

namespace quorrel {

namespace {

struct Region {
  double fromQz;
  double deltaQz;
};

//! One cell of a region row by the locale conversion; an error naming the row otherwise.
double RegionCell(const TextGrid& grid, int row, int column) {
  const std::string& text = grid.cell(row, column);
  if (const auto value = LocaleToDouble(text)) return *value;
  const std::string where = "resolution region " + FormatPrintfD(row) + ": ";
  if (text.find_first_not_of(' ') == std::string::npos) {
    throw QuorrelError(where + "the " + (column == 0 ? "from Qz" : "delta Qz") +
                       " cell is empty");
  }
  throw QuorrelError(where + "'" + text + "' is not a number");
}

//! Rows 1 .. edtRegions, all read before any point so that a bad cell stops the run first.
std::vector<Region> ReadRegions(const CalcSettings& settings) {
  std::vector<Region> regions;
  for (int row = 1; row <= settings.edtRegions; ++row) {
    regions.push_back({RegionCell(settings.resltnGrid, row, 0),
                       RegionCell(settings.resltnGrid, row, 1)});
  }
  return regions;
}

//! 2·sQz interpolated over the measured points, sorted by Qz.
std::vector<double> DataWidths(const MeasuredData& data, std::span<const double> qz) {
  std::vector<std::pair<double, double>> measured;
  for (std::size_t i = 0; i < data.qz.size(); ++i) measured.emplace_back(data.qz[i], data.sqz[i]);
  std::sort(measured.begin(), measured.end());
  std::vector<double> widths;
  widths.reserve(qz.size());
  for (const double q : qz) {
    const auto above = std::lower_bound(measured.begin(), measured.end(), std::pair{q, -HUGE_VAL});
    double sigma = 0;
    if (above == measured.begin()) {
      sigma = above->second;
    } else if (above == measured.end()) {
      sigma = measured.back().second;
    } else {
      const auto& [q0, s0] = *(above - 1);
      const auto& [q1, s1] = *above;
      sigma = q1 == q0 ? s1 : s0 + (s1 - s0) * (q - q0) / (q1 - q0);
    }
    widths.push_back(2 * sigma);
  }
  return widths;
}

}  // namespace

std::vector<double> PointResolutions(const CalcSettings& settings, const MeasuredData& data,
                                     std::span<const double> qz) {
  if (!DataResolutionInUse(settings, data)) return PointResolutions(settings, qz);
  // At the measured points themselves, each point's own width.
  if (std::equal(qz.begin(), qz.end(), data.qz.begin(), data.qz.end())) {
    std::vector<double> widths;
    for (const double sigma : data.sqz) widths.push_back(2 * sigma);
    return widths;
  }
  return DataWidths(data, qz);
}

std::vector<double> PointResolutions(const CalcSettings& settings, std::span<const double> qz) {
  std::vector<double> widths(qz.size(), 0.0);
  if (settings.cbVSelector) {
    for (std::size_t i = 0; i < qz.size(); ++i) {
      widths[i] = settings.edtConstantRes + settings.edtDistribution / 100 * qz[i];
      if (!std::isfinite(widths[i])) throw ArithmeticFault("overflow in the resolution", qz[i]);
    }
    return widths;
  }
  const std::vector<Region> regions = ReadRegions(settings);
  for (std::size_t i = 0; i < qz.size(); ++i) {
    for (const Region& region : regions) {
      if (region.fromQz <= qz[i]) widths[i] = region.deltaQz;
    }
  }
  return widths;
}

}  // namespace quorrel
