#pragma once
// Batch objectives of the tests and benchmarks: a chi-square function of one point, evaluated
// over a batch on the calling thread or in chunks on several threads.

#include <algorithm>
#include <functional>
#include <span>
#include <thread>
#include <vector>

#include "fit/batch_objective.h"

namespace quorrel::testing {

class FunctionBatch : public BatchObjective {
 public:
  using Function = std::function<double(const std::vector<double>&)>;
  //! `threads` = 1 evaluates on the caller's thread; more split each batch in that many chunks.
  explicit FunctionBatch(Function function, int threads = 1)
      : function_(std::move(function)), threads_(threads) {}

  void evaluate(std::span<const std::vector<double>> points,
                std::span<double> chiSquares) override {
    batches_.push_back(points.size());
    if (threads_ == 1) {
      for (std::size_t i = 0; i < points.size(); ++i) chiSquares[i] = function_(points[i]);
      return;
    }
    const std::size_t chunk = (points.size() + threads_ - 1) / threads_;
    std::vector<std::jthread> workers;
    for (std::size_t first = 0; first < points.size(); first += chunk) {
      workers.emplace_back([&, first] {
        for (std::size_t i = first; i < std::min(points.size(), first + chunk); ++i) {
          chiSquares[i] = function_(points[i]);
        }
      });
    }
  }

  //! The size of every batch asked for, in order.
  const std::vector<std::size_t>& batches() const { return batches_; }

 private:
  Function function_;
  std::size_t threads_;
  std::vector<std::size_t> batches_;
};

}  // namespace quorrel::testing
