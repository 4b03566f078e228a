// Cost of a smeared point: the nine-point kernel against the accurate one, on the Ti/Ni
// multilayer of ORSO test5 (22 layers, T = 1000 Å) and on 100 alternating layers (T = 3750 Å),
// 999 points from 0.005 to 0.3 Å⁻¹ with dQ/Q = 5 % FWHM.

#include <benchmark/benchmark.h>

#include <vector>

#include "alternating_stack.h"
#include "physics/reflectance_batch.h"
#include "reference_cases.h"

namespace quorrel {
namespace {

void BM_SmearedPoints(benchmark::State& state) {
  const bool multilayer = state.range(0) == 0;
  const auto kernel = static_cast<SmearingKernel>(state.range(1));
  const LayerStack stack = multilayer ? ReferenceStack("test5") : AlternatingStack(100);
  constexpr int kPoints = 999;
  std::vector<double> qz, resolution;
  for (int i = 0; i < kPoints; ++i) {
    qz.push_back(0.005 + 0.295 * i / (kPoints - 1));
    resolution.push_back(2 * 0.05 / 2.3548 * qz.back());
  }
  std::vector<double> out(qz.size());
  for (auto _ : state) {
    PointReflectivityBatch(stack, {.smear = true, .kernel = kernel}, {}, resolution, qz, out);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetLabel(std::string(multilayer ? "test5 " : "100 layers ") +
                 (kernel == SmearingKernel::Accurate ? "accurate" : "nine-point"));
  state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_SmearedPoints)
    ->ArgsProduct({{0, 1}, {static_cast<int>(SmearingKernel::Standard),
                            static_cast<int>(SmearingKernel::Accurate)}})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorrel
