#include "physics/spin_flip_reflectance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "physics/fast/spin_flip_fast.h"
#include "physics/reflectance.h"
#include "reference_cases.h"

namespace quorrel {
namespace {

std::vector<double> Grid(double from, double step, int points) {
  std::vector<double> qz;
  for (int i = 0; i < points; ++i) qz.push_back(from + step * i);
  return qz;
}

std::vector<SpinReflectances> Channels(const SpinFlipStack& stack, const std::vector<double>& qz,
                                       KernelKind kind) {
  std::vector<SpinReflectances> out(qz.size());
  SpinFlipReflectanceBatch(stack, qz, out, kind);
  return out;
}

std::vector<double> Values(const SpinReflectances& r) {
  return {r.downDown, r.downUp, r.upDown, r.upUp};
}

//! A rough, absorbing stack whose magnetisations turn from layer to layer.
SpinFlipStack TwistedStack(double aguide, double field) {
  SpinFlipStack stack;
  stack.aguide = aguide;
  stack.field = field;
  stack.media.push_back({0, 0, 0, 0, 90, 0});
  for (int j = 1; j <= 12; ++j) {
    stack.media.push_back(
        {20.0 + 7 * j, (3 + j % 4) * 1e-6, 1e-9 * j, (j % 3) * 0.8e-6, 30.0 * j, 1.0 + j % 5});
  }
  stack.media.push_back({0, 2.07e-6, 0, 0.5e-6, 45, 4});
  return stack;
}

//! The non-magnetic stack that spin state `spin` (-1, 0, +1) of a collinear stack sees: the
//! layers' and the substrate's densities moved by spin·sldm.
LayerStack SpinStateStack(const SpinFlipStack& stack, int spin) {
  const int n = stack.layerCount();
  LayerStack plain(n);
  for (int j = 0; j <= n + 1; ++j) {
    const MagneticMedium& m = stack.media[static_cast<std::size_t>(j)];
    plain.setRho(j, m.rho + spin * (j == 0 ? 0 : m.magneticRho));
    plain.setImRho(j, m.imRho);
    if (j >= 1) plain.setSigma(j, m.sigma);
    if (j >= 1 && j <= n) plain.setThickness(j, m.thickness);
  }
  return plain;
}

TEST(SpinFlipReflectance, PolarisedReferenceCasesAgreeInEveryChannel) {
  struct Case {
    const char* name;
    double aguide, field;
  };
  for (const Case c : {Case{"test0", 5, 0.244}, Case{"test1", 90, 0}}) {
    const SpinFlipStack stack = PolarisedReferenceStack(c.name, c.aguide, c.field);
    const auto rows = PolarisedReferenceRows(c.name);
    ASSERT_GT(rows.size(), 250u) << c.name;
    std::vector<double> qz;
    for (const auto& row : rows) qz.push_back(row[0]);
    for (KernelKind kind : {KernelKind::Reference, KernelKind::Fast}) {
      const auto out = Channels(stack, qz, kind);
      for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::vector<double> values = Values(out[i]);
        for (std::size_t channel = 0; channel < 4; ++channel) {
          const double expected = rows[i][channel + 1];
          EXPECT_NEAR(values[channel], expected, std::max(1e-6 * expected, 1e-10))
              << c.name << " kernel " << static_cast<int>(kind) << " channel " << channel << " Q "
              << qz[i];
        }
      }
    }
  }
}

TEST(SpinFlipReflectance, CollinearCaseIsTheTwoSpinStatesWithoutSpinFlip) {
  // Every magnetisation along the in-plane guide field: the spin states see rho -/+ sldm.
  SpinFlipStack stack = TwistedStack(90, 0);
  for (MagneticMedium& m : stack.media) m.thetaM = 90;
  stack.media[4].magneticRho = -0.6e-6;  // antiparallel to the field
  stack.media[7].magneticRho = 0;  // with layer 6, two non-magnetic layers above magnetic ones
  for (int spin : {-1, 1}) {
    const LayerStack plain = SpinStateStack(stack, spin);
    const std::vector<double> qz = Grid(0, 0.0013, 200);
    for (KernelKind kind : {KernelKind::Reference, KernelKind::Fast}) {
      const auto out = Channels(stack, qz, kind);
      ReflectanceWorkspace workspace;
      for (std::size_t i = 0; i < qz.size(); ++i) {
        const double expected = Reflectance(plain, qz[i], workspace);
        const double value = spin > 0 ? out[i].upUp : out[i].downDown;
        // The fast kernel fuses multiply-adds: deep minima agree to 1e-10.
        EXPECT_NEAR(value, expected, 1e-10 * expected) << "spin " << spin << " Q " << qz[i];
        EXPECT_EQ(out[i].upDown, 0.0);
        EXPECT_EQ(out[i].downUp, 0.0);
      }
    }
  }
}

TEST(SpinFlipReflectance, LosslessStackBelowItsEdgesReflectsEveryNeutron) {
  // Without absorption, roughness and field, below the critical edges of both spin states of
  // the substrate, every neutron comes back in one of the two spin states.
  SpinFlipStack stack = TwistedStack(90, 0);
  for (MagneticMedium& m : stack.media) m.imRho = m.sigma = 0;
  stack.media.back() = {0, 8e-6, 0, 0.5e-6, 45, 0};
  const auto out = Channels(stack, Grid(0.001, 0.0005, 30), KernelKind::Reference);
  for (const SpinReflectances& r : out) {
    EXPECT_NEAR(r.upUp + r.upDown, 1.0, 1e-12);
    EXPECT_NEAR(r.downDown + r.downUp, 1.0, 1e-12);
    EXPECT_GT(r.upDown, 1e-6);  // the twisted layers do turn spins
  }
}

TEST(SpinFlipReflectance, SymmetriesOfTheGeometry) {
  const std::vector<double> qz = Grid(0.003, 0.004, 40);
  std::vector<double> negative;
  for (double q : qz) negative.push_back(-q);
  // Guide field along Q: turning every magnetisation about the normal changes nothing.
  SpinFlipStack alongQ = TwistedStack(0, 0);
  SpinFlipStack turned = alongQ;
  for (MagneticMedium& m : turned.media) m.thetaM += 37;
  const auto a = Channels(alongQ, qz, KernelKind::Reference);
  const auto b = Channels(turned, qz, KernelKind::Reference);
  const auto c = Channels(alongQ, negative, KernelKind::Reference);
  for (std::size_t i = 0; i < qz.size(); ++i) {
    for (std::size_t e = 0; e < 4; ++e) {
      EXPECT_NEAR(Values(a[i])[e], Values(b[i])[e], 1e-12 * Values(a[i])[e] + 1e-300);
      EXPECT_EQ(Values(a[i])[e], Values(c[i])[e]);
    }
  }
}

TEST(SpinFlipReflectance, AFieldAloneShiftsBothSpinsAlikeAndFlipsNone) {
  // A field out of the plane and no magnetisation: every medium's potential moves by the same
  // Zeeman term for each spin, which Qz (measured for the incident spin) does not see, even
  // where the field lowers the down spin's energy below the field-free vacuum's.
  SpinFlipStack stack = TwistedStack(30, 2.0);
  for (MagneticMedium& m : stack.media) m.magneticRho = 0;
  const LayerStack plain = SpinStateStack(stack, 0);
  const std::vector<double> qz = Grid(0.0005, 0.0011, 100);
  for (KernelKind kind : {KernelKind::Reference, KernelKind::Fast}) {
    const auto out = Channels(stack, qz, kind);
    ReflectanceWorkspace workspace;
    for (std::size_t i = 0; i < qz.size(); ++i) {
      const double expected = Reflectance(plain, qz[i], workspace);
      EXPECT_NEAR(out[i].upUp, expected, 1e-9 * expected) << qz[i];
      EXPECT_NEAR(out[i].downDown, expected, 1e-9 * expected) << qz[i];
      EXPECT_EQ(out[i].upDown + out[i].downUp, 0.0);
    }
  }
}

TEST(SpinFlipReflectance, FastKernelAgreesWithTheScalarOneOnEverySet) {
  for (const double field : {0.0, 0.5}) {
    const SpinFlipStack stack = TwistedStack(70, field);
    const PreparedSpinFlip prepared(stack);
    // From Qz = 0, where the scalar kernel takes its limit, past the fringes.
    const std::vector<double> qz = Grid(0, 0.00071, 301);
    std::vector<SpinReflectances> reference(qz.size());
    for (std::size_t i = 0; i < qz.size(); ++i) reference[i] = SpinFlipReflectance(prepared, qz[i]);
    for (auto set : {fast::InstructionSet::Generic, fast::InstructionSet::Avx2,
                     fast::InstructionSet::Avx512}) {
      if (!fast::Supports(set)) continue;
      std::vector<SpinReflectances> out(qz.size());
      fast::FastSpinFlipReflectance(prepared, qz, out, {.instructionSet = set});
      for (std::size_t i = 0; i < qz.size(); ++i) {
        for (std::size_t e = 0; e < 4; ++e) {
          const double expected = Values(reference[i])[e];
          EXPECT_NEAR(Values(out[i])[e], expected, 1e-11 * expected + 1e-300)
              << fast::Name(set) << " field " << field << " Q " << qz[i] << " channel " << e;
        }
      }
    }
  }
}

TEST(SpinFlipReflectance, SpinAsymmetry) {
  EXPECT_DOUBLE_EQ(SpinAsymmetry({.downDown = 0.2, .upUp = 0.6}), 0.5);
  EXPECT_EQ(SpinAsymmetry({}), 0.0);
}

}  // namespace
}  // namespace quorrel
