// Cost of the spin-flip kernel per layer and Qz point, next to the non-magnetic fast kernel of
// fast_kernel_bench.cpp on the same stack (BM_FastReflectanceOneThread).

#include <benchmark/benchmark.h>

#include <vector>

#include "alternating_stack.h"
#include "physics/fast/spin_flip_fast.h"
#include "physics/reflectance_batch.h"
#include "physics/spin_flip_reflectance.h"

namespace quorrel {
namespace {

std::vector<double> Grid(int points) {
  std::vector<double> qz;
  for (int i = 0; i < points; ++i) qz.push_back(0.0005 + 0.0003 * i);
  return qz;
}

//! AlternatingStack(n) with the dense layers magnetic (1.5e-6 Å⁻²): collinear with an in-plane
//! guide field, or twisted by 40 degrees from layer to layer (every interface turns spins).
SpinFlipStack MagneticAlternatingStack(int n, bool twisted) {
  const LayerStack plain = AlternatingStack(n);
  SpinFlipStack stack;
  for (int j = 0; j <= n + 1; ++j) {
    const bool magnetic = j >= 1 && j <= n && j % 2 == 1;
    stack.media.push_back({plain.thickness(j), plain.rho(j), plain.imRho(j),
                           magnetic ? 1.5e-6 : 0.0, twisted ? 40.0 * j : 90.0, plain.sigma(j)});
  }
  return stack;
}

void CountLayerPoints(benchmark::State& state, double perIteration) {
  state.counters["ns_per_layer_point"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * perIteration,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void RunSpinFlip(benchmark::State& state, bool twisted, fast::Threading threading) {
  const int n = static_cast<int>(state.range(0));
  const PreparedSpinFlip stack(MagneticAlternatingStack(n, twisted));
  const std::vector<double> qz = Grid(1000);
  std::vector<SpinReflectances> out(qz.size());
  for (auto _ : state) {
    fast::FastSpinFlipReflectance(stack, qz, out, {.threading = threading});
    benchmark::DoNotOptimize(out.data());
  }
  CountLayerPoints(state, 1000.0 * n);
}

//! All four channels of a stack whose magnetisation turns at every interface.
void BM_SpinFlipTwistedOneThread(benchmark::State& state) {
  RunSpinFlip(state, true, fast::Threading::CallingThread);
}
BENCHMARK(BM_SpinFlipTwistedOneThread)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

//! The collinear case, where no interface turns spins.
void BM_SpinFlipCollinearOneThread(benchmark::State& state) {
  RunSpinFlip(state, false, fast::Threading::CallingThread);
}
BENCHMARK(BM_SpinFlipCollinearOneThread)
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond);

void BM_SpinFlipTwistedSharedPool(benchmark::State& state) {
  RunSpinFlip(state, true, fast::Threading::SharedPool);
}
BENCHMARK(BM_SpinFlipTwistedSharedPool)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

//! The scalar reference of the twisted stack, for comparison.
void BM_SpinFlipTwistedReference(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const SpinFlipStack stack = MagneticAlternatingStack(n, true);
  const std::vector<double> qz = Grid(1000);
  std::vector<SpinReflectances> out(qz.size());
  for (auto _ : state) {
    SpinFlipReflectanceBatch(stack, qz, out, KernelKind::Reference);
    benchmark::DoNotOptimize(out.data());
  }
  CountLayerPoints(state, 1000.0 * n);
}
BENCHMARK(BM_SpinFlipTwistedReference)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorrel
