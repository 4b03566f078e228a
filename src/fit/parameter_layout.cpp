#include "fit/parameter_layout.h"

#include <stdexcept>
#include <string>

namespace quorrel {

int ParameterLayout::count() const {
  switch (type) {
    case SampleType::IndependentLayers:
      return 4 * layers + 5;
    case SampleType::ProfileFunction:
      return 4 * layers + 5 + functionParameters;
    case SampleType::MultipleLayers:
      return 4 * layers + 5 + 4 * stackedLayers;
    case SampleType::SymmetricFilm:
      return 8 * layers + 9;
  }
  return 4 * layers + 5;
}

int ParameterLayout::listedCount() const {
  // The mirror half of a symmetric film follows the listed half by the ties.
  return type == SampleType::SymmetricFilm ? 4 * layers + 6 : count();
}

int ParameterLayout::stackLayerCount() const {
  switch (type) {
    case SampleType::IndependentLayers:
      return layers;
    case SampleType::ProfileFunction:
      return layers + functionSteps;
    case SampleType::MultipleLayers:
      return repetitions * stackedLayers + layers;
    case SampleType::SymmetricFilm:
      return 2 * layers + 1;
  }
  return layers;
}

ParameterRole ParameterLayout::role(int index) const {
  if (index < 1 || index > count()) {
    throw std::out_of_range("no parameter " + std::to_string(index));
  }
  if (index <= 2) return {ParameterMedium::Air, 0, index == 1 ? Quantity::Rho : Quantity::ImRho};
  const int basicEnd = 4 * layers + 2;
  if (index <= basicEnd) {
    return {ParameterMedium::Layer, (index + 1) / 4, static_cast<Quantity>((index + 1) % 4)};
  }
  if (type == SampleType::SymmetricFilm) {
    const int coreEnd = 4 * layers + 6;
    if (index <= coreEnd) {
      return {ParameterMedium::Core, layers + 1, static_cast<Quantity>(index - basicEnd - 1)};
    }
    const int mirrorEnd = 8 * layers + 6;
    if (index <= mirrorEnd) {
      // The mirror of layer k occupies 8L + 7 - 4k .. 8L + 10 - 4k.
      const int offset = index - (4 * layers + 7);
      return {ParameterMedium::Mirror, layers - offset / 4, static_cast<Quantity>(offset % 4)};
    }
    return {ParameterMedium::Substrate, 0, static_cast<Quantity>(index - mirrorEnd)};
  }
  if (index <= basicEnd + 3) {
    return {ParameterMedium::Bulk, 0, static_cast<Quantity>(index - basicEnd)};
  }
  const int extra = index - (basicEnd + 3);
  if (type == SampleType::ProfileFunction) return {ParameterMedium::FunctionParameter, extra};
  return {ParameterMedium::Stacked, (extra + 3) / 4, static_cast<Quantity>((extra - 1) % 4)};
}

ParameterLayout LayoutOf(const SampleModel& model) {
  ParameterLayout layout;
  layout.type = model.type;
  layout.layers = model.edtLayers;
  layout.functionLayer = model.edtFunctionLayer;
  layout.functionSteps = model.edtNumCalcLayers;
  layout.stepThickness = model.edtLayerThickness;
  layout.functionParameters = model.function.numParameters;
  layout.functionParameterNames = model.function.parameterNames;
  layout.insertLayer = model.edtInsertLayer;
  layout.stackedLayers = model.edtStackedLayers;
  layout.repetitions = model.edtRepts;
  layout.identicalSigmas = model.identicalSigmas;
  return layout;
}

}  // namespace quorrel
