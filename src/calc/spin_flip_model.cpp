#include "calc/spin_flip_model.h"

#include <string>

#include "common/error.h"
#include "model/magnetisation_angles.h"
#include "physics/layer_stack.h"

namespace quorrel {

SpinFlipStack SpinFlipStackOfModel(const SampleModel& model, double aguide, double field,
                                   BuildNotes* notes) {
  LayerStack plain, up;
  BuildLayerStack(model, SpinState::None, plain, notes);
  BuildLayerStack(model, SpinState::Up, up, notes);
  const int n = plain.layerCount();
  const std::vector<double> angles = MagnetisationAngles(model);
  SpinFlipStack stack;
  stack.aguide = aguide;
  stack.field = field;
  if (up.rho(0) != plain.rho(0) || up.imRho(0) != plain.imRho(0)) {
    // Its spin states would not be those of the guide field in which the spins are counted.
    throw QuorrelError("spin flip takes a non-magnetic ambient, but R(mag) or I(mag) of the "
                       "ambient is not 0");
  }
  for (int j = 0; j <= n + 1; ++j) {
    if (j > 0 && up.imRho(j) != plain.imRho(j)) {
      const std::string where =
          j == n + 1 ? "the substrate" : "calculation layer " + std::to_string(j);
      throw QuorrelError("spin flip takes no magnetic absorption, but I(mag) of " + where +
                         " is not 0");
    }
    stack.media.push_back({plain.thickness(j), plain.rho(j), plain.imRho(j),
                           j == 0 ? 0.0 : up.rho(j) - plain.rho(j),
                           angles.at(static_cast<std::size_t>(j)), plain.sigma(j)});
  }
  return stack;
}

}  // namespace quorrel
