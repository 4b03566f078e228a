#include "calc/point_resolution.h"

#include <cmath>
#include <string>

#include "common/error.h"
#include "common/number_conversion.h"
#include "common/number_format.h"

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

}  // namespace

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
