#pragma once
// The curves that the calculation runs hand to the plot windows and the curve files.

#include <optional>
#include <vector>

#include "model/layer_stack_builder.h"

namespace quorrel {

//! An ordered list of (x, y) points of one kind.
struct Curve {
  std::vector<double> x;
  std::vector<double> y;
  std::size_t size() const { return x.size(); }
  void append(double px, double py) {
    x.push_back(px);
    y.push_back(py);
  }
};

//! A reflectivity curve: x is Qz.
using ReflCurve = Curve;

//! Axis ranges of the reflectivity graph, with the initial values of a run.
struct AxisRanges {
  double qMin = 1e37;
  double qMax = 0.0;
  double rMin = 1e37;
  double rMax = 1e-37;

  //! Widens the Q range to `q` and the value range to `r`.
  void takePoint(double q, double r) {
    if (q > qMax) qMax = q;
    if (q < qMin) qMin = q;
    takeValue(r);
  }
  //! Widens the value range to `r`; the lower end only for positive values, which a
  //! logarithmic axis can show.
  void takeValue(double r) {
    if (r > rMax) rMax = r;
    if (r < rMin && r > 0) rMin = r;
  }
};

//! The four channels of a spin-flip calculation, named incident then reflected spin along the
//! guide field.
struct SpinChannels {
  ReflCurve downDown;  // R--
  ReflCurve downUp;    // R-+
  ReflCurve upDown;    // R+-
  ReflCurve upUp;      // R++
};

//! What a reflectivity run produces.
struct ReflectivityResult {
  ReflCurve plain;          // slot 1: spin state 0, always
  ReflCurve spinDown;       // slot 2: spin state -1, with magnetization and no spin flip
  ReflCurve spinUp;         // slot 3: spin state +1, with magnetization and no spin flip
  //! With magnetization and spin flip, the four channels in place of the two spin curves.
  std::optional<SpinChannels> spinFlip;
  ReflCurve transmission;   // slot 4: only the points with a transmission > 0
  AxisRanges ranges;
  std::vector<double> pointResolution;  // b_i of point i (index 0 for the first point)
  std::vector<double> pointBackground;  // the background of point i; empty when it is off
  bool magnetic = false;    // spinDown and spinUp are computed
  bool withTransmission = false;
  BuildNotes notes;         // the status text of a failing user function
};

//! A density profile: x is z in Å, y is rho in Å⁻².
using ProfileCurve = Curve;

}  // namespace quorrel
