#include "model/layer_stack_builder.h"

#include <cmath>
#include <string>

#include "common/error.h"
#include "model/cell_values.h"
#include "model/profile_steps.h"

namespace quorrel {

namespace {

//! Reads one grid row into one medium of the stack, the magnetic columns folded in.
class RowReader {
 public:
  RowReader(const TextGrid& grid, const char* gridName, SpinState spin)
      : grid_(grid), gridName_(gridName), spin_(static_cast<int>(spin)) {}

  double thickness(int row) const {
    return std::fabs(CellNumber(grid_, gridName_, row, kColThickness));
  }
  double sigma(int row) const { return CellNumber(grid_, gridName_, row, kColSigma); }
  // A non-magnetic build does not read the magnetic columns, so they need not be numbers.
  double rho(int row) const { return folded(row, kColRho, kColMagRe); }
  double imRho(int row) const { return folded(row, kColImRho, kColMagIm); }

  //! d, rho, Im(rho) and sigma of `row` into layer `medium`.
  void layer(int row, int medium, LayerStack& stack) const {
    stack.setThickness(medium, thickness(row));
    stack.setRho(medium, rho(row));
    stack.setImRho(medium, imRho(row));
    stack.setSigma(medium, sigma(row));
  }
  //! rho and Im(rho) of `row` into `medium` (the ambient, or the substrate with its sigma).
  void densities(int row, int medium, LayerStack& stack) const {
    stack.setRho(medium, rho(row));
    stack.setImRho(medium, imRho(row));
  }

 private:
  double folded(int row, int column, int magneticColumn) const {
    const double value = CellNumber(grid_, gridName_, row, column);
    if (spin_ == 0) return value;
    return value + spin_ * CellNumber(grid_, gridName_, row, magneticColumn);
  }

  const TextGrid& grid_;
  const char* gridName_;
  int spin_;
};

void RequireCapacity(long long layerCount) {
  if (layerCount > LayerStack::kMaxLayers) throw CapacityExceeded();
}

//! The editor keeps these counts in range; a model from elsewhere might not.
void RequireCounts(const SampleModel& model) {
  const auto require = [](bool ok, const char* what) {
    if (!ok) throw QuorrelError(std::string("the model's ") + what + " is out of range");
  };
  require(model.edtLayers >= 0, "number of layers");
  if (model.type == SampleType::MultipleLayers) {
    require(model.edtInsertLayer >= 0 && model.edtInsertLayer <= model.edtLayers,
            "multilayer position");
    require(model.edtStackedLayers >= 1, "number of layers in the stack");
    require(model.edtRepts >= 1, "number of repetitions");
  }
}

void BuildIndependentLayers(const SampleModel& model, const RowReader& base, LayerStack& stack) {
  const int n = model.edtLayers;
  base.densities(1, 0, stack);
  for (int j = 1; j <= n; ++j) base.layer(j + 1, j, stack);
  base.densities(n + 2, n + 1, stack);
  stack.setSigma(n + 1, base.sigma(n + 2));
}

void BuildMultipleLayers(const SampleModel& model, const RowReader& base, const RowReader& period,
                         LayerStack& stack) {
  const int n = model.edtLayers;
  const int insert = model.edtInsertLayer;
  const int k = model.edtStackedLayers;
  const int repeats = model.edtRepts;
  const int periodLayers = repeats * k;
  base.densities(1, 0, stack);
  for (int j = 1; j <= insert; ++j) base.layer(j + 1, j, stack);
  for (int p = 1; p <= repeats; ++p) {
    for (int q = 1; q <= k; ++q) period.layer(q, insert + (p - 1) * k + q, stack);
  }
  for (int j = insert + 1; j <= n; ++j) base.layer(j + 1, periodLayers + j, stack);
  base.densities(n + 2, periodLayers + n + 1, stack);
  stack.setSigma(periodLayers + n + 1, base.sigma(n + 2));
  // Lets the kernel raise one period to the power of the repetitions.
  stack.setRepeatedBlock(RepeatedBlock{insert + 1, k, repeats});
}

void BuildSymmetricFilm(const SampleModel& model, const RowReader& base, LayerStack& stack) {
  const int n = model.edtLayers;
  base.densities(1, 0, stack);
  for (int j = 1; j <= n; ++j) {
    base.layer(j + 1, j, stack);
    // The mirror layer's roughness is that of the interface below the original, towards the core.
    const int mirror = 2 * n + 2 - j;
    stack.setThickness(mirror, stack.thickness(j));
    stack.setRho(mirror, stack.rho(j));
    stack.setImRho(mirror, stack.imRho(j));
    stack.setSigma(mirror, base.sigma(j + 2));
  }
  base.layer(n + 2, n + 1, stack);
  // The film is embedded in the ambient medium on both sides.
  base.densities(1, 2 * n + 2, stack);
  stack.setSigma(2 * n + 2, base.sigma(2));
}

}  // namespace

void BuildLayerStack(const SampleModel& model, SpinState spin, LayerStack& stack,
                     BuildNotes* notes) {
  RequireCounts(model);
  const long long n = model.edtLayers;
  switch (model.type) {
    case SampleType::IndependentLayers:
      RequireCapacity(n);
      break;
    case SampleType::ProfileFunction:
      RequireCapacity(n + model.edtNumCalcLayers);
      break;
    case SampleType::MultipleLayers:
      RequireCapacity(static_cast<long long>(model.edtRepts) * model.edtStackedLayers + n);
      break;
    case SampleType::SymmetricFilm:
      RequireCapacity(2 * n + 1);
      break;
  }
  stack.reset(CalcLayerCount(model));
  const RowReader base(model.baseGrid, kBaseGridName, spin);
  switch (model.type) {
    case SampleType::IndependentLayers:
      BuildIndependentLayers(model, base, stack);
      break;
    case SampleType::ProfileFunction:
      ExpandProfileFunction(model, stack, notes);
      break;
    case SampleType::MultipleLayers:
      BuildMultipleLayers(model, base, RowReader(model.mlGrid, kMLGridName, spin), stack);
      break;
    case SampleType::SymmetricFilm:
      BuildSymmetricFilm(model, base, stack);
      break;
  }
}

}  // namespace quorrel
