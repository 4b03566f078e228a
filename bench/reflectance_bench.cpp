// Cost of the reference reflectance recursion per layer and Qz point.

#include <benchmark/benchmark.h>

#include "physics/reflectance.h"
#include "alternating_stack.h"

namespace quorrel {
namespace {

//! An absorbing stack of `n` alternating layers on silicon.
void BM_Reflectance(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  constexpr int kPoints = 1000;
  const LayerStack stack = AlternatingStack(n);
  ReflectanceWorkspace workspace;
  workspace.reserve(n);
  for (auto _ : state) {
    double sum = 0;
    for (int i = 0; i < kPoints; ++i) sum += Reflectance(stack, 0.0005 + 0.0003 * i, workspace);
    benchmark::DoNotOptimize(sum);
  }
  // Reported as time per layer-point: items are layer-points.
  state.SetItemsProcessed(state.iterations() * kPoints * n);
  state.counters["ns_per_layer_point"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * kPoints * n,
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Reflectance)->Arg(2)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorrel
