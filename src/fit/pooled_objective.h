#pragma once
// The batch objective of a joint fit for the global search and the sampler: every point of a
// batch is one set of the varied entries' values, and the batch is shared out over the compute
// pool with one objective per chunk, each kernel run staying on its chunk's thread.

#include <cstddef>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "fit/batch_objective.h"
#include "fit/joint_objective.h"
#include "fit/parameter_set.h"
#include "model/sample_model.h"
#include "physics/fast/compute_pool.h"

namespace quorrel {

class PooledObjective : public BatchObjective {
 public:
  //! Makes one objective of the fit; called once per chunk of the largest batch so far, so
  //! that no two threads share an objective (nor its links' or profile function's store).
  //! The objectives it makes must keep the kernel on the calling thread (ChiSquareOptions).
  using Factory = std::function<std::unique_ptr<JointObjective>()>;

  //! A point's values go, in order, into entries `varied` (set indices) of a copy of `start`.
  PooledObjective(Factory make, ParameterSet start, std::vector<int> varied,
                  fast::ComputePool& pool = fast::ComputePool::Shared());

  //! The sum of squared residuals of every measurement at each point: +infinity where a
  //! curve cannot be calculated. Each point is evaluated on its own, so the numbers do not
  //! depend on the batch or the thread count.
  void evaluate(std::span<const std::vector<double>> points,
                std::span<double> chiSquares) override;

  //! The set of `values` as the objective evaluates it, links applied.
  ParameterSet setOf(std::span<const double> values) const;
  //! Model curves over a region calculated so far, by every chunk's objective.
  long long curvesCalculated() const;

 private:
  double sumOfSquares(JointObjective& objective, std::span<const double> values) const;

  Factory make_;
  ParameterSet start_;
  std::vector<int> varied_;
  fast::ComputePool& pool_;
  std::vector<std::unique_ptr<JointObjective>> objectives_;
};

//! Objectives of a joint fit of `model`, each with its own copy of the links and its own
//! profile function (`profile`, or the model's own when it is empty) and the kernel on the
//! calling thread.
PooledObjective::Factory JointObjectiveFactory(const ParameterSet& start, const LayerStack& stack,
                                               const std::vector<FitData>& data,
                                               ChiSquareOptions options, const EntryLinks& links,
                                               const SampleModel& model,
                                               const ProfileEvaluator& profile,
                                               const MagneticModel& magnetic = {});

}  // namespace quorrel
