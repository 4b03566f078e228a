// A loaded model built into layer stacks and calculated: the reflectivity with both spin
// states and the transmission, and the density profile. The runs are kept small so that one
// input takes well under a second: 8 Qz points and 20 profile points, and the accurate
// smearing kernel (up to 2048 samples a point) only for stacks of at most 50 layers.

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "calc/profile_run.h"
#include "calc/reflectivity_run.h"
#include "common/decimal_separator.h"
#include "common/error.h"
#include "files/model_file_reader.h"
#include "fuzz_support.h"
#include "model/layer_stack_builder.h"

using namespace quorrel;

namespace {

constexpr int kQzPoints = 8;
constexpr int kProfilePoints = 20;
constexpr int kMaxLayersForAccurate = 50;

void Require(bool condition) {
  if (!condition) std::abort();
}

bool Finite(const Curve& curve) {
  return std::all_of(curve.x.begin(), curve.x.end(), [](double v) { return std::isfinite(v); }) &&
         std::all_of(curve.y.begin(), curve.y.end(), [](double v) { return std::isfinite(v); });
}

//! Runs `calculation`; the only failures allowed are the core's own errors.
template <typename Calculation>
void Calculate(Calculation calculation) {
  try {
    calculation();
  } catch (const QuorrelError&) {
    // A cell that is not a number, a stack too large, an arithmetic fault: all reported.
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const ScopedDecimalSeparator point('.');
  SampleModel model;
  CalcSettings settings;
  EditorState editor;
  ReadModelText(fuzz::AsText(bytes, size), model, settings, editor);

  int layers = -1;
  for (const SpinState spin : {SpinState::Down, SpinState::None, SpinState::Up}) {
    Calculate([&] {
      LayerStack stack;
      BuildLayerStack(model, spin, stack);
      Require(stack.layerCount() >= 0 && stack.layerCount() <= LayerStack::kMaxLayers);
      if (spin == SpinState::None) layers = stack.layerCount();
    });
  }

  settings.edtNumPoints = kQzPoints;
  settings.cbMagnet = true;
  settings.cbTransmission = true;
  settings.edtSampleThickness = 0.5;
  Calculate([&] {
    const ReflectivityResult result = RunReflectivityCalculation(model, settings, MeasuredData());
    Require(result.plain.size() == static_cast<std::size_t>(kQzPoints));
    Require(result.spinDown.size() == result.plain.size() &&
            result.spinUp.size() == result.plain.size());
    Require(Finite(result.plain) && Finite(result.spinDown) && Finite(result.spinUp) &&
            Finite(result.transmission));
  });
  if (layers >= 0 && layers <= kMaxLayersForAccurate) {
    CalcSettings accurate = settings;
    accurate.cbMagnet = false;
    accurate.cbTransmission = false;
    accurate.smearing = SmearingKernel::Accurate;
    Calculate([&] {
      const ReflectivityResult result =
          RunReflectivityCalculation(model, accurate, MeasuredData());
      Require(Finite(result.plain));
    });
  }

  settings.edtNumPointsZ = kProfilePoints;
  for (const bool userRange : {false, true}) {
    settings.cbUserZ = userRange;
    Calculate([&] {
      const ProfileCurve profile = RunProfileCalculation(model, settings);
      Require(Finite(profile) && profile.size() <= static_cast<std::size_t>(kProfilePoints) + 1);
    });
  }
  return 0;
}
