#pragma once
// The absorption of the beam on its refracted path through the layers and a substrate of
// finite thickness, with the ambient medium taken as vacuum.

#include "physics/layer_stack.h"

namespace quorrel {

//! The geometric path length L in Å of the refracted beam through layers 1..layerCount and a
//! substrate of `thicknessMm` millimetres, at `qz` for the wavelength `wavelength` in Å.
//! A wavelength of 0 or a path beyond the double range raises ArithmeticFault at `qz`.
double TransmissionPathLength(int layerCount, const LayerStack& stack, double thicknessMm,
                              double wavelength, double qz);

//! The absorption factor exp(-2·λ·Im(rho_substrate)·L), or 0 when the path length is not
//! positive. The substrate's attenuation applies to the whole path, layers included.
double Transmission(int layerCount, const LayerStack& stack, double thicknessMm,
                    double wavelength, double qz);

}  // namespace quorrel
