// Cost of the fit: one chi-square evaluation, and the whole fit of the recovery test (two
// thicknesses and a roughness against simulated data with noise).

#include <benchmark/benchmark.h>

#include "fit/chi_square.h"
#include "shell/fit_session.h"
#include "fit_test_models.h"
#include "model/layer_stack_builder.h"

namespace quorrel {
namespace {

//! `layers` independent layers alternating between two materials, on silicon.
SampleModel AlternatingModel(int layers) {
  std::vector<testing::Row> rows;
  for (int k = 1; k <= layers; ++k) {
    rows.push_back(k % 2 ? testing::Row{"30", "6.2e-6", "1e-9", "3"}
                         : testing::Row{"45", "1.1e-6", "3e-8", "3"});
  }
  return testing::MakeModel(SampleType::IndependentLayers, {"N/A", "0", "0", "N/A"}, rows,
                            {"N/A", "2.07e-6", "0", "4"});
}

std::vector<double> Resolution(const std::vector<double>& qz) {
  std::vector<double> resolution;
  for (const double q : qz) resolution.push_back(0.0005 + 0.02 * q);
  return resolution;
}

void BM_ChiSquare200PointsWithResolution20Layers(benchmark::State& state) {
  const SampleModel model = AlternatingModel(20);
  const std::vector<double> qz = testing::QzGrid(0.01, 0.25, 200);
  const FitData data = testing::SimulatedData(model, qz, Resolution(qz), 0.01, 1);
  LayerStack stack;
  BuildLayerStack(model, SpinState::None, stack);
  ChiSquareEvaluator evaluator(data.measured(), data.pointResolution, {}, RegionPoints(data.measured()),
                               {Weighting::Statistical, true, false, KernelKind::Fast});
  for (auto _ : state) benchmark::DoNotOptimize(evaluator.evaluate(stack));
}
BENCHMARK(BM_ChiSquare200PointsWithResolution20Layers)->Unit(benchmark::kMicrosecond);

void BM_RecoveryFit(benchmark::State& state) {
  const SampleModel truth = testing::TwoLayerModel();
  const std::vector<double> qz = testing::QzGrid(0.01, 0.25, 200);
  const FitData data = testing::SimulatedData(truth, qz, Resolution(qz), 0.01, 2024);
  SampleModel start = truth;
  start.baseGrid.setCell(2, kColThickness, "66");
  start.baseGrid.setCell(3, kColThickness, "105");
  start.baseGrid.setCell(2, kColSigma, "4.7");
  long long evaluations = 0;
  for (auto _ : state) {
    FitSession session(20240601);
    session.setIncludeResolution(true);
    session.open(start, data);
    for (const int entry : {2, 5, 6}) session.toggleVary(entry);
    const DoItResult result = session.doIt();
    if (!result.outcome || result.outcome->state == FitEndState::Failed) {
      state.SkipWithError("the fit failed");
      break;
    }
    evaluations = result.outcome->evaluations;
  }
  state.counters["evaluations"] = static_cast<double>(evaluations);
}
BENCHMARK(BM_RecoveryFit)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorrel
