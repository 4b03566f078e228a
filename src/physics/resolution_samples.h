#pragma once
// Where the standard resolution kernel samples a point and how it weighs the samples.

#include <array>

namespace quorrel {

//! The standard kernel's nine samples of a Gaussian of standard deviation b/2, in the order
//! they are accumulated: Qz, Qz ∓ b, Qz ∓ 3b/4, Qz ∓ b/2, Qz ∓ b/4.
inline constexpr int kStandardSamples = 9;
inline constexpr std::array<double, kStandardSamples> kStandardWeights = {
    1, 0.135, 0.135, 0.325, 0.325, 0.605, 0.605, 0.88, 0.88};
//! The sum of the weights, by which the weighted sum is divided.
inline constexpr double kStandardWeightSum = 4.89;

//! The positions of the nine samples of the point `qz` with half-width `b`.
inline std::array<double, kStandardSamples> StandardSamplePositions(double qz, double b) {
  return {qz,         qz - b,     qz + b,     qz - 0.75 * b, qz + 0.75 * b,
          qz - b / 2, qz + b / 2, qz - b / 4, qz + b / 4};
}

//! The smeared value from the nine sample values, in the kernel's order of accumulation.
inline double StandardSmearedValue(const double* values) {
  double value = values[0];
  for (int s = 1; s < kStandardSamples; ++s) value += kStandardWeights[s] * values[s];
  return value / kStandardWeightSum;
}

}  // namespace quorrel
