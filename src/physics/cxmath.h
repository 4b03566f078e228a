#pragma once
// Complex numbers for the reflectance recursion and the transmission, with the program's own
// square-root branch and fault results (they differ from std::complex on purpose).

namespace quorrel {

//! A complex number: two doubles, re then im.
struct Complex {
  double re = 0.0;
  double im = 0.0;
};

Complex CAdd(const Complex& a, const Complex& b);
Complex CSub(const Complex& a, const Complex& b);
Complex CMul(const Complex& a, const Complex& b);
Complex CScale(const Complex& a, double x);
//! a / b; a quotient that faults (b = 0, |b| below about 2e-162, a result beyond the double
//! range) gives (1e37, 1e37). A denominator whose squared modulus overflows raises
//! ArithmeticFault.
Complex CDiv(const Complex& a, const Complex& b);
//! Modulus, scaled so that large parts do not overflow; ArithmeticFault when it cannot be formed.
double CAbs(const Complex& a);
//! Argument in [0, 2π), except −π on the negative real axis and −π/2 on the negative imaginary
//! axis (magnitudes below 1e-298 count as zero).
double CArg(const Complex& a);
//! The root with non-negative imaginary part, for every input.
Complex CSqrt(const Complex& a);
//! e^a; an overflowing e^(a.re) gives (0, 0).
Complex CExp(const Complex& a);

//! Sine and cosine that give 0 from |x| = 2^63 on, as the processor's reduction does.
double BoundedSin(double x);
double BoundedCos(double x);

//! ArithmeticFault naming `operation` unless both parts of `z` are finite.
void RequireFinite(const Complex& z, const char* operation);

}  // namespace quorrel
