#pragma once
// Draws from the raw bits of std::mt19937_64, whose sequence the standard fixes, so that a seeded
// search or chain is the same with every standard library (the std distributions are not).

#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>

namespace quorrel {

//! Uniform in [0, 1) with 53 random bits.
inline double UniformUnit(std::mt19937_64& random) {
  return static_cast<double>(random() >> 11) * 0x1.0p-53;
}

//! Uniform in [low, high).
inline double UniformIn(std::mt19937_64& random, double low, double high) {
  return low + (high - low) * UniformUnit(random);
}

//! Uniform in 0 .. count - 1 without modulo bias; `count` > 0.
inline std::uint64_t UniformIndex(std::mt19937_64& random, std::uint64_t count) {
  const std::uint64_t limit = UINT64_MAX - UINT64_MAX % count;
  std::uint64_t r = random();
  while (r >= limit) r = random();
  return r % count;
}

//! Standard normal by Box-Muller, one of each pair used, so each draw takes two words.
inline double StandardNormal(std::mt19937_64& random) {
  const double u = 1.0 - UniformUnit(random);  // in (0, 1], so the logarithm is finite
  const double v = UniformUnit(random);
  return std::sqrt(-2.0 * std::log(u)) * std::cos(2.0 * std::numbers::pi * v);
}

}  // namespace quorrel
