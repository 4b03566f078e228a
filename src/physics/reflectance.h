#pragma once
// The specular reflectivity of a layer stack at one Qz: the recursive Fresnel-coefficient
// formalism with Gaussian roughness, and the nine-point resolution kernel.

#include <vector>

#include "physics/cxmath.h"
#include "physics/layer_stack.h"

namespace quorrel {

//! Storage of one evaluation, kept between calls so that an evaluation allocates nothing.
//! Each thread uses its own.
class ReflectanceWorkspace {
 public:
  //! Room for `layerCount` layers (grows on demand otherwise).
  void reserve(int layerCount);

 private:
  friend double Reflectance(const LayerStack&, double, ReflectanceWorkspace&);
  std::vector<Complex> kz_;
};

//! |r|² of the stack at `qz` (Å⁻¹), Qz measured in the ambient medium. Faults that the complex
//! operations do not absorb raise ArithmeticFault.
double Reflectance(const LayerStack& stack, double qz, ReflectanceWorkspace& workspace);

//! The resolution kernel of a smeared point: the nine samples out to ±b, or the accurate
//! Gaussian average (PointReflectivityBatch only).
enum class SmearingKernel { Standard, Accurate };

//! How a point is evaluated: smeared with its resolution half-width, and with its background.
struct PointOptions {
  bool smear = false;
  bool addBackground = false;
  SmearingKernel kernel = SmearingKernel::Standard;
};

//! The plotted value at one point: Reflectance, averaged over the nine-point Gaussian kernel of
//! half-width `resolution` when smearing, plus `background` when asked.
double PointReflectivity(const LayerStack& stack, PointOptions options, double background,
                         double resolution, double qz, ReflectanceWorkspace& workspace);

}  // namespace quorrel
