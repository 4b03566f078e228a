// Cost of a whole reflectivity run: 999 points with resolution, three spin states and the
// transmission of a 100-layer magnetic model (27 × 999 reflectance evaluations).

#include <benchmark/benchmark.h>

#include "bench_models.h"
#include "calc/reflectivity_run.h"

namespace quorrel {
namespace {

void BM_ReflectivityRun(benchmark::State& state) {
  const auto kernel = static_cast<KernelKind>(state.range(0));
  const SampleModel model = MagneticLayers(100);
  const CalcSettings settings = FullRun();
  const MeasuredData noData;
  for (auto _ : state) {
    ReflectivityResult result = RunReflectivityCalculation(model, settings, noData, kernel);
    benchmark::DoNotOptimize(result.plain.y.data());
  }
  state.SetLabel(kernel == KernelKind::Fast ? "fast kernel" : "reference kernel");
}
BENCHMARK(BM_ReflectivityRun)
    ->Arg(static_cast<int>(KernelKind::Reference))
    ->Arg(static_cast<int>(KernelKind::Fast))
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorrel
