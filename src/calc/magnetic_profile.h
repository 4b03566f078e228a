#pragma once
// The magnetic side of the density profile for spin flip: the magnetic density over depth,
// smeared like the nuclear one, and the in-plane angle of the magnetisation at each depth.

#include <vector>

#include "calc/curves.h"
#include "physics/spin_flip_stack.h"

namespace quorrel {

struct MagneticProfile {
  ProfileCurve magnetic;  //!< the magnetic density R(mag) over z, Å⁻²
  Curve angle;            //!< thetaM of the medium at each z, in degrees, unsmeared
};

//! Both curves of `stack` at `depths` (z in Å downwards from the top interface, as the
//! profile run gives them). Errors as DensityProfile's.
MagneticProfile MagneticProfileOf(const SpinFlipStack& stack, const std::vector<double>& depths);

}  // namespace quorrel
