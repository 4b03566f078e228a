#include "parser/builtin_profiles.h"

#include <cmath>
#include <string>

#include "common/error.h"
#include "common/number_format.h"
#include "parser/parser_functions.h"

namespace quorrel {

namespace {

constexpr double kTwoPi = 6.283185307179586;

constexpr BuiltInProfile kCatalogue[] = {
    {"decaying", "f(z)=exp(-z/xsi)", "xsi: correlation length", 1, {"xsi", "", "", ""}},
    {"Liu-Fisher decay", "f(z)=sqrt(xsi/z+c)*exp(-z/xsi)",
     "xsi: correlation length, c: tuning parameter", 2, {"xsi", "c", "", ""}},
    {"oscillating", "f(z)=A*cos(2*3.1415926535*z/lam+phi)",
     "A: amplitude, lam: wavelength, phi: phase", 3, {"A", "lam", "phi", ""}},
    {"oscillating decay", "f(z)=exp(-z/xsi)*A*cos(2*3.1415926535*z/lam+phi)",
     "A: amplitude, lam: wavelength, phi: phase, xsi: correlation length", 4,
     {"A", "lam", "phi", "xsi"}},
    {"oscillating decay (sine)", "f(z)=exp(-z/xsi)*A*sin(2*3.1415926535*z/lam+phi)",
     "A: amplitude, lam: wavelength, phi: phase, xsi: correlation length", 4,
     {"A", "lam", "phi", "xsi"}},
};

//! exp(-z / length), checked.
double Decay(double z, double length) { return CheckedResult(std::exp(CheckedDivide(-z, length))); }

//! The phase 2 pi z / lam + phi.
double Phase(double z, double lam, double phi) {
  return CheckedResult(CheckedDivide(kTwoPi * z, lam) + phi);
}

double Decaying(double z, double rhoS, double rhoE, double xsi) {
  return CheckedResult(rhoE + (rhoS - rhoE) * Decay(z, xsi));
}

double LiuFisher(double z, double rhoS, double rhoE, double xsi, double c) {
  if (z == 0.0) return Decaying(z, rhoS, rhoE, xsi);
  const double root = ParserSqrt(CheckedResult(CheckedDivide(xsi, z) + c));
  return CheckedResult(rhoE + (rhoS - rhoE) * Decay(z, xsi) * root);
}

//! The straight line from rhoS at z = 0 to rhoE at z = L, less its start.
double Trend(double z, double rhoS, double rhoE, long long stepsLength) {
  return CheckedDivide(z * (rhoE - rhoS), static_cast<double>(stepsLength));
}

double Oscillating(int index, double z, double rhoS, double rhoE,
                   const std::array<double, 5>& p, long long stepsLength) {
  const double a = p[0], lam = p[1], phi = p[2], xsi = p[3];
  switch (index) {
    case 2:
      return CheckedResult(rhoS + a * (ReducedCos(Phase(z, lam, phi)) - ReducedCos(phi)) +
                           Trend(z, rhoS, rhoE, stepsLength));
    case 3:
      return CheckedResult(rhoS +
                           a * Decay(z, xsi) * (ReducedCos(Phase(z, lam, phi)) - ReducedCos(phi)) +
                           Trend(z, rhoS, rhoE, stepsLength));
    default:
      return CheckedResult(rhoS + a * Decay(z, xsi) * ReducedSin(Phase(z, lam, phi)));
  }
}

}  // namespace

std::span<const BuiltInProfile> BuiltInProfiles() { return kCatalogue; }

double EvaluateBuiltInProfile(int index, double z, double rhoStart, double rhoEnd,
                              const std::array<double, 5>& parameters, long long stepsLength) {
  switch (index) {
    case 0:
    case 1:
      try {
        const double value = index == 0
                                 ? Decaying(z, rhoStart, rhoEnd, parameters[0])
                                 : LiuFisher(z, rhoStart, rhoEnd, parameters[0], parameters[1]);
        return index == 1 && value < rhoStart ? rhoStart : value;
      } catch (const ArithmeticFault&) {
        return rhoStart;
      }
    case 2:
    case 3:
    case 4:
      try {
        return Oscillating(index, z, rhoStart, rhoEnd, parameters, stepsLength);
      } catch (const ArithmeticFault& fault) {
        throw ArithmeticFault(std::string(kCatalogue[index].name) + ": " + fault.fault() +
                              " at z = " + FormatGeneral(z));
      }
    default:
      return rhoStart;
  }
}

}  // namespace quorrel
