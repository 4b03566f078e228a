#include "graph/point_reduction.h"

#include <algorithm>
#include <cmath>

namespace quorrel {

namespace {

//! A PixelGrid with its ends on the axis' scale worked out once.
class PixelMapping {
 public:
  explicit PixelMapping(const PixelGrid& grid)
      : log_(grid.scale == AxisScale::Logarithmic),
        low_(onScale(grid.limits.min)),
        perUnit_(grid.pixels / (onScale(grid.limits.max) - low_)),
        pixels_(grid.pixels) {}

  int pixelOf(double value) const {
    const double pixel = std::floor((onScale(value) - low_) * perUnit_);
    if (!std::isfinite(pixel) || !(perUnit_ > 0)) return -pixels_;
    return static_cast<int>(std::clamp(pixel, -static_cast<double>(pixels_), 2.0 * pixels_));
  }

 private:
  double onScale(double v) const { return log_ ? std::log10(v) : v; }

  bool log_;
  double low_;
  double perUnit_;
  int pixels_;
};

}  // namespace

int PixelGrid::pixelOf(double value) const { return PixelMapping(*this).pixelOf(value); }

namespace {

//! The points of one pixel column, gathered as the series is walked in ascending x.
class ColumnKeeper {
 public:
  ColumnKeeper(std::span<const double> y, std::span<const double> dy, const PixelGrid& rows,
               ReductionKind kind, int markerCell)
      : y_(y),
        dy_(dy),
        rows_(rows),
        kind_(kind),
        markerCell_(markerCell),
        rowMapping_(rows),
        rowStamp_(static_cast<std::size_t>(3 * rows.pixels / markerCell + 2), -1) {}

  //! A new pixel column, in the square column `cellColumn` of the markers.
  void start(std::size_t first, long long cellColumn) {
    cellColumn_ = cellColumn;
    kept_.clear();
    low_ = high_ = barLow_ = barHigh_ = last_ = first;
    if (kind_ == ReductionKind::Line) kept_.push_back(first);
  }

  void take(std::size_t i) {
    last_ = i;
    if (y_[i] < y_[low_]) low_ = i;
    if (y_[i] > y_[high_]) high_ = i;
    if (!dy_.empty()) {
      if (y_[i] - dy_[i] < y_[barLow_] - dy_[barLow_]) barLow_ = i;
      if (y_[i] + dy_[i] > y_[barHigh_] + dy_[barHigh_]) barHigh_ = i;
    }
    if (kind_ == ReductionKind::Markers) {
      const auto row =
          static_cast<std::size_t>((rowMapping_.pixelOf(y_[i]) + rows_.pixels) / markerCell_);
      if (rowStamp_[row] != cellColumn_) {
        rowStamp_[row] = cellColumn_;
        kept_.push_back(i);
      }
    }
  }

  //! Appends the column's kept points, in ascending order, to `out`.
  void finish(std::vector<std::size_t>& out) {
    kept_.insert(kept_.end(), {low_, high_, barLow_, barHigh_});
    if (kind_ == ReductionKind::Line) kept_.push_back(last_);
    std::sort(kept_.begin(), kept_.end());
    kept_.erase(std::unique(kept_.begin(), kept_.end()), kept_.end());
    out.insert(out.end(), kept_.begin(), kept_.end());
  }

 private:
  std::span<const double> y_;
  std::span<const double> dy_;
  const PixelGrid& rows_;
  ReductionKind kind_;
  int markerCell_;
  PixelMapping rowMapping_;
  //! The square column that last kept a marker in each square row.
  std::vector<long long> rowStamp_;
  long long cellColumn_ = -1;
  std::vector<std::size_t> kept_;
  std::size_t low_ = 0;
  std::size_t high_ = 0;
  std::size_t barLow_ = 0;
  std::size_t barHigh_ = 0;
  std::size_t last_ = 0;
};

}  // namespace

std::vector<std::size_t> AscendingOrder(std::span<const double> x) {
  std::vector<std::size_t> order(x.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  if (!std::is_sorted(x.begin(), x.end())) {
    std::stable_sort(order.begin(), order.end(),
                     [x](std::size_t a, std::size_t b) { return x[a] < x[b]; });
  }
  return order;
}

std::vector<std::size_t> ReducedIndices(std::span<const double> x, std::span<const double> y,
                                        std::span<const double> dy, const PixelGrid& columns,
                                        const PixelGrid& rows, ReductionKind kind, int markerCell) {
  markerCell = std::max(markerCell, 1);
  std::vector<std::size_t> kept;
  const std::size_t count = std::min(x.size(), y.size());
  if (!dy.empty() && dy.size() < count) dy = {};
  if (count <= 4 * static_cast<std::size_t>(std::max(columns.pixels, 1))) {
    kept.resize(count);
    for (std::size_t i = 0; i < count; ++i) kept[i] = i;
    return kept;
  }
  ColumnKeeper column(y, dy, rows, kind, markerCell);
  const PixelMapping columnMapping(columns);
  int current = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const int pixel = columnMapping.pixelOf(x[i]);
    if (i == 0 || pixel != current) {
      if (i > 0) column.finish(kept);
      // Shifted to be positive, so that the division rounds down.
      column.start(i, (pixel + columns.pixels) / markerCell);
      current = pixel;
    }
    column.take(i);
  }
  if (count > 0) column.finish(kept);
  return kept;
}

}  // namespace quorrel
