#pragma once
// The complex operations of the recursion on lanes: exponential, sine and cosine, square root
// and division, each within an ulp or two of the scalar operations. A lane for which the scalar
// operation would absorb or raise a fault is marked in `refer`, so the caller can hand that
// point to the scalar kernel, which then gives exactly its own result.

#include "physics/cxmath.h"
#include "physics/fast/lanes.h"

namespace quorrel::fast::QUORREL_LANE_NAMESPACE {

namespace lane_constants {
// Adding 1.5·2^52 rounds to an integer and leaves it in the low bits of the mantissa.
inline constexpr double kRoundingShift = 6755399441055744.0;
inline constexpr long long kRoundingShiftBits = 0x4338000000000000LL;
inline constexpr double kLog2E = 1.4426950408889634074;
// ln 2 in two parts; the first has trailing zero bits so that k·part is exact.
inline constexpr double kLn2High = 6.93147180369123816490e-01;
inline constexpr double kLn2Low = 1.90821492927058770002e-10;
// Beyond this e^x leaves the double range (the scalar operation then gives (0, 0)).
inline constexpr double kExpOverflow = 709.78;
// Below this e^x rounds to zero.
inline constexpr double kExpUnderflow = -745.2;
inline constexpr double kPiOver4 = 7.85398163397448309616e-01;
inline constexpr double kTwoOverPi = 6.36619772367581382433e-01;
// π/2 in three parts of 33 bits; exact products with quadrant counts below 2^20.
inline constexpr double kPiOver2Part1 = 1.57079632673412561417e+00;
inline constexpr double kPiOver2Part2 = 6.07710050630396597660e-11;
inline constexpr double kPiOver2Part3 = 2.02226624879595063154e-21;
// Points with arguments beyond this go to the scalar kernel, whose reduction is exact.
inline constexpr double kReductionLimit = 8.0e5;
// cos(π/2) as the scalar square root computes it for the negative real axis.
inline constexpr double kCosHalfPi = 6.123233995736766e-17;
}  // namespace lane_constants

//! 2^k for integer lanes k in [-1022, 1023].
[[gnu::always_inline]] inline Lanes PowerOfTwo(LaneBits k) { return reinterpret_cast<Lanes>((k + 1023) << 52); }

//! p·2^k for integral lanes k in [-1075, 1024], which `shifted` also holds as an integer in
//! the low bits of its mantissa (see kRoundingShift).
[[gnu::always_inline]] inline Lanes ScaleByPowerOfTwo(Lanes p, Lanes k, Lanes shifted) {
#if defined(__AVX512F__)
  // One instruction that also forms subnormal results, instead of six.
  (void)shifted;
  return _mm512_maskz_scalef_pd(kAllLanes, p, k);
#else
  // Two factors so that results near both ends of the range (and subnormal ones) are formed.
  (void)k;
  const LaneBits n = reinterpret_cast<LaneBits>(shifted) - lane_constants::kRoundingShiftBits;
  const LaneBits half = n >> 1;
  return p * PowerOfTwo(half) * PowerOfTwo(n - half);
#endif
}

//! e^x, going to 0 below the double range. Lanes above it are marked in `refer`.
[[gnu::always_inline]] inline Lanes Exp(Lanes x, Mask& refer) {
  using namespace lane_constants;
  refer |= x > kExpOverflow;
  const Lanes clamped = x > kExpOverflow ? Broadcast(kExpOverflow)
                                         : (x < kExpUnderflow ? Broadcast(kExpUnderflow) : x);
  const Lanes shifted = clamped * kLog2E + kRoundingShift;
  const Lanes k = shifted - kRoundingShift;
  const Lanes r = (clamped - k * kLn2High) - k * kLn2Low;
  // e^r = 1 + r + r²·E(r), E fitted at Chebyshev nodes on |r| ≤ ln2/2: relative error below
  // 2e-17 before rounding, with two terms fewer than the Taylor series of that accuracy.
  // E's terms in pairs and powers of r (Estrin's scheme): a third of the chain of dependent
  // operations of Horner's, whose latency held up the small models; the last two steps stay
  // Horner's, so that the rounding stays that of 1 + r·(1 + r·E).
  const Lanes r2 = r * r;
  const Lanes r4 = r2 * r2;
  const Lanes e01 = r * 1.6666666666666669e-01 + 0.5000000000000001;
  const Lanes e23 = r * 8.333333333330065e-03 + 4.1666666666624164e-02;
  const Lanes e45 = r * 1.9841269863040545e-04 + 1.3888888917196719e-03;
  const Lanes e67 = r * 2.7557268480310024e-06 + 2.4801521322368692e-05;
  const Lanes e89 = r * 2.5100375832561234e-08 + 2.7620075879983367e-07;
  const Lanes e03 = e23 * r2 + e01;
  const Lanes e47 = e67 * r2 + e45;
  const Lanes e49 = e89 * r4 + e47;
  Lanes p = e49 * r4 + e03;
  p = p * r + 1.0;
  p = p * r + 1.0;
  const Lanes value = ScaleByPowerOfTwo(p, k, shifted);
  return x < kExpUnderflow ? Broadcast(0.0) : value;
}

//! sin r and cos r for |r| ≤ π/4.
[[gnu::always_inline]] inline void ReducedSinCos(Lanes r, Lanes& sine, Lanes& cosine) {
  const Lanes r2 = r * r;
  // sin r = r + r³·S(r²) and cos r = 1 − r²·(1/2 − r²·C(r²)), S and C fitted at Chebyshev
  // nodes on |r| ≤ π/4: relative errors below 3e-17 and 2e-18 before rounding, with two terms
  // fewer each than the Taylor series of that accuracy.
  // S and C by Estrin's scheme, as E in Exp.
  const Lanes r4 = r2 * r2;
  const Lanes s01 = r2 * 8.333333333330948e-03 - 1.0 / 6.0;
  const Lanes s23 = r2 * 2.755731610255244e-06 - 1.9841269836758574e-04;
  const Lanes s45 = r2 * 1.5918129294866608e-10 - 2.5051131845003624e-08;
  const Lanes s = (s45 * r4 + s23) * r4 + s01;
  sine = r + r * r2 * s;
  const Lanes c01 = r2 * -1.3888888888887398e-03 + 4.1666666666666664e-02;
  const Lanes c23 = r2 * -2.7557317271729793e-07 + 2.480158729876569e-05;
  const Lanes c45 = r2 * -1.1382632425521717e-11 + 2.08761462684032e-09;
  Lanes c = (c45 * r4 + c23) * r4 + c01;
  c = 0.5 - r2 * c;
  cosine = 1.0 - r2 * c;
}

//! sin x and cos x. Lanes beyond the reduction range are marked in `refer`: the scalar kernel
//! reduces those exactly, and a call to the scalar sine here would make every vector value that
//! lives across it go through memory on every layer.
[[gnu::always_inline]] inline void SinCos(Lanes x, Lanes& sine, Lanes& cosine, Mask& refer) {
  using namespace lane_constants;
  // Small arguments, such as those of the roughness factors, need no reduction. A NaN fails
  // the comparisons, passes on to the reflectance and is marked there.
  if (!Any(Abs(x) > kPiOver4)) {
    ReducedSinCos(x, sine, cosine);
    return;
  }
  const Mask far = Abs(x) > kReductionLimit;
  refer |= far;
  const Lanes reducible = far ? Broadcast(0.0) : x;
  const Lanes shifted = reducible * kTwoOverPi + kRoundingShift;
  const Lanes k = shifted - kRoundingShift;
  const Lanes r = ((reducible - k * kPiOver2Part1) - k * kPiOver2Part2) - k * kPiOver2Part3;
  Lanes s;
  Lanes c;
  ReducedSinCos(r, s, c);
  const LaneBits quadrant = reinterpret_cast<LaneBits>(shifted) - kRoundingShiftBits;
  const Mask swap = (quadrant & 1) != 0;
  const LaneBits sineSign = (quadrant & 2) << 62;
  const LaneBits cosineSign = ((quadrant + 1) & 2) << 62;
  sine = reinterpret_cast<Lanes>(reinterpret_cast<LaneBits>(swap ? c : s) ^ sineSign);
  cosine = reinterpret_cast<Lanes>(reinterpret_cast<LaneBits>(swap ? s : c) ^ cosineSign);
}

//! e^a for complex lanes; lanes whose e^(a.re) overflows or whose a.im is beyond the
//! reduction range are marked in `refer`.
[[gnu::always_inline]] inline ComplexLanes ComplexExp(ComplexLanes a, Mask& refer) {
  const Lanes magnitude = Exp(a.re, refer);
  Lanes s;
  Lanes c;
  SinCos(a.im, s, c, refer);
  return {magnitude * c, magnitude * s};
}

//! The square root of (x, y) with non-negative imaginary part, by the cancellation-free
//! formula; lanes outside the range where it needs no scaling are marked in `refer`.
[[gnu::always_inline]] inline ComplexLanes RootUpperHalf(Lanes x, Lanes y, Mask& refer) {
  using namespace lane_constants;
  const Lanes ax = Abs(x);
  const Lanes ay = Abs(y);
  const Lanes larger = Max(ax, ay);
  refer |= (larger > 1e140) | ((larger < 1e-140) & (larger != 0.0));
  // NaN compares false everywhere above; pass it on to the scalar kernel too.
  refer |= larger != larger;
  const auto zero = larger == 0.0;
  // The divider's root: three instructions against twelve for the refined estimate, and the
  // divider works beside the multipliers.
  const Lanes modulus = Sqrt(x * x + y * y);
  Lanes u;
  Lanes halfInverse;
  RootAndHalfInverse((modulus + ax) * 0.5, u, halfInverse);
  u = zero ? Broadcast(0.0) : u;
  const Lanes v = zero ? Broadcast(0.0) : ay * halfInverse;
  const Mask leftHalf = x < 0.0;
  // On the negative real axis the scalar root keeps cos(π/2)·√|x| as its real part.
  const Lanes leftReal = y == 0.0 ? u * kCosHalfPi : CopySign(v, y);
  const Lanes rightReal = y >= 0.0 ? u : -u;
  return {leftHalf ? leftReal : rightReal, leftHalf ? u : v};
}

//! The square root of (x, 0) as RootUpperHalf takes it, for the media that do not absorb: the
//! root of |x| on the real axis to the right of zero, on the imaginary one to the left.
[[gnu::always_inline]] inline ComplexLanes RootOfReal(Lanes x, Mask& refer) {
  using namespace lane_constants;
  const Lanes ax = Abs(x);
  refer |= (ax > 1e140) | ((ax < 1e-140) & (ax != 0.0));
  refer |= ax != ax;
  const Lanes u = Sqrt(ax);
  const Mask leftHalf = x < 0.0;
  return {leftHalf ? u * kCosHalfPi : u, leftHalf ? u : Broadcast(0.0)};
}

//! a / b; lanes whose squared modulus of b is near zero or the double range are marked in
//! `refer` (the scalar division absorbs or raises those).
[[gnu::always_inline]] inline ComplexLanes Divide(ComplexLanes a, ComplexLanes b, Mask& refer) {
  const Lanes e = b.re * b.re + b.im * b.im;
  refer |= ~((e >= 1e-290) & (e <= 1e290));
  const Lanes inverse = Reciprocal(e);
  return {(a.re * b.re + a.im * b.im) * inverse, (a.im * b.re - a.re * b.im) * inverse};
}

}  // namespace quorrel::fast::QUORREL_LANE_NAMESPACE
