#pragma once
// Choosing the fitting region with Ctrl and the mouse buttons in the reflectivity window.

#include <optional>
#include <string>

#include "model/measured_data.h"
#include "shell/status_texts.h"

namespace quorrel {

//! The left button sets the lower bound, the right button the upper one.
enum class RegionBound { Lower, Upper };

//! What the choice does to the region markers (slot 9 of the reflectivity graph) and what it
//! tells the user.
struct RegionMarkerChange {
  bool recreateMarkers = false;         //!< the marker series starts afresh
  std::optional<double> removeMarkersAt;  //!< markers at this Qz go
  std::optional<DataPoint> addMarker;
  std::optional<std::string> message;   //!< the region, after an upper bound was chosen
};

//! The lower bound resets the region to (-1.0, -1.0) first, then takes the nearest point's
//! Qz. The upper bound replaces its old marker, takes the point's Qz and exchanges the bounds
//! when they are the wrong way round; a right click before any left click therefore gives a
//! region from -1.0. Without a nearest point (a click outside the x range) the upper bound
//! changes nothing.
RegionMarkerChange ChooseRegionBound(MeasuredData& data, RegionBound bound,
                                     std::optional<DataPoint> nearest);

}  // namespace quorrel
