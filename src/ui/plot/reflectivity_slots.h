#pragma once
// The series slots of the reflectivity graph and how each is drawn.

#include "graph/series_style.h"

namespace quorrel::reflectivity_slot {

inline constexpr int kMeasured = 0;
inline constexpr int kPlain = 1;
inline constexpr int kSpinDown = 2;
inline constexpr int kSpinUp = 3;
inline constexpr int kTransmission = 4;
// The four channels of a spin-flip run, in place of the two spin curves, and their asymmetry.
inline constexpr int kDownDown = 5;
inline constexpr int kDownUp = 6;
inline constexpr int kUpDown = 7;
inline constexpr int kUpUp = 8;
inline constexpr int kRegionMarkers = 9;
inline constexpr int kSpinAsymmetry = 10;

//! The measured points' colour, apart from the black model curve and the blue and red spin
//! curves.
inline constexpr BgrColour kMeasuredColour = 0x3C9600;

//! Measured points: open circles of size 6, with their error bars in the same colour.
inline constexpr SeriesStyle kMeasuredStyle{.drawLine = false,
                                            .drawPoints = true,
                                            .fillPoints = false,
                                            .pointColor = kMeasuredColour,
                                            .pointShape = 1,
                                            .pointSize = 6};

//! A calculated curve: a solid line of `colour`.
constexpr SeriesStyle CurveStyle(BgrColour colour) {
  return SeriesStyle{.drawLine = true, .drawPoints = false, .lineColor = colour, .lineStyle = 0};
}

//! The spin-flip channels: R-- blue and R++ red as the spin curves, the two spin-flip
//! channels purple and orange, R+- dashed, as without a field it lies on R-+.
inline constexpr BgrColour kPurple = 0x993366;
inline constexpr BgrColour kOrange = 0x0080FF;
inline constexpr SeriesStyle kUpDownStyle{.lineColor = kOrange, .lineStyle = 1};

//! The ends of the fitting region: filled black circles of size 8.
inline constexpr SeriesStyle kMarkerStyle{.drawLine = false,
                                          .drawPoints = true,
                                          .fillPoints = true,
                                          .pointColor = kBlack,
                                          .pointShape = 1,
                                          .pointSize = 8};

}  // namespace quorrel::reflectivity_slot
