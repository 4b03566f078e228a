// Cost of the reference reflectance recursion per layer and Qz point.

#include <benchmark/benchmark.h>

#include "physics/reflectance.h"

namespace quorrel {
namespace {

//! An absorbing stack of `n` alternating layers on silicon.
LayerStack AlternatingStack(int n) {
  LayerStack stack(n);
  for (int j = 1; j <= n; ++j) {
    stack.setThickness(j, j % 2 ? 30.0 : 45.0);
    stack.setRho(j, j % 2 ? 6.2e-6 : 1.1e-6);
    stack.setImRho(j, j % 2 ? 1e-9 : 3e-8);
    stack.setSigma(j, 3.0);
  }
  stack.setRho(n + 1, 2.073e-6);
  stack.setSigma(n + 1, 4.0);
  return stack;
}

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
