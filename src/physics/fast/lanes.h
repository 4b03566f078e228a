#pragma once
// Lanes of doubles for the vectorised kernel, as wide as the instruction set this translation
// unit is compiled for. Included only by the per-instruction-set kernel sources, each of which
// defines QUORREL_LANE_NAMESPACE first, so that every inline function here exists once per
// instruction set and the linker can never mix them up.

#include <immintrin.h>

#ifndef QUORREL_LANE_NAMESPACE
#error "define QUORREL_LANE_NAMESPACE before including physics/fast/lanes.h"
#endif

namespace quorrel::fast::QUORREL_LANE_NAMESPACE {

#if defined(__AVX512F__)
inline constexpr int kWidth = 8;
#elif defined(__AVX__)
inline constexpr int kWidth = 4;
#else
inline constexpr int kWidth = 2;
#endif

//! kWidth doubles that every arithmetic operator acts on lane by lane.
typedef double Lanes __attribute__((vector_size(8 * kWidth)));
//! kWidth 64-bit integers: the bit patterns and exponents of Lanes.
typedef long long LaneBits __attribute__((vector_size(8 * kWidth)));
//! What a comparison of Lanes gives: all ones where true, zero where false.
using Mask = decltype(Lanes{} < Lanes{});

#if defined(__AVX512F__)
// For the zero-masked forms of the instructions: the plain ones read an undefined register,
// which GCC 12 warns about.
inline constexpr __mmask8 kAllLanes = 0xff;
#endif

[[gnu::always_inline]] inline Lanes Sqrt(Lanes x) {
#if defined(__AVX512F__)
  return _mm512_maskz_sqrt_pd(kAllLanes, x);
#elif defined(__AVX__)
  return _mm256_sqrt_pd(x);
#else
  return _mm_sqrt_pd(x);
#endif
}

//! 1/x within about an ulp. AVX-512 refines its 14-bit estimate by two Newton steps, which is
//! much quicker than a division (the dividers limit the kernel otherwise).
[[gnu::always_inline]] inline Lanes Reciprocal(Lanes x) {
#if defined(__AVX512F__)
  Lanes y = _mm512_maskz_rcp14_pd(kAllLanes, x);
  y = y + y * (1.0 - x * y);
  return y + y * (1.0 - x * y);
#else
  return 1.0 / x;
#endif
}

//! √q and 1/(2√q) within about an ulp, for q > 0; on AVX-512 by two Goldschmidt steps from the
//! 14-bit estimate of 1/√q, instead of a root and a division.
[[gnu::always_inline]] inline void RootAndHalfInverse(Lanes q, Lanes& root, Lanes& halfInverse) {
#if defined(__AVX512F__)
  const Lanes y = _mm512_maskz_rsqrt14_pd(kAllLanes, q);
  Lanes g = q * y;
  Lanes h = 0.5 * y;
  for (int step = 0; step < 2; ++step) {
    const Lanes r = 0.5 - g * h;
    g = g + g * r;
    h = h + h * r;
  }
  // One correction from the residual q − g², formed exactly by the fused multiply-add.
  root = g + h * (q - g * g);
  halfInverse = h;
#else
  root = Sqrt(q);
  halfInverse = 0.5 / root;
#endif
}

[[gnu::always_inline]] inline Lanes Abs(Lanes x) {
  return reinterpret_cast<Lanes>(reinterpret_cast<LaneBits>(x) & 0x7fffffffffffffffLL);
}

//! |magnitude| with the sign of `sign`.
[[gnu::always_inline]] inline Lanes CopySign(Lanes magnitude, Lanes sign) {
  const LaneBits signBit = reinterpret_cast<LaneBits>(sign) & static_cast<long long>(0x8000000000000000ULL);
  return reinterpret_cast<Lanes>((reinterpret_cast<LaneBits>(magnitude) & 0x7fffffffffffffffLL) |
                                 signBit);
}

[[gnu::always_inline]] inline Lanes Max(Lanes a, Lanes b) { return a > b ? a : b; }

[[gnu::always_inline]] inline Lanes Broadcast(double x) { return Lanes{} + x; }

[[gnu::always_inline]] inline bool Any(Mask m) {
#if defined(__AVX512F__)
  return _mm512_test_epi64_mask(reinterpret_cast<__m512i>(m), reinterpret_cast<__m512i>(m)) != 0;
#elif defined(__AVX__)
  return _mm256_movemask_pd(reinterpret_cast<__m256d>(m)) != 0;
#else
  return _mm_movemask_pd(reinterpret_cast<__m128d>(m)) != 0;
#endif
}

//! Complex numbers, one per lane.
struct ComplexLanes {
  Lanes re;
  Lanes im;
};

[[gnu::always_inline]] inline ComplexLanes operator+(ComplexLanes a, ComplexLanes b) { return {a.re + b.re, a.im + b.im}; }
[[gnu::always_inline]] inline ComplexLanes operator-(ComplexLanes a, ComplexLanes b) { return {a.re - b.re, a.im - b.im}; }
[[gnu::always_inline]] inline ComplexLanes operator*(ComplexLanes a, ComplexLanes b) {
  return {a.re * b.re - a.im * b.im, a.re * b.im + b.re * a.im};
}
[[gnu::always_inline]] inline ComplexLanes operator*(ComplexLanes a, Lanes x) { return {x * a.re, x * a.im}; }

[[gnu::always_inline]] inline ComplexLanes Select(Mask m, ComplexLanes a, ComplexLanes b) {
  return {m ? a.re : b.re, m ? a.im : b.im};
}

//! |re| + |im|: within a factor √2 of the modulus, and cheap.
[[gnu::always_inline]] inline Lanes Magnitude1(ComplexLanes a) { return Abs(a.re) + Abs(a.im); }

}  // namespace quorrel::fast::QUORREL_LANE_NAMESPACE
