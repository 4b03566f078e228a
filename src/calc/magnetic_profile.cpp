#include "calc/magnetic_profile.h"

#include "physics/density_profile.h"
#include "physics/layer_stack.h"

namespace quorrel {

MagneticProfile MagneticProfileOf(const SpinFlipStack& stack, const std::vector<double>& depths) {
  const int n = stack.layerCount();
  // The magnetic densities as the densities of a stack of the same layers.
  LayerStack magnetic(n);
  std::vector<double> bottom;  // the depth of the interface below each layer
  double z = 0;
  for (int j = 0; j <= n + 1; ++j) {
    const MagneticMedium& medium = stack.media[static_cast<std::size_t>(j)];
    magnetic.setRho(j, medium.magneticRho);
    if (j > 0) magnetic.setSigma(j, medium.sigma);
    if (j >= 1 && j <= n) {
      magnetic.setThickness(j, medium.thickness);
      z += medium.thickness;
      bottom.push_back(z);
    }
  }
  const DensityProfile profile(magnetic);
  MagneticProfile result;
  for (const double depth : depths) {
    result.magnetic.append(depth, profile.rhoAt(depth));
    // Medium 0 above the top interface, layer j between its two interfaces, the substrate
    // below the last.
    std::size_t medium = 0;
    if (depth >= 0) {
      medium = 1;
      while (medium <= bottom.size() && depth >= bottom[medium - 1]) ++medium;
    }
    result.angle.append(depth, stack.media[medium].thetaM);
  }
  return result;
}

}  // namespace quorrel
