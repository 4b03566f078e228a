#pragma once
// What the global search and the posterior sampler minimise or sample: chi-square of many points
// at once, so that the caller can spread a whole batch over the shared pool while the algorithms
// stay serial and reproducible from their seed.

#include <cmath>
#include <limits>
#include <span>
#include <vector>

namespace quorrel {

//! The un-normalised chi-square (the sum of squared weighted residuals, -2 log-likelihood up to
//! a constant) of points of the varied values, each in the same fixed order.
class BatchObjective {
 public:
  virtual ~BatchObjective() = default;

  //! Writes chiSquares[i] for points[i] (both of the same length); +infinity where a point
  //! cannot be evaluated. The result of a point must not depend on the other points of the
  //! batch, nor on how the batch is shared between threads.
  virtual void evaluate(std::span<const std::vector<double>> points,
                        std::span<double> chiSquares) = 0;
};

//! objective.evaluate, with a NaN that slipped through read as "cannot be evaluated", so that
//! the algorithms compare numbers only.
inline void EvaluateBatch(BatchObjective& objective, std::span<const std::vector<double>> points,
                          std::span<double> chiSquares) {
  objective.evaluate(points, chiSquares);
  for (double& c : chiSquares) {
    if (std::isnan(c)) c = std::numeric_limits<double>::infinity();
  }
}

}  // namespace quorrel
