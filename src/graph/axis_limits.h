#pragma once
// The limits of a graph axis: whether they can be drawn and how they are widened.

namespace quorrel {

enum class AxisScale { Linear, Logarithmic };

struct AxisLimits {
  double min = 0;
  double max = 1;
  friend bool operator==(const AxisLimits&, const AxisLimits&) = default;
};

//! Finite, in order, and above 0 on a logarithmic axis. Equal limits are usable: they are
//! drawn widened (DrawableLimits).
bool LimitsUsable(AxisLimits limits, AxisScale scale);

//! Usable limits as they are drawn: equal limits are opened around their value, by a tenth
//! of it (1 for 0) on a linear axis and by a factor of 10 on a logarithmic one.
AxisLimits DrawableLimits(AxisLimits limits, AxisScale scale);

//! Limits that follow the data, opened by a twentieth of their range on each side (in
//! decades on a logarithmic axis) so that no point sits on the frame.
AxisLimits PaddedLimits(AxisLimits data, AxisScale scale);

//! A zoom rectangle's extent, widened about its centre so that its range is at least a
//! thousandth of `saved`. A logarithmic range is measured in decades, so zooming into small
//! values works as well as into large ones.
AxisLimits ZoomedLimits(AxisLimits rectangle, AxisLimits saved, AxisScale scale);

}  // namespace quorrel
