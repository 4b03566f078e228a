#pragma once
// The point of a series nearest to the mouse, by its x value alone.

#include <optional>
#include <span>

#include "graph/axis_limits.h"

namespace quorrel {

//! The index into `xs` (ascending) of the point that a mouse at `x` picks: the first point
//! whose x is not less than the mouse's, unless the mouse differs from it and lies at or
//! below the midpoint to its predecessor, which is then picked. A mouse at or below the
//! first point picks the first, one beyond the last the last. Nothing when `x` lies outside
//! `axis` or there are no points.
std::optional<std::size_t> NearestPointIndex(std::span<const double> xs, double x,
                                             AxisLimits axis);

}  // namespace quorrel
