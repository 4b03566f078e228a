#pragma once
// The options of the spin-flip calculation: plain values, kept with the work rather than in
// the model file, whose format holds only the collinear magnetisation.

namespace quorrel {

struct SpinFlipSettings {
  //! "spin flip": with "include magnetization" on, the window computes the four spin channels
  //! from each row's magnetisation angle instead of the two collinear spin curves.
  bool enabled = false;
  double aguide = 90;  //!< degrees between the surface normal and the guide field
  double field = 0;    //!< tesla, the applied field at the sample

  friend bool operator==(const SpinFlipSettings&, const SpinFlipSettings&) = default;
};

}  // namespace quorrel
