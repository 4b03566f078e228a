#pragma once
// What the writer and the reader of the model parameter file (.par) share.

namespace quorrel {

//! The background line's codes.
enum class BackgroundCode { None = 0, Constant = 1, Linear = 2, Gaussian = 3, Lorentzian = 4 };

//! How many real lines follow each background code (none, y0, y0 m, y0 m A w xc).
constexpr int BackgroundValueCount(BackgroundCode code) {
  switch (code) {
    case BackgroundCode::None:
      return 0;
    case BackgroundCode::Constant:
      return 1;
    case BackgroundCode::Linear:
      return 2;
    case BackgroundCode::Gaussian:
    case BackgroundCode::Lorentzian:
      return 5;
  }
  return 0;
}

//! Patterns of the velocity selector's two formatted lines.
inline constexpr const char* kConstantResPattern = "##.000#";
inline constexpr const char* kDistributionPattern = "##.0##";

//! Lines end with CR LF.
inline constexpr const char* kLineEnd = "\r\n";

}  // namespace quorrel
