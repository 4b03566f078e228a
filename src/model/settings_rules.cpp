#include "model/settings_rules.h"

#include <algorithm>

#include "model/auto_z_range.h"

namespace quorrel {

void SetUserQRange(CalcSettings& settings, bool on, const MeasuredData& data) {
  settings.cbUserRange = on;
  if (on || !data.loaded() || data.count() == 0) return;
  settings.edtminQ = data.qz.front();
  settings.edtMaxQ = data.qz.back();
  settings.edtNumPoints = CalcSettings::kNumPointsRange.limit(data.count());
}

bool DataResolutionInUse(const CalcSettings& settings, const MeasuredData& data) {
  return settings.resolutionFromData && data.hasResolution();
}

void SetUserZRange(CalcSettings& settings, bool on, const SampleModel& model) {
  settings.cbUserZ = on;
  if (on) return;
  const ZRange range = AutoZRange(model);
  settings.edtMinZ = range.zmin;
  settings.edtMaxZ = range.zmax;
  settings.edtNumPointsZ = CalcSettings::kAutoZPoints;
}

void SetRegionCount(CalcSettings& settings, int count) {
  const int regions = CalcSettings::kRegionsRange.limit(count);
  TextGrid& grid = settings.resltnGrid;
  // Row 1 is never a copy: the row above it holds the headings.
  const int firstAdded = std::max(grid.rowCount(), 2);
  grid.setRowCount(regions + 1);
  for (int row = firstAdded; row <= regions; ++row) {
    for (int column = 0; column < grid.columnCount(); ++column) {
      grid.setCell(row, column, grid.cell(row - 1, column));
    }
  }
  settings.edtRegions = regions;
}

}  // namespace quorrel
