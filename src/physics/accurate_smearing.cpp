#include "physics/accurate_smearing.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <numbers>
#include <optional>

namespace quorrel {

namespace {

constexpr int kMinNodes = 24;
constexpr int kMaxNodes = 2048;
constexpr int kMinPanelNodes = 8;
constexpr std::size_t kMaxSplits = 8;
//! Points smeared together: bounds the sample storage of a large data set.
constexpr std::size_t kChunkPoints = 4096;

//! Gauss-Legendre nodes and weights on [-1, 1].
struct LegendreRule {
  std::vector<double> nodes;
  std::vector<double> weights;
};

LegendreRule MakeLegendreRule(int n) {
  LegendreRule rule{std::vector<double>(static_cast<std::size_t>(n)),
                    std::vector<double>(static_cast<std::size_t>(n))};
  for (int i = 0; i < (n + 1) / 2; ++i) {
    // Newton's method on P_n from the usual first guess.
    double t = std::cos(std::numbers::pi * (i + 0.75) / (n + 0.5));
    double derivative = 1;
    for (int iteration = 0; iteration < 100; ++iteration) {
      double previous = 1, current = t;
      for (int k = 2; k <= n; ++k) {
        const double next = ((2 * k - 1) * t * current - (k - 1) * previous) / k;
        previous = current;
        current = next;
      }
      derivative = n * (t * current - previous) / (t * t - 1);
      const double step = current / derivative;
      t -= step;
      if (std::fabs(step) < 1e-16) break;
    }
    const double weight = 2 / ((1 - t * t) * derivative * derivative);
    rule.nodes[static_cast<std::size_t>(i)] = -t;
    rule.nodes[static_cast<std::size_t>(n - 1 - i)] = t;
    rule.weights[static_cast<std::size_t>(i)] = weight;
    rule.weights[static_cast<std::size_t>(n - 1 - i)] = weight;
  }
  return rule;
}

//! The rule of n nodes, built once for the whole program.
const LegendreRule& Legendre(int n) {
  static std::mutex mutex;
  static std::map<int, LegendreRule> rules;
  const std::lock_guard lock(mutex);
  auto found = rules.find(n);
  if (found == rules.end()) found = rules.emplace(n, MakeLegendreRule(n)).first;
  return found->second;  // map nodes stay where they are
}

//! The sum of the layers' thicknesses: the fastest fringe of R(Qz) has the period 2π/T.
double TotalThickness(const LayerStack& stack) {
  double total = 0;
  for (int j = 1; j <= stack.layerCount(); ++j) total += std::fabs(stack.thickness(j));
  return total;
}

//! Spacing of the shared grid in radians of the fastest fringe, and at most (a stack without
//! layers has no fringes), in Å⁻¹.
constexpr double kGridPhaseStep = 0.05;
constexpr double kLargestGridStep = 2.5e-4;
//! The interpolation error, relative to the reflectance, that a grid cell may have; cells
//! above it (kinks at critical edges, deep minima) are evaluated directly.
constexpr double kGridTolerance = 1e-6;

//! The reflectance on a uniform grid, read back by cubic interpolation in the cells where the
//! grid resolves it to kGridTolerance.
class FineGrid {
 public:
  //! `count` points from `low` on, `step` apart, reusing the storage of the previous grid.
  void reset(double low, double step, std::size_t count) {
    low_ = low;
    step_ = step;
    values_.resize(count);
    positions_.resize(count);
    for (std::size_t i = 0; i < count; ++i) positions_[i] = low + step * static_cast<double>(i);
  }

  std::span<double> values() { return values_; }
  std::span<const double> positions() const { return positions_; }

  //! Marks the cells that the grid does not resolve: where the cubic through every other
  //! point misses the point between by more than 16·kGridTolerance (a cubic on the full grid
  //! errs about 16 times less), near the critical edges, and at the ends.
  void judge(std::span<const double> edges) {
    const std::size_t count = values_.size();
    resolved_.assign(count - 1, 1);
    const auto cells = static_cast<long long>(count) - 1;
    const auto spoil = [&](long long first, long long last) {
      for (long long c = std::max(0LL, first); c <= std::min(last, cells - 1); ++c) {
        resolved_[static_cast<std::size_t>(c)] = 0;
      }
    };
    spoil(0, 2);
    spoil(static_cast<long long>(count) - 4, static_cast<long long>(count));
    for (std::size_t m = 3; m + 3 < count; m += 2) {
      const double* r = values_.data() + m;
      const double coarse = (9 * (r[-1] + r[1]) - (r[-3] + r[3])) / 16;
      const double smallest = std::min({r[-3], r[-1], r[0], r[1], r[3]});
      const double error = std::fabs(coarse - r[0]) / 16;
      if (!(error <= kGridTolerance * smallest) || !(smallest > 0)) {
        spoil(static_cast<long long>(m) - 3, static_cast<long long>(m) + 2);
      }
    }
    for (const double edge : edges) {
      // Edges beyond the grid spoil nothing (and may lie beyond the range of a cell number).
      if (!(edge > low_ - step_ && edge < low_ + step_ * static_cast<double>(count))) continue;
      const auto cell = static_cast<long long>(std::floor((edge - low_) / step_));
      spoil(cell - 3, cell + 3);
    }
  }

  //! The interpolated reflectance at `qz`, or nullopt where its cell is not resolved.
  std::optional<double> at(double qz) const {
    const double position = (qz - low_) / step_;
    const auto cell = static_cast<long long>(std::floor(position));
    if (cell < 0 || cell >= static_cast<long long>(resolved_.size()) ||
        !resolved_[static_cast<std::size_t>(cell)]) {
      return std::nullopt;
    }
    // Lagrange's cubic through the points cell − 1 .. cell + 2 (the end cells are never
    // resolved, so all four exist).
    const double t = position - static_cast<double>(cell);
    const double* r = values_.data() + cell - 1;
    const double a = t + 1, b = t, c = t - 1, d = t - 2;
    return -b * c * d / 6 * r[0] + a * c * d / 2 * r[1] - a * b * d / 2 * r[2] +
           a * b * c / 6 * r[3];
  }

 private:
  double low_ = 0;
  double step_ = 1;
  std::vector<double> positions_, values_;
  std::vector<unsigned char> resolved_;
};

//! values[s] = the reflectance at positions[s], from a shared fine grid where that takes
//! fewer evaluations than the positions themselves and the grid resolves the reflectance,
//! directly elsewhere.
void ReflectanceAtSamples(const LayerStack& stack, double thickness,
                          std::span<const double> edges, std::span<const double> positions,
                          std::span<double> values, KernelKind kind, fast::Threading threading) {
  const auto [lowest, highest] = std::minmax_element(positions.begin(), positions.end());
  const double step = thickness > 0 ? std::min(kLargestGridStep, kGridPhaseStep / thickness)
                                    : kLargestGridStep;
  const double span = (*highest - *lowest) / step;
  // A grid of many points is only worth it for samples that are many more.
  if (!(span < static_cast<double>(positions.size()) / 2) || span < 16) {
    ReflectanceBatch(stack, positions, values, kind, threading);
    return;
  }
  // One step beyond either end, so that every sample lies inside a cell.
  const double low = *lowest - step;
  thread_local FineGrid grid;
  grid.reset(low, step, static_cast<std::size_t>(std::ceil(span)) + 3);
  ReflectanceBatch(stack, grid.positions(), grid.values(), kind, threading);
  grid.judge(edges);
  thread_local std::vector<std::size_t> direct;
  thread_local std::vector<double> directPositions, directValues;
  direct.clear();
  directPositions.clear();
  for (std::size_t s = 0; s < positions.size(); ++s) {
    if (const std::optional<double> value = grid.at(positions[s])) {
      values[s] = *value;
    } else {
      direct.push_back(s);
      directPositions.push_back(positions[s]);
    }
  }
  directValues.resize(directPositions.size());
  ReflectanceBatch(stack, directPositions, directValues, kind, threading);
  for (std::size_t k = 0; k < direct.size(); ++k) values[direct[k]] = directValues[k];
}

}  // namespace

std::vector<double> CriticalEdges(const LayerStack& stack) {
  std::vector<double> edges;
  for (int j = 1; j <= stack.layerCount() + 1; ++j) {
    const double contrast = stack.rho(j) - stack.rho(0);
    if (!(contrast > 0) || !std::isfinite(contrast)) continue;
    const double edge = 4 * std::sqrt(std::numbers::pi * contrast);
    edges.push_back(edge);
    edges.push_back(-edge);
  }
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
  return edges;
}

int AccurateNodeCount(double sigma, double thickness) {
  // A fringe cos(T·Qz) turns through reach·σ·T radians on either side of the point; the
  // rule takes about one node per radian beyond what the Gaussian alone needs.
  const double phase = kAccurateReach * std::fabs(sigma) * thickness;
  if (!(phase < kMaxNodes)) return kMaxNodes;
  return std::min(kMaxNodes, kMinNodes + static_cast<int>(std::ceil(phase)));
}

KernelSamples AccurateSamples(double qz, double sigma, double thickness,
                              std::span<const double> edges) {
  const double low = qz - kAccurateReach * sigma;
  const double high = qz + kAccurateReach * sigma;
  // The kinks inside the window, nearest the centre first, where the weight is.
  std::vector<double> splits(std::upper_bound(edges.begin(), edges.end(), low),
                             std::lower_bound(edges.begin(), edges.end(), high));
  std::sort(splits.begin(), splits.end(), [qz](double a, double b) {
    return std::fabs(a - qz) < std::fabs(b - qz);
  });
  if (splits.size() > kMaxSplits) splits.resize(kMaxSplits);
  std::sort(splits.begin(), splits.end());
  splits.insert(splits.begin(), low);
  splits.push_back(high);

  const int total = AccurateNodeCount(sigma, thickness);
  KernelSamples samples;
  double sum = 0;
  for (std::size_t p = 0; p + 1 < splits.size(); ++p) {
    const double half = (splits[p + 1] - splits[p]) / 2;
    const double middle = (splits[p + 1] + splits[p]) / 2;
    const int share = static_cast<int>(std::ceil(total * half / (kAccurateReach * sigma)));
    // Multiples of four, so that few distinct rules are ever built.
    const int nodes = (std::max(kMinPanelNodes, share) + 3) / 4 * 4;
    const LegendreRule& rule = Legendre(nodes);
    for (std::size_t k = 0; k < rule.nodes.size(); ++k) {
      const double at = middle + half * rule.nodes[k];
      const double x = (at - qz) / sigma;
      const double weight = rule.weights[k] * half * std::exp(-x * x / 2);
      samples.qz.push_back(at);
      samples.weights.push_back(weight);
      sum += weight;
    }
  }
  for (double& weight : samples.weights) weight /= sum;
  return samples;
}

void AccurateSmearedBatch(const LayerStack& stack, std::span<const double> resolution,
                          std::span<const double> qz, std::span<double> out, KernelKind kind,
                          fast::Threading threading) {
  const double thickness = TotalThickness(stack);
  const std::vector<double> edges = CriticalEdges(stack);
  // Kept per thread between calls: a fit evaluates the same curve again and again.
  thread_local std::vector<std::size_t> ends;  // one past each point's last sample
  thread_local std::vector<double> positions, weights, values;
  for (std::size_t begin = 0; begin < qz.size(); begin += kChunkPoints) {
    const std::size_t end = std::min(qz.size(), begin + kChunkPoints);
    ends.clear();
    positions.clear();
    weights.clear();
    for (std::size_t i = begin; i < end; ++i) {
      const double sigma = resolution[i] / 2;
      if (sigma == 0) {
        positions.push_back(qz[i]);
        weights.push_back(1.0);
      } else {
        const KernelSamples point = AccurateSamples(qz[i], std::fabs(sigma), thickness, edges);
        positions.insert(positions.end(), point.qz.begin(), point.qz.end());
        weights.insert(weights.end(), point.weights.begin(), point.weights.end());
      }
      ends.push_back(positions.size());
    }
    values.resize(positions.size());
    ReflectanceAtSamples(stack, thickness, edges, positions, values, kind, threading);
    std::size_t sample = 0;
    for (std::size_t i = begin; i < end; ++i) {
      double value = 0;
      for (; sample < ends[i - begin]; ++sample) value += weights[sample] * values[sample];
      out[i] = value;
    }
  }
}

}  // namespace quorrel
