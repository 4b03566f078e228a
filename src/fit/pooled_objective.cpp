#include "fit/pooled_objective.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <utility>

#include "fit/profile_evaluator.h"
#include "fit/symmetry_ties.h"

namespace quorrel {

namespace {

// Chunks per computing thread: enough to even out curves of unequal cost.
constexpr std::size_t kChunksPerThread = 4;

}  // namespace

PooledObjective::PooledObjective(Factory make, ParameterSet start, std::vector<int> varied,
                                 fast::ComputePool& pool)
    : make_(std::move(make)), start_(std::move(start)), varied_(std::move(varied)), pool_(pool) {
  if (!make_) throw std::invalid_argument("a pooled objective needs a factory");
}

ParameterSet PooledObjective::setOf(std::span<const double> values) const {
  if (values.size() != varied_.size()) throw std::invalid_argument("a point has the wrong size");
  ParameterSet set = start_;
  for (std::size_t j = 0; j < varied_.size(); ++j) SetTiedValue(set, varied_[j], values[j]);
  return set;
}

double PooledObjective::sumOfSquares(JointObjective& objective,
                                     std::span<const double> values) const {
  const ParameterSet set = setOf(values);
  std::vector<double> residuals(static_cast<std::size_t>(objective.residualCount()));
  if (!objective.residuals({&set, 1}, residuals)) return std::numeric_limits<double>::infinity();
  double sum = 0.0;
  for (const double r : residuals) sum += r * r;
  return sum;
}

void PooledObjective::evaluate(std::span<const std::vector<double>> points,
                               std::span<double> chiSquares) {
  if (points.size() != chiSquares.size()) throw std::invalid_argument("batch sizes differ");
  if (points.empty()) return;
  const std::size_t chunks = std::min(
      points.size(), kChunksPerThread * static_cast<std::size_t>(pool_.threadCount()));
  while (objectives_.size() < chunks) objectives_.push_back(make_());
  const std::size_t perChunk = (points.size() + chunks - 1) / chunks;
  pool_.run(chunks, [&](std::size_t chunk) {
    JointObjective& objective = *objectives_[chunk];
    const std::size_t end = std::min(points.size(), (chunk + 1) * perChunk);
    for (std::size_t i = chunk * perChunk; i < end; ++i) {
      chiSquares[i] = sumOfSquares(objective, points[i]);
    }
  });
}

long long PooledObjective::curvesCalculated() const {
  long long total = 0;
  for (const auto& objective : objectives_) total += objective->curvesCalculated();
  return total;
}

PooledObjective::Factory JointObjectiveFactory(const ParameterSet& start, const LayerStack& stack,
                                               const std::vector<FitData>& data,
                                               ChiSquareOptions options, const EntryLinks& links,
                                               const SampleModel& model,
                                               const ProfileEvaluator& profile,
                                               const MagneticModel& magnetic) {
  options.threading = fast::Threading::CallingThread;
  return [start, stack, data, options, links, model, profile, magnetic] {
    ProfileEvaluator own = profile;
    if (!own && model.type == SampleType::ProfileFunction) own = MakeProfileEvaluator(model);
    return std::make_unique<JointObjective>(start, stack, data, options, links, std::move(own),
                                            magnetic);
  };
}

}  // namespace quorrel
