#include "calc/profile_run.h"

#include <utility>

#include "common/error.h"
#include "common/number_format.h"
#include "physics/density_profile.h"

namespace quorrel {

ZRange ProfileDepthRange(const SampleModel& model, const CalcSettings& settings) {
  if (!settings.cbUserZ) return AutoZRange(model);
  ZRange range{settings.edtMinZ, settings.edtMaxZ};
  if (range.zmax < range.zmin) std::swap(range.zmin, range.zmax);
  return range;
}

ProfileCurve RunProfileCalculation(const SampleModel& model, const CalcSettings& settings,
                                   const ProfileProgress& progress, BuildNotes* notes) {
  LayerStack stack;
  BuildLayerStack(model, SpinState::None, stack, notes);
  const ZRange range = ProfileDepthRange(model, settings);
  // A count of 0 cannot form a step, and a negative one would walk away from zmax forever.
  if (settings.edtNumPointsZ < 1) {
    throw QuorrelError("the number of profile points must be at least 1, not " +
                       FormatPrintfD(settings.edtNumPointsZ));
  }
  const double zmax = range.zmax;
  const double step = (zmax - range.zmin) / settings.edtNumPointsZ;
  const DensityProfile profile(stack);
  ProfileCurve curve;
  double z = range.zmin;
  while (z <= zmax) {
    curve.append(z, profile.rhoAt(z));
    if (progress) progress("calculating rho(z), z = " + FormatPattern(z, "0.00"));
    // A step too small to move z (0 for a range of one depth) ends the walk.
    const double next = z + step;
    if (!(next > z)) break;
    z = next;
  }
  return curve;
}

}  // namespace quorrel
