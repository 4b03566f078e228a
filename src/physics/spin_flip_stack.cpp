#include "physics/spin_flip_stack.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

namespace quorrel {

namespace {

constexpr double kFourPi = 4 * std::numbers::pi;

//! cos and sin of an angle in degrees, exact at the multiples of 90 degrees, so that a
//! magnetisation along an axis has no stray component of 1e-17 that would make spin flip.
void CosSinDegrees(double degrees, double& cosine, double& sine) {
  const double turn = std::fmod(degrees, 360.0);
  const double quarter = turn / 90.0;
  if (quarter == std::floor(quarter)) {
    const int q = (static_cast<int>(quarter) % 4 + 4) % 4;
    constexpr double kCos[] = {1, 0, -1, 0};
    constexpr double kSin[] = {0, 1, 0, -1};
    cosine = kCos[q];
    sine = kSin[q];
    return;
  }
  const double radians = turn * std::numbers::pi / 180;
  cosine = std::cos(radians);
  sine = std::sin(radians);
}

//! A total magnetic density b in the guide field's frame: z along the field, x the sample's x.
struct FieldVector {
  double x = 0, y = 0, z = 0;
  double magnitude() const { return std::sqrt(x * x + y * y + z * z); }
};

//! The spin states along b as the columns of a unitary matrix: (cos θ/2, e^{iφ} sin θ/2) for
//! spin parallel to b and (−e^{−iφ} sin θ/2, cos θ/2) antiparallel, θ and φ the polar angles
//! of b. No density gives the guide field's own states.
SpinMatrix SpinStates(const FieldVector& b) {
  const double size = b.magnitude();
  if (size == 0) return {Complex{1, 0}, Complex{0, 0}, Complex{0, 0}, Complex{1, 0}};
  const double across = std::sqrt(b.x * b.x + b.y * b.y);
  // |b| ∓ b_z without cancellation: the smaller one from across² = (|b| − b_z)(|b| + b_z).
  const double plus = size + std::fabs(b.z);
  const double minus = across * across / plus;
  const double cosHalf = std::sqrt((b.z >= 0 ? plus : minus) / (2 * size));
  const double sinHalf = std::sqrt((b.z >= 0 ? minus : plus) / (2 * size));
  const Complex phase = across == 0 ? Complex{1, 0} : Complex{b.x / across, b.y / across};
  return {Complex{cosHalf, 0}, Complex{-phase.re * sinHalf, phase.im * sinHalf},
          Complex{phase.re * sinHalf, phase.im * sinHalf}, Complex{cosHalf, 0}};
}

//! a† b.
SpinMatrix AdjointTimes(const SpinMatrix& a, const SpinMatrix& b) {
  const auto conj = [](const Complex& z) { return Complex{z.re, -z.im}; };
  SpinMatrix m;
  for (int r = 0; r < 2; ++r) {
    for (int c = 0; c < 2; ++c) {
      m[static_cast<std::size_t>(2 * r + c)] =
          CAdd(CMul(conj(a[static_cast<std::size_t>(r)]), b[static_cast<std::size_t>(c)]),
               CMul(conj(a[static_cast<std::size_t>(2 + r)]), b[static_cast<std::size_t>(2 + c)]));
    }
  }
  return m;
}

bool IsIdentity(const SpinMatrix& m) {
  return m[0].re == 1 && m[0].im == 0 && m[1].re == 0 && m[1].im == 0 && m[2].re == 0 &&
         m[2].im == 0 && m[3].re == 1 && m[3].im == 0;
}

}  // namespace

double SpinAsymmetry(const SpinReflectances& r) {
  const double sum = r.upUp + r.downDown;
  return sum == 0 ? 0.0 : (r.upUp - r.downDown) / sum;
}

double FieldDensityPerTesla() {
  // m_n·μ_n / (2π·ħ²), CODATA 2018, converted from m⁻² to Å⁻².
  constexpr double kNeutronMass = 1.67492749804e-27;  // kg
  constexpr double kNeutronMoment = 9.6623651e-27;    // J/T, magnitude
  constexpr double kReducedPlanck = 1.054571817e-34;  // J s
  return kNeutronMass * kNeutronMoment / (2 * std::numbers::pi * kReducedPlanck * kReducedPlanck) *
         1e-20;
}

PreparedSpinFlip::PreparedSpinFlip(const SpinFlipStack& stack) {
  if (stack.media.size() < 2)
    throw std::invalid_argument("a stack needs an ambient and a substrate");
  const int n = stack.layerCount();
  layerCount = n;
  const auto media = static_cast<std::size_t>(n) + 2;
  fourPiRhoUp.resize(media);
  fourPiRhoDown.resize(media);
  fourPiImRho.resize(media);
  thickness.resize(media);
  roughnessFactor.resize(media);
  overlap.resize(media - 1);
  aligned.resize(media - 1);

  double guideCos = 0, guideSin = 0;
  CosSinDegrees(stack.aguide, guideCos, guideSin);
  const double fieldDensity = FieldDensityPerTesla() * stack.field;
  std::vector<SpinMatrix> states(media);
  for (std::size_t j = 0; j < media; ++j) {
    const MagneticMedium& m = stack.media[j];
    // The sample's y axis lies at AGUIDE from the field in the plane normal to x; the ambient's
    // own magnetisation is not read, so the incident spin states are the guide field's.
    FieldVector b{0, 0, fieldDensity};
    if (j > 0) {
      double cosM = 0, sinM = 0;
      CosSinDegrees(m.thetaM, cosM, sinM);
      b.x += m.magneticRho * cosM;
      b.y += m.magneticRho * sinM * guideCos;
      b.z += m.magneticRho * sinM * guideSin;
    }
    const double size = b.magnitude();
    fourPiRhoUp[j] = kFourPi * (m.rho + size);
    fourPiRhoDown[j] = kFourPi * (m.rho - size);
    fourPiImRho[j] = kFourPi * m.imRho;
    thickness[j] = (j == 0 || j + 1 == media) ? 0.0 : std::fabs(m.thickness);
    roughnessFactor[j] = j == 0 ? 0.0 : -2 * (m.sigma * m.sigma);
    states[j] = SpinStates(b);
  }
  for (std::size_t j = 0; j + 1 < media; ++j) {
    overlap[j] = AdjointTimes(states[j], states[j + 1]);
    aligned[j] = IsIdentity(overlap[j]);
  }
  zeemanSplit = fieldDensity != 0;
}

}  // namespace quorrel
