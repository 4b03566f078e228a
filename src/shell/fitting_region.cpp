#include "shell/fitting_region.h"

#include <utility>

namespace quorrel {

RegionMarkerChange ChooseRegionBound(MeasuredData& data, RegionBound bound,
                                     std::optional<DataPoint> nearest) {
  RegionMarkerChange change;
  if (bound == RegionBound::Lower) {
    change.recreateMarkers = true;
    data.fitRegionLow = -1.0;
    data.fitRegionHigh = -1.0;
    if (nearest) {
      change.addMarker = nearest;
      data.fitRegionLow = nearest->x;
    }
    return change;
  }
  if (!nearest) return change;
  change.removeMarkersAt = data.fitRegionHigh;
  change.addMarker = nearest;
  data.fitRegionHigh = nearest->x;
  if (data.fitRegionLow > data.fitRegionHigh) std::swap(data.fitRegionLow, data.fitRegionHigh);
  change.message = FittingRegionText(data.fitRegionLow, data.fitRegionHigh);
  return change;
}

}  // namespace quorrel
