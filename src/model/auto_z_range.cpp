#include "model/auto_z_range.h"

#include <cmath>
#include <limits>

#include "common/error.h"
#include "model/cell_values.h"
#include "model/layer_stack_builder.h"

namespace quorrel {

namespace {

//! The integer nearest to x, ties to the even neighbour, independent of the rounding mode.
int RoundHalfEven(double x) {
  const double lower = std::floor(x);
  const double fraction = x - lower;
  double nearest = lower;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(lower, 2.0) != 0.0)) nearest = lower + 1;
  if (!(nearest >= std::numeric_limits<int>::min() && nearest <= std::numeric_limits<int>::max())) {
    throw ArithmeticFault("the automatic depth range is beyond the integer range");
  }
  return static_cast<int>(nearest);
}

//! Column d of rows first..last, with the signs as typed.
double SumOfThicknesses(const TextGrid& grid, const char* gridName, int first, int last) {
  double sum = 0.0;
  for (int row = first; row <= last; ++row) sum += CellNumber(grid, gridName, row, kColThickness);
  return sum;
}

//! T of the sample type: base layers, plus the core, the function steps or the periods.
double TotalThickness(const SampleModel& model) {
  double total = SumOfThicknesses(model.baseGrid, kBaseGridName, 2, model.edtLayers + 1);
  switch (model.type) {
    case SampleType::IndependentLayers:
      break;
    case SampleType::SymmetricFilm:
      total = 2 * total + CellNumber(model.baseGrid, kBaseGridName, model.lastRow(),
                                     kColThickness);
      break;
    case SampleType::ProfileFunction:
      total += static_cast<double>(model.edtNumCalcLayers) * model.edtLayerThickness;
      break;
    case SampleType::MultipleLayers:
      total += model.edtRepts *
               SumOfThicknesses(model.mlGrid, kMLGridName, 1, model.edtStackedLayers);
      break;
  }
  return total;
}

}  // namespace

ZRange AutoZRange(const SampleModel& model) {
  if (model.type == SampleType::IndependentLayers && model.edtLayers == 0) return {};
  const double total = TotalThickness(model);
  if (!(total > 0.0)) return {};
  return {RoundHalfEven(-total / 4), RoundHalfEven(total + total / 4)};
}

}  // namespace quorrel
