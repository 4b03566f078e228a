#pragma once
// A layer stack whose magnetisation may point anywhere in the sample plane, with the guide
// field's direction and strength, and the per-medium quantities that the spin-flip kernels
// compute with.

#include <array>
#include <vector>

#include "physics/cxmath.h"

namespace quorrel {

//! One medium: nuclear density, the magnitude and in-plane angle of its magnetic density, and
//! the roughness of the interface on top of it. The ambient's thickness and roughness and the
//! substrate's thickness are not read.
struct MagneticMedium {
  double thickness = 0;    //!< Å
  double rho = 0;          //!< Å⁻²
  double imRho = 0;        //!< Å⁻², absorption
  double magneticRho = 0;  //!< Å⁻², magnitude of the magnetic density
  double thetaM = 90;      //!< degrees from the sample's x axis, in the sample plane
  double sigma = 0;        //!< Å
};

//! Media 0 (ambient) .. N + 1 (substrate), and the guide field: its angle to the surface normal
//! and its strength. AGUIDE = 90 with every thetaM = 90 is the collinear case.
struct SpinFlipStack {
  std::vector<MagneticMedium> media;
  double aguide = 90;  //!< degrees between the surface normal and the guide field
  double field = 0;    //!< tesla, the applied field at the sample

  int layerCount() const { return static_cast<int>(media.size()) - 2; }
};

//! The four reflectivities, named incident spin then reflected spin along the guide field.
struct SpinReflectances {
  double downDown = 0;  //!< R--
  double downUp = 0;    //!< R-+
  double upDown = 0;    //!< R+-
  double upUp = 0;      //!< R++
};

//! (R++ − R--) / (R++ + R--); 0 where both vanish.
double SpinAsymmetry(const SpinReflectances& r);

//! The magnetic density that a field of one tesla adds (Å⁻² per T), from the neutron's mass and
//! magnetic moment.
double FieldDensityPerTesla();

//! 2x2 complex matrix, row-major.
using SpinMatrix = std::array<Complex, 4>;

//! The stack as the kernels read it, one entry per medium 0 .. N + 1: the densities 4π(ρ ± |b|)
//! seen by the spin states along the medium's total magnetic density b (field and
//! magnetisation), and the overlap of each medium's spin states with those of the medium below.
struct PreparedSpinFlip {
  int layerCount = 0;
  std::vector<double> fourPiRhoUp, fourPiRhoDown;  //!< 4π(ρ + |b|), 4π(ρ − |b|)
  std::vector<double> fourPiImRho;                 //!< 4π·ρ''
  std::vector<double> thickness;                   //!< |d|
  std::vector<double> roughnessFactor;             //!< −2σ² of the interface on top
  //! U_j† U_{j+1} for j = 0 .. N, U_j the spin states of medium j in the guide field's frame.
  std::vector<SpinMatrix> overlap;
  //! Whether the overlap of j with j + 1 is the identity (no spin turns at that interface).
  std::vector<unsigned char> aligned;
  //! Whether the ambient's two spin states see different densities: then each incident spin
  //! has its own energy and is computed on its own.
  bool zeemanSplit = false;

  explicit PreparedSpinFlip(const SpinFlipStack& stack);
};

}  // namespace quorrel
