#include "physics/accurate_smearing.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <numbers>

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
  std::vector<std::size_t> ends;  // one past each point's last sample
  std::vector<double> positions, weights, values;
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
    ReflectanceBatch(stack, positions, values, kind, threading);
    std::size_t sample = 0;
    for (std::size_t i = begin; i < end; ++i) {
      double value = 0;
      for (; sample < ends[i - begin]; ++sample) value += weights[sample] * values[sample];
      out[i] = value;
    }
  }
}

}  // namespace quorrel
