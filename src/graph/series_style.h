#pragma once
// How one series of a graph is drawn.

#include <cstdint>

namespace quorrel {

//! A 24-bit colour in blue-green-red byte order: 0xFF0000 is blue, 0x0000FF red.
using BgrColour = std::uint32_t;

inline constexpr BgrColour kBlack = 0x000000;
inline constexpr BgrColour kBlue = 0xFF0000;
inline constexpr BgrColour kRed = 0x0000FF;
inline constexpr BgrColour kGrey = 0x808080;

//! Point shapes: 0 square, 1 circle, 2 triangle, 3 diamond, 4 cross (drawn at any size),
//! 5 star.
inline constexpr int kCrossShape = 4;

//! Line styles: 0 solid, 1 dashed, 2 dotted, 3 dash-dot, 4 dash-dot-dot, 5 none.
struct SeriesStyle {
  bool drawLine = true;
  bool drawPoints = false;
  bool fillPoints = false;
  BgrColour lineColor = kBlack;
  BgrColour pointColor = kBlack;
  int pointShape = 1;
  int lineStyle = 0;
  int pointSize = 4;

  friend bool operator==(const SeriesStyle&, const SeriesStyle&) = default;
};

//! The size a point is drawn at: even and at least 2 (an odd size is raised by one), except
//! for the cross, which keeps its size.
int DrawnPointSize(int size, int shape);

}  // namespace quorrel
