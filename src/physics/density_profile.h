#pragma once
// The real scattering length density at a depth, every interface smeared by an error
// function of its roughness.

#include <vector>

#include "physics/layer_stack.h"

namespace quorrel {

//! rho(z) of one layer stack, z in Å downwards from the top interface. The interfaces are
//! taken from the stack once, so that evaluating many depths repeats no set-up.
class DensityProfile {
 public:
  //! A roughness of exactly 0 becomes this width, so that the step stays an error function.
  static constexpr double kSharpWidth = 0.001;

  explicit DensityProfile(const LayerStack& stack);

  //! rho(z) = rho_ambient + sum over interfaces of (step / 2)·(2 − ErfcApprox(...)).
  //! ArithmeticFault when the sum leaves the double range.
  double rhoAt(double z) const;

 private:
  struct Interface {
    double position;  // z_i: the summed thicknesses above it
    double step;      // rho below minus rho above
    double width;     // sigma_i
  };

  double ambientRho_;
  std::vector<Interface> interfaces_;
};

}  // namespace quorrel
