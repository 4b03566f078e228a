// Cost of the vectorised reflectance kernel per layer and Qz point, on one thread and on the
// shared pool, next to the scalar reference in reflectance_bench.cpp.

#include <benchmark/benchmark.h>

#include <vector>

#include "physics/fast/fast_reflectance.h"
#include "physics/fast/instruction_set.h"
#include "physics/reflectance_batch.h"
#include "alternating_stack.h"

namespace quorrel {
namespace {

//! The stack of BM_Reflectance: `n` alternating absorbing layers on silicon.
std::vector<double> Grid(int points) {
  std::vector<double> qz;
  for (int i = 0; i < points; ++i) qz.push_back(0.0005 + 0.0003 * i);
  return qz;
}

void CountLayerPoints(benchmark::State& state, double perIteration) {
  state.counters["ns_per_layer_point"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * perIteration,
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void RunFast(benchmark::State& state, fast::Threading threading) {
  const int n = static_cast<int>(state.range(0));
  const LayerStack stack = AlternatingStack(n);
  const std::vector<double> qz = Grid(1000);
  std::vector<double> out(qz.size());
  for (auto _ : state) {
    fast::FastReflectance(stack, qz, out, {.threading = threading});
    benchmark::DoNotOptimize(out.data());
  }
  CountLayerPoints(state, 1000.0 * n);
}

void BM_FastReflectanceOneThread(benchmark::State& state) {
  RunFast(state, fast::Threading::CallingThread);
}
// The layer counts of the small models that most fits use, and two large ones.
BENCHMARK(BM_FastReflectanceOneThread)
    ->Arg(1)->Arg(2)->Arg(3)->Arg(5)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_FastReflectanceSharedPool(benchmark::State& state) {
  RunFast(state, fast::Threading::SharedPool);
}
BENCHMARK(BM_FastReflectanceSharedPool)
    ->Arg(1)->Arg(2)->Arg(3)->Arg(5)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

//! A batch of a two-layer stack (args: instruction set, points) on the calling thread (third
//! arg 0) or split into two chunks over the shared pool (1): where the split starts to pay is
//! the break-even chunk size of the instruction set.
void BM_SplitBreakEven(benchmark::State& state) {
  const auto set = static_cast<fast::InstructionSet>(state.range(0));
  if (!fast::Supports(set)) {
    state.SkipWithError("not supported by this processor");
    return;
  }
  const int points = static_cast<int>(state.range(1));
  const bool split = state.range(2) != 0;
  const LayerStack stack = AlternatingStack(2);
  const std::vector<double> qz = Grid(points);
  std::vector<double> out(qz.size());
  // Two chunks of half the points each; 3 layer-points per point at two layers.
  const fast::FastOptions options{
      .instructionSet = set,
      .threading = split ? fast::Threading::SharedPool : fast::Threading::CallingThread,
      .chunkWork = split ? static_cast<std::size_t>(points / 2 * 3) : 0};
  for (auto _ : state) {
    fast::FastReflectance(stack, qz, out, options);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetLabel(fast::Name(set));
}
BENCHMARK(BM_SplitBreakEven)
    ->ArgsProduct({{static_cast<int>(fast::InstructionSet::Generic),
                    static_cast<int>(fast::InstructionSet::Avx2),
                    static_cast<int>(fast::InstructionSet::Avx512)},
                   {128, 256, 512, 1024, 2048, 4096, 8192},
                   {0, 1}})
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

//! A magnetic run: 999 smeared points for each of the three spin states of 100 layers.
void BM_SmearedMagneticRun(benchmark::State& state) {
  const auto kind = state.range(0) ? KernelKind::Fast : KernelKind::Reference;
  const std::vector<double> qz = Grid(999);
  const std::vector<double> resolution(qz.size(), 0.0005);
  const std::vector<double> background(qz.size(), 1e-7);
  std::vector<LayerStack> spins;
  for (double split : {-0.4e-6, 0.4e-6, 0.0}) {
    LayerStack stack = AlternatingStack(100);
    for (int j = 1; j <= 100; j += 2) stack.setRho(j, stack.rho(j) + split);
    spins.push_back(stack);
  }
  std::vector<double> out(qz.size());
  for (auto _ : state) {
    for (const LayerStack& stack : spins) {
      PointReflectivityBatch(stack, {.smear = true, .addBackground = true}, background, resolution,
                             qz, out, kind);
      benchmark::DoNotOptimize(out.data());
    }
  }
  CountLayerPoints(state, 3.0 * 9 * 999 * 100);
}
BENCHMARK(BM_SmearedMagneticRun)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

//! 99 periods of 2 layers between a cap and the substrate, as a matrix power or layer by layer.
void BM_Multilayer99x2(benchmark::State& state) {
  const auto kind = state.range(0) ? KernelKind::Fast : KernelKind::Reference;
  LayerStack stack(200);
  stack.setThickness(1, 20);
  stack.setRho(1, 4e-6);
  for (int m = 2; m <= 199; ++m) {
    stack.setThickness(m, m % 2 ? 40.0 : 25.0);
    stack.setRho(m, m % 2 ? 3.7e-6 : 9.4e-6);
    stack.setImRho(m, 1e-9);
    stack.setSigma(m, 3);
  }
  stack.setThickness(200, 15);
  stack.setRho(200, 5e-6);
  stack.setRho(201, 2.073e-6);
  stack.setRepeatedBlock(RepeatedBlock{2, 2, 99});
  const std::vector<double> qz = Grid(1000);
  std::vector<double> out(qz.size());
  for (auto _ : state) {
    ReflectanceBatch(stack, qz, out, kind);
    benchmark::DoNotOptimize(out.data());
  }
  CountLayerPoints(state, 1000.0 * 200);
}
BENCHMARK(BM_Multilayer99x2)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace quorrel
