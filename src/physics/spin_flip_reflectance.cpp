#include "physics/spin_flip_reflectance.h"

#include <cmath>
#include <stdexcept>

#include "common/error.h"
#include "physics/fast/spin_flip_fast.h"

namespace quorrel {

namespace {

//! The wave numbers of the two spin states (up, down along the medium's b) of one medium.
struct Modes {
  Complex up, down;
  const Complex& operator[](int s) const { return s == 0 ? up : down; }
};

Complex At(const SpinMatrix& m, int row, int column) {
  return m[static_cast<std::size_t>(2 * row + column)];
}

SpinMatrix Times(const SpinMatrix& a, const SpinMatrix& b) {
  SpinMatrix m;
  for (int r = 0; r < 2; ++r) {
    for (int c = 0; c < 2; ++c) {
      m[static_cast<std::size_t>(2 * r + c)] =
          CAdd(CMul(At(a, r, 0), At(b, 0, c)), CMul(At(a, r, 1), At(b, 1, c)));
    }
  }
  return m;
}

SpinMatrix Plus(const SpinMatrix& a, const SpinMatrix& b) {
  return {CAdd(a[0], b[0]), CAdd(a[1], b[1]), CAdd(a[2], b[2]), CAdd(a[3], b[3])};
}

//! n · d⁻¹, both scaled first by the size of d so that the determinant stays in range.
SpinMatrix RightDivide(SpinMatrix n, SpinMatrix d) {
  double size = 0;
  for (const Complex& z : d) size = std::fmax(size, std::fabs(z.re) + std::fabs(z.im));
  if (!(size > 0) || !std::isfinite(size)) throw ArithmeticFault("singular interface matrix");
  const double scale = 1 / size;
  for (Complex& z : n) z = CScale(z, scale);
  for (Complex& z : d) z = CScale(z, scale);
  const Complex det = CSub(CMul(d[0], d[3]), CMul(d[1], d[2]));
  const SpinMatrix adjugate{d[3], CScale(d[1], -1), CScale(d[2], -1), d[0]};
  SpinMatrix x = Times(n, adjugate);
  for (Complex& z : x) z = CDiv(z, det);
  return x;
}

//! kz of one spin state; an exact zero (a state at its critical edge) is moved off the real
//! axis by a vanishing absorption, where the recursion has its limit.
Complex WaveNumber(double kSquared, double fourPiRho, double fourPiImRho) {
  Complex k = CSqrt({kSquared - fourPiRho, fourPiImRho});
  RequireFinite(k, "square root");
  if (k.re == 0 && k.im == 0) k.im = 1e-100;
  return k;
}

//! The reflection matrix in the ambient for the energy kSquared, X[s][t] the amplitude of
//! reflected state s for incident state t (0 up, 1 down).
SpinMatrix ReflectionMatrix(const PreparedSpinFlip& p, double kSquared) {
  const int n = p.layerCount;
  const auto modes = [&](int j) {
    const auto at = static_cast<std::size_t>(j);
    return Modes{WaveNumber(kSquared, p.fourPiRhoUp[at], p.fourPiImRho[at]),
                 WaveNumber(kSquared, p.fourPiRhoDown[at], p.fourPiImRho[at])};
  };
  SpinMatrix x{};  // nothing returns from below the substrate
  Modes lower = modes(n + 1);
  for (int j = n; j >= 0; --j) {
    const Modes upper = modes(j);
    const auto at = static_cast<std::size_t>(j);
    const SpinMatrix& c = p.overlap[at];
    const double factor = p.roughnessFactor[at + 1];
    // The interface's transfer blocks, rows scaled by 2·kz of the upper state: direct terms
    // c·(k + k'), reflection terms c·(k − k')·e^{−2σ²kk'}.
    SpinMatrix direct, reflection;
    for (int s = 0; s < 2; ++s) {
      for (int t = 0; t < 2; ++t) {
        const Complex overlap = At(c, s, t);
        Complex rough = CMul(overlap, CSub(upper[s], lower[t]));
        if (factor != 0) rough = CMul(rough, CExp(CScale(CMul(upper[s], lower[t]), factor)));
        direct[static_cast<std::size_t>(2 * s + t)] = CMul(overlap, CAdd(upper[s], lower[t]));
        reflection[static_cast<std::size_t>(2 * s + t)] = rough;
      }
    }
    x = RightDivide(Plus(reflection, Times(direct, x)), Plus(direct, Times(reflection, x)));
    // Undo the row scaling: X[s][t] · k_t / k_s, which changes only the spin-flip terms.
    if (upper.up.re != upper.down.re || upper.up.im != upper.down.im) {
      const Complex ratio = CDiv(upper.down, upper.up);
      x[1] = CMul(x[1], ratio);
      x[2] = CDiv(x[2], ratio);
    }
    if (j >= 1) {
      // Up through medium j: each term gains the phases of its two states.
      const double d = p.thickness[at];
      const Complex phaseUp = CExp(CMul(upper.up, {0.0, d}));
      const Complex phaseDown = CExp(CMul(upper.down, {0.0, d}));
      x[0] = CMul(x[0], CMul(phaseUp, phaseUp));
      x[1] = CMul(x[1], CMul(phaseUp, phaseDown));
      x[2] = CMul(x[2], CMul(phaseDown, phaseUp));
      x[3] = CMul(x[3], CMul(phaseDown, phaseDown));
    }
    for (const Complex& z : x) RequireFinite(z, "recursion");
    lower = upper;
  }
  return x;
}

double Intensity(const Complex& z) { return z.re * z.re + z.im * z.im; }

}  // namespace

double SpinFlipIncidentEnergy(const PreparedSpinFlip& stack, double qz, int spin) {
  const double fourPiRho = spin == 0 ? stack.fourPiRhoUp[0] : stack.fourPiRhoDown[0];
  double kSquared = 0;
  if (stack.zeemanSplit) {
    // The field lowers one spin's potential in the ambient below the other's: that spin's
    // energy may lie below the field-free vacuum's, so it is not formed as a modulus.
    kSquared = qz * qz / 4 + fourPiRho;
  } else {
    // As the non-magnetic recursion forms it.
    const double k = CAbs(CSqrt({qz * qz / 4 + fourPiRho, stack.fourPiImRho[0]}));
    kSquared = k * k;
  }
  if (!std::isfinite(kSquared)) throw ArithmeticFault("overflow in the vacuum wave number");
  return kSquared;
}

SpinReflectances SpinFlipReflectance(const PreparedSpinFlip& stack, double qz) {
  SpinReflectances r;
  if (!stack.zeemanSplit) {
    const SpinMatrix x = ReflectionMatrix(stack, SpinFlipIncidentEnergy(stack, qz, 0));
    r = {Intensity(x[3]), Intensity(x[1]), Intensity(x[2]), Intensity(x[0])};
  } else {
    // Each incident spin has its own energy in the field; its column is its two channels.
    const SpinMatrix up = ReflectionMatrix(stack, SpinFlipIncidentEnergy(stack, qz, 0));
    const SpinMatrix down = ReflectionMatrix(stack, SpinFlipIncidentEnergy(stack, qz, 1));
    r = {Intensity(down[3]), Intensity(down[1]), Intensity(up[2]), Intensity(up[0])};
  }
  if (!std::isfinite(r.downDown + r.downUp + r.upDown + r.upUp)) {
    throw ArithmeticFault("overflow in the reflectance");
  }
  return r;
}

void SpinFlipReflectanceBatch(const SpinFlipStack& stack, std::span<const double> qz,
                              std::span<SpinReflectances> out, KernelKind kind,
                              fast::Threading threading) {
  if (out.size() != qz.size()) throw std::invalid_argument("batch sizes differ");
  const PreparedSpinFlip prepared(stack);
  if (kind == KernelKind::Fast) {
    fast::FastOptions options;
    options.threading = threading;
    fast::FastSpinFlipReflectance(prepared, qz, out, options);
    return;
  }
  for (std::size_t i = 0; i < qz.size(); ++i) {
    try {
      out[i] = SpinFlipReflectance(prepared, qz[i]);
    } catch (const ArithmeticFault& fault) {
      throw fault.atQz(qz[i]);
    }
  }
}

}  // namespace quorrel
