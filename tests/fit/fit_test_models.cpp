#include "fit_test_models.h"

#include <cmath>
#include <numbers>
#include <random>

#include "model/layer_stack_builder.h"
#include "physics/reflectance_batch.h"

namespace quorrel::testing {

namespace {
void SetRow(TextGrid& grid, int row, const Row& values) {
  grid.setCell(row, kColThickness, values.d);
  grid.setCell(row, kColRho, values.rho);
  grid.setCell(row, kColImRho, values.imRho);
  grid.setCell(row, kColSigma, values.sigma);
  grid.setCell(row, kColMagRe, "0");
  grid.setCell(row, kColMagIm, "0");
}
}  // namespace

SampleModel MakeModel(SampleType type, const Row& air, const std::vector<Row>& layers,
                      const Row& last) {
  SampleModel model;
  model.type = type;
  model.edtLayers = static_cast<int>(layers.size());
  model.baseGrid.setRowCount(model.edtLayers + 3);
  SetRow(model.baseGrid, 1, air);
  for (std::size_t k = 0; k < layers.size(); ++k) {
    SetRow(model.baseGrid, static_cast<int>(k) + 2, layers[k]);
  }
  SetRow(model.baseGrid, model.lastRow(), last);
  return model;
}

SampleModel TwoLayerModel() {
  return MakeModel(SampleType::IndependentLayers, {"N/A", "0", "0", "N/A"},
                   {{"60", "4e-6", "1e-9", "4"}, {"120", "6.5e-6", "2e-9", "5"}},
                   {"N/A", "2.07e-6", "0", "3"});
}

std::vector<double> QzGrid(double low, double high, int n) {
  std::vector<double> qz;
  for (int i = 0; i < n; ++i) qz.push_back(low + (high - low) * i / (n - 1));
  return qz;
}

FitData SimulatedData(const SampleModel& model, const std::vector<double>& qz,
                      const std::vector<double>& resolution, double noise, unsigned seed) {
  LayerStack stack;
  BuildLayerStack(model, SpinState::None, stack);
  std::vector<double> r(qz.size());
  PointReflectivityBatch(stack, {!resolution.empty(), false}, {}, resolution, qz, r);
  std::mt19937 random(seed);
  const auto uniform = [&random] { return (random() + 0.5) / 4294967296.0; };
  FitData data;
  data.pointResolution = resolution;
  for (std::size_t i = 0; i < qz.size(); ++i) {
    // Box-Muller, so that the deviates do not depend on the library's normal distribution.
    const double deviate = std::sqrt(-2.0 * std::log(uniform())) *
                           std::cos(2.0 * std::numbers::pi * uniform());
    data.measured().qz.push_back(qz[i]);
    data.measured().r.push_back(r[i] * (1.0 + noise * deviate));
    data.measured().dr.push_back(noise * r[i]);
  }
  data.measured().fileName = "simulated.dat";
  return data;
}

}  // namespace quorrel::testing
