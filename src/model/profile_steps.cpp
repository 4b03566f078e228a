#include "model/profile_steps.h"

#include <cmath>
#include <string>

#include "common/error.h"
#include "model/cell_values.h"
#include "model/profile_function.h"

namespace quorrel {

namespace {

// Basic layers after the graded region may not go beyond this layer number.
constexpr int kMaxLayerAfterSteps = 2500;

//! Reads BaseGrid cells for this type, which never reads the magnetic columns.
class BaseRows {
 public:
  explicit BaseRows(const TextGrid& grid) : grid_(grid) {}

  double rho(int row) const { return Number(row, kColRho); }

  //! d, rho, Im(rho) and sigma of `row` into layer `medium`.
  void layer(int row, int medium, LayerStack& stack) const {
    stack.setThickness(medium, std::fabs(Number(row, kColThickness)));
    stack.setRho(medium, rho(row));
    stack.setImRho(medium, Number(row, kColImRho));
    stack.setSigma(medium, Number(row, kColSigma));
  }
  void densities(int row, int medium, LayerStack& stack) const {
    stack.setRho(medium, rho(row));
    stack.setImRho(medium, Number(row, kColImRho));
  }
  double sigma(int row) const { return Number(row, kColSigma); }

 private:
  double Number(int row, int column) const { return CellNumber(grid_, kBaseGridName, row, column); }

  const TextGrid& grid_;
};

//! The editor keeps these counts in range; a model from elsewhere might not.
void RequireCounts(const SampleModel& model) {
  const auto require = [](bool ok, const char* what) {
    if (!ok) throw QuorrelError(std::string("the model's ") + what + " is out of range");
  };
  require(model.edtFunctionLayer >= 0 && model.edtFunctionLayer <= model.edtLayers,
          "function layer");
  require(model.edtNumCalcLayers >= 0, "number of steps");
}

}  // namespace

void ExpandProfileFunction(const SampleModel& model, LayerStack& stack, BuildNotes* notes) {
  RequireCounts(model);
  const int n = model.edtLayers;
  const int functionLayer = model.edtFunctionLayer;
  const int steps = model.edtNumCalcLayers;
  const unsigned stepThickness = model.edtLayerThickness;
  const BaseRows base(model.baseGrid);

  base.densities(1, 0, stack);
  for (int j = 1; j <= functionLayer; ++j) base.layer(j + 1, j, stack);

  if (steps > 0) {
    // The graded region starts from the layer it is appended to (or the ambient) and
    // heads for the row after it (or the substrate).
    const double rhoStart = base.rho(functionLayer + 1);
    const double rhoEnd = base.rho(functionLayer + 2);
    ProfileFunction function(model);
    for (int k = 1; k <= steps; ++k) {
      const int layer = functionLayer + k;
      if (layer > LayerStack::kMaxLayers) throw CapacityExceeded();
      const double z = static_cast<double>(static_cast<long long>(k) * stepThickness);
      stack.setThickness(layer, stepThickness);
      stack.setRho(layer, function.Evaluate(z, rhoStart, rhoEnd, notes));
      stack.setImRho(layer, 0.0);
      stack.setSigma(layer, 0.0);
    }
  }

  for (int j = functionLayer + 1; j <= n; ++j) {
    const int layer = j + steps;
    if (layer > kMaxLayerAfterSteps) throw CapacityExceeded();
    base.layer(j + 1, layer, stack);
  }
  base.densities(n + 2, n + steps + 1, stack);
  stack.setSigma(n + steps + 1, base.sigma(n + 2));
}

}  // namespace quorrel
