#pragma once
// The points of a long series that a graph of a given size can show: a reduction to the
// resolution of the display that looks the same as drawing every point.

#include <cstddef>
#include <span>
#include <vector>

#include "graph/axis_limits.h"

namespace quorrel {

//! How data coordinates fall onto pixels along one axis: `limits` span `pixels` pixels, in
//! decades on a logarithmic axis.
struct PixelGrid {
  AxisLimits limits;
  AxisScale scale = AxisScale::Linear;
  int pixels = 1;

  //! The pixel a value falls into, held to a band of one graph width beyond each end so that
  //! far-off points gather at the edges.
  int pixelOf(double value) const;
};

//! What a reduction must keep besides the extremes of every pixel column.
enum class ReductionKind {
  //! A line: the first and the last point of every column too, so that the line enters and
  //! leaves each column as the full line does.
  Line,
  //! Markers: one point of every occupied cell of a marker's radius, so that no marker
  //! disappears.
  Markers,
};

//! The order of `x` from the least to the greatest, equal values in their given order.
std::vector<std::size_t> AscendingOrder(std::span<const double> x);

//! The indices (ascending) of the points of `x` (ascending), `y` and, if not empty, their
//! errors `dy` that are drawn in place of all of them on `columns` by `rows`. Every pixel
//! column keeps its lowest and highest point and, with errors, the points whose error bars
//! reach lowest and highest; markers keep one point in every occupied square of
//! `markerCell` pixels besides. Series of at most four points per column are kept whole.
std::vector<std::size_t> ReducedIndices(std::span<const double> x, std::span<const double> y,
                                        std::span<const double> dy, const PixelGrid& columns,
                                        const PixelGrid& rows, ReductionKind kind,
                                        int markerCell = 1);

}  // namespace quorrel
