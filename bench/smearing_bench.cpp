// Cost of a smeared point: the nine-point kernel against the accurate one, on the Ti/Ni
// multilayer of ORSO test5 (22 layers, T = 1000 Å) and on 100 alternating layers (T = 3750 Å),
// 999 points from 0.005 to 0.3 Å⁻¹ with dQ/Q = 5 % FWHM; and the curve that a fit of a small
// model evaluates over and over.

#include <benchmark/benchmark.h>

#include <vector>

#include "alternating_stack.h"
#include "physics/fast/fast_reflectance.h"
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

//! `points` measured points from 0.005 to 0.3 Å⁻¹ with their half-widths b = 2σ, dQ/Q = 5 % FWHM.
struct MeasuredPoints {
  std::vector<double> qz, resolution;
};

MeasuredPoints PointsWithResolution(int points) {
  MeasuredPoints measured;
  for (int i = 0; i < points; ++i) {
    measured.qz.push_back(0.005 + 0.295 * i / (points - 1));
    measured.resolution.push_back(2 * 0.05 / 2.3548 * measured.qz.back());
  }
  return measured;
}

constexpr int kFitPoints = 408;

//! One smeared curve of test0's four media at 408 points, nine-point kernel (3672
//! reflectances): on the calling thread (0) or split over the shared pool when that pays (1).
void BM_SmearedCurve408(benchmark::State& state) {
  const auto threading = state.range(0) ? fast::Threading::SharedPool
                                        : fast::Threading::CallingThread;
  const LayerStack stack = ReferenceStack("test0");
  const MeasuredPoints measured = PointsWithResolution(kFitPoints);
  std::vector<double> out(measured.qz.size());
  for (auto _ : state) {
    PointReflectivityBatch(stack, {.smear = true}, {}, measured.resolution, measured.qz, out,
                           KernelKind::Fast, threading);
    benchmark::DoNotOptimize(out.data());
  }
  // Items are curves: items_per_second is curves per second, of all threads together.
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SmearedCurve408)->Arg(0)->Arg(1)->UseRealTime()->Unit(benchmark::kMicrosecond);
// A sampler with one thread per core, each asking for its own curves.
BENCHMARK(BM_SmearedCurve408)->Arg(0)->Threads(2)->UseRealTime()->Unit(benchmark::kMicrosecond);

//! Eight trial stacks of the same curve in one batch, as a Jacobian or a sampler's population
//! asks for them.
void BM_SmearedCurves408Together(benchmark::State& state) {
  constexpr int kStacks = 8;
  std::vector<LayerStack> stacks;
  for (int k = 0; k < kStacks; ++k) {
    stacks.push_back(ReferenceStack("test0"));
    stacks.back().setThickness(1, stacks.back().thickness(1) * (1 + 0.01 * k));
  }
  std::vector<const LayerStack*> pointers;
  for (const LayerStack& stack : stacks) pointers.push_back(&stack);
  const MeasuredPoints measured = PointsWithResolution(kFitPoints);
  std::vector<std::vector<double>> values(kStacks, std::vector<double>(measured.qz.size()));
  const std::vector<std::span<double>> out(values.begin(), values.end());
  for (auto _ : state) {
    PointReflectivityBatch(pointers, {.smear = true}, {}, measured.resolution, measured.qz, out);
    benchmark::DoNotOptimize(values.data());
  }
  state.SetItemsProcessed(state.iterations() * kStacks);
}
BENCHMARK(BM_SmearedCurves408Together)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quorrel
