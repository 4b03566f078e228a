#pragma once
// The four spin channels of a stack with in-plane magnetisation at any angle: the recursion of
// 2x2 reflection matrices between the spin states of neighbouring media, with Gaussian
// roughness on the reflection terms of every interface.

#include <span>
#include <vector>

#include "physics/reflectance_batch.h"
#include "physics/spin_flip_stack.h"

namespace quorrel {

//! The reflectivities of the four channels at `qz` (Å⁻¹), Qz = 2·kz of the incident spin in the
//! ambient. A result beyond the double range raises ArithmeticFault.
SpinReflectances SpinFlipReflectance(const PreparedSpinFlip& stack, double qz);

//! k² of incident spin `spin` (0 up, 1 down along the guide field) whose kz in the ambient is
//! Qz/2 (the ambient's absorption aside when there is a field): the energy of that spin's
//! recursion. ArithmeticFault where it leaves the double range.
double SpinFlipIncidentEnergy(const PreparedSpinFlip& stack, double qz, int spin);

//! out[i] = SpinFlipReflectance at qz[i], by the scalar recursion or the vectorised one (which
//! agrees with it to rounding). ArithmeticFault carries the Qz at which it happened.
//! `threading` lets a caller that spreads its batches over the pool itself keep this one on its
//! own thread.
void SpinFlipReflectanceBatch(const SpinFlipStack& stack, std::span<const double> qz,
                              std::span<SpinReflectances> out, KernelKind kind = KernelKind::Fast,
                              fast::Threading threading = fast::Threading::SharedPool);

}  // namespace quorrel
