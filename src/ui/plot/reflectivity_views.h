#pragma once
// What the reflectivity window can draw besides R itself: R·Qz^4, R over the Fresnel
// reflectivity of the bare substrate, the spin asymmetry of a spin-flip run, and the
// residuals of the measured points.

#include <optional>
#include <string>

#include "calc/curves.h"
#include "model/measured_data.h"
#include "model/sample_model.h"
#include "physics/layer_stack.h"
#include "physics/reflectance.h"
#include "shell/persisted_settings.h"

namespace quorrel {

//! The ambient and the substrate of a model, which the Fresnel reflectivity is taken between.
struct FresnelMedia {
  double ambientRho = 0;
  double ambientImRho = 0;
  double substrateRho = 0;
  double substrateImRho = 0;
};

//! The air row and the bulk row of the model (the core, for a symmetric film); nothing while
//! one of their density cells is not a number.
std::optional<FresnelMedia> FresnelMediaOf(const SampleModel& model);

//! The reflectivity of the bare substrate under the ambient, without roughness.
class FresnelReflectivity {
 public:
  explicit FresnelReflectivity(const FresnelMedia& media);
  //! R_Fresnel at `qz`; NaN where it cannot be computed.
  double at(double qz) const;

 private:
  LayerStack stack_;
  mutable ReflectanceWorkspace workspace_;
};

//! The y-axis title of a view.
std::string ViewAxisTitle(ReflectivityView view);
//! The caption of the view's item in the window's context menu.
std::string ViewCaption(ReflectivityView view);

//! (R++ - R--)/(R++ + R--) at each Qz of the channels; 0 where both vanish.
Curve SpinAsymmetryOf(const SpinChannels& channels);

//! The residuals of the measured points against a curve, and what they are.
struct Residuals {
  Curve points;  //!< x: the measured Qz; y: the residual
  //! True for (R - R_fit)/dR, false for (R - R_fit)/R_fit (a point without an error).
  bool normalised = true;
  //! False when the curve was computed on a Qz grid of its own, not at the measured points.
  bool comparable = true;
};

//! The residual of every measured point within the curve's Qz range: (R - R_fit)/dR when
//! every point has an error above 0, else (R - R_fit)/R_fit for all of them. None when a
//! point in that range has no curve point at its Qz.
Residuals ResidualsOf(const MeasuredData& data, const Curve& curve);

}  // namespace quorrel
