// The two fit methods side by side on the multilayer example with its measured data: four
// entries (d_ML1, d_ML2, sigma_1, rho_bulk) from a start 14 to 17.5 % off, with resolution
// and background. And the cost of the derivatives of those four entries against curves
// calculated one by one.

#include <benchmark/benchmark.h>

#include <sstream>

#include "calc/point_background.h"
#include "cli/fit_inputs.h"
#include "fit/difference_jacobian.h"
#include "shell/fit_session.h"
#include "fit/model_residuals.h"
#include "model/layer_stack_builder.h"
#include "physics/reflectance_batch.h"

namespace quorrel {
namespace {

const std::vector<int> kVaried{6, 7, 10, 14};  // sigma_1, rho_bulk, d_ML1, d_ML2

//! The example read as quorrel-cli fit reads it, with the start values set off.
const cli::FitInputs& Multilayer() {
  static const cli::FitInputs inputs = [] {
    std::ostringstream warnings;
    const cli::Arguments none({}, cli::FitArgumentRules({}));
    cli::FitInputs loaded = cli::LoadFitInputs(
        {QUORREL_EXAMPLES "/multilayer.par", QUORREL_EXAMPLES "/multilayer_measured.dat"}, none,
        warnings);
    SampleModel& model = loaded.model.model;
    model.baseGrid.setCell(2, kColSigma, "4.7");                 // 4, +17.5 %
    model.baseGrid.setCell(model.lastRow(), kColRho, "2.4E-6");  // 2.07E-6, +16 %
    model.mlGrid.setCell(1, kColThickness, "80");                // 70, +14 %
    model.mlGrid.setCell(2, kColThickness, "60");                // 70, -14 %
    return loaded;
  }();
  return inputs;
}

void BM_MultilayerFit(benchmark::State& state) {
  const bool leastSquares = state.range(0) == 1;
  const cli::FitInputs& inputs = Multilayer();
  FitOutcome outcome;
  for (auto _ : state) {
    FitSession session(3);
    session.setMethod(leastSquares ? FitMethod::LevenbergMarquardt : FitMethod::RandomSearch);
    session.setIncludeResolution(true);
    session.setIncludeBackground(true);
    session.open(inputs.model.model, inputs.data);
    for (const int entry : kVaried) session.toggleVary(entry - 1);
    const DoItResult result = session.doIt();
    if (!result.outcome || result.outcome->state == FitEndState::Failed) {
      state.SkipWithError("the fit failed");
      break;
    }
    outcome = *result.outcome;
  }
  state.SetLabel(leastSquares ? "Levenberg-Marquardt" : "random search");
  state.counters["chi_square"] = outcome.chiSquare;
  state.counters["evaluations"] = static_cast<double>(outcome.evaluations);
  state.counters["iterations"] = outcome.iterations;
}
BENCHMARK(BM_MultilayerFit)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

const FitData& Data() { return Multilayer().data.front(); }

//! Every point's background under the example's settings.
const std::vector<double>& Background() {
  static const std::vector<double> background =
      PointBackgrounds(SettingsForMeasurement(Multilayer().model.settings, Data().measurement),
                       Data().measured().qz);
  return background;
}

//! The start of the multilayer fit: its set, stack and evaluator.
struct StartPoint {
  LayerStack stack;
  ParameterSet set;
  ChiSquareEvaluator evaluator;

  StartPoint()
      : evaluator(Data().measured(), Data().pointResolution, Background(),
                  RegionPoints(Data().measured()),
                  {Weighting::Statistical, true, true, KernelKind::Fast}) {
    BuildLayerStack(Multilayer().model.model, SpinState::None, stack);
    set = CollectParameterSet(Multilayer().model.model, stack);
  }
};

//! Curves over the region one after another: one is what every trial of either method costs.
void BM_CurvesOneByOne(benchmark::State& state) {
  StartPoint start;
  ModelResiduals residuals(start.stack, start.evaluator);
  std::vector<double> out(static_cast<std::size_t>(residuals.residualCount()));
  for (auto _ : state) {
    for (int k = 0; k < state.range(0); ++k) {
      benchmark::DoNotOptimize(residuals.residuals({&start.set, 1}, out));
    }
  }
}
BENCHMARK(BM_CurvesOneByOne)->Arg(1)->Arg(4)->Unit(benchmark::kMicrosecond);

//! The derivatives of the four entries: four curves handed to the kernel as one batch.
void BM_OneJacobianOfFourColumns(benchmark::State& state) {
  StartPoint start;
  ModelResiduals residuals(start.stack, start.evaluator);
  std::vector<double> base(static_cast<std::size_t>(residuals.residualCount()));
  residuals.residuals({&start.set, 1}, base);
  std::vector<double> jacobian(base.size() * kVaried.size());
  for (auto _ : state) {
    benchmark::DoNotOptimize(DifferenceJacobian(start.set, kVaried, base, residuals, jacobian));
  }
}
BENCHMARK(BM_OneJacobianOfFourColumns)->Unit(benchmark::kMicrosecond);

//! The kernel alone over stacks as a fit's trials leave them, one batch: what the curves and
//! the derivatives above cost beyond it is writing the trial values and forming residuals.
void BM_KernelOfTrialStacks(benchmark::State& state) {
  StartPoint start;
  ApplyParameterSet(start.set, start.stack);
  const std::vector<LayerStack> stacks(static_cast<std::size_t>(state.range(0)), start.stack);
  std::vector<const LayerStack*> batch;
  for (const LayerStack& stack : stacks) batch.push_back(&stack);
  const FitData& data = Data();
  std::vector<std::vector<double>> values(stacks.size(),
                                          std::vector<double>(data.measured().count()));
  const std::vector<std::span<double>> out(values.begin(), values.end());
  for (auto _ : state) {
    PointReflectivityBatch(batch, {true, true}, Background(), data.pointResolution,
                           data.measured().qz, out);
  }
}
BENCHMARK(BM_KernelOfTrialStacks)->Arg(1)->Arg(4)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quorrel
