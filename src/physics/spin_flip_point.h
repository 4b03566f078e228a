#pragma once
// The plotted values of the four spin channels at many points: smeared by the resolution and
// with the background, as the non-magnetic point values are.

#include <span>

#include "physics/reflectance.h"
#include "physics/reflectance_batch.h"
#include "physics/spin_flip_stack.h"

namespace quorrel {

//! out[i]: every channel of SpinFlipReflectanceBatch averaged over the resolution kernel of
//! half-width resolution[i] when options.smear is set (the nine standard samples, or the
//! accurate quadrature), plus background[i] when options.addBackground is set. `background` may
//! be empty without the background, `resolution` without smearing.
void SpinFlipPointBatch(const SpinFlipStack& stack, PointOptions options,
                        std::span<const double> background, std::span<const double> resolution,
                        std::span<const double> qz, std::span<SpinReflectances> out,
                        KernelKind kind = KernelKind::Fast,
                        fast::Threading threading = fast::Threading::SharedPool);

}  // namespace quorrel
