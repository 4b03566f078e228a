#include "physics/reflectance_batch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "common/error.h"
#include "reference_cases.h"

namespace quorrel {
namespace {

//! A stack from rows of (d, rho, Im(rho), sigma), ambient first and substrate last.
LayerStack MakeStack(const std::vector<std::vector<double>>& media) {
  const int n = static_cast<int>(media.size()) - 2;
  LayerStack stack(n);
  for (int j = 0; j <= n + 1; ++j) {
    const auto& m = media[static_cast<std::size_t>(j)];
    stack.setRho(j, m[1]);
    stack.setImRho(j, m[2]);
    if (j >= 1) stack.setSigma(j, m[3]);
    if (j >= 1 && j <= n) stack.setThickness(j, m[0]);
  }
  return stack;
}

std::vector<double> Grid(double first, double step, int count) {
  std::vector<double> qz;
  for (int i = 0; i < count; ++i) qz.push_back(first + step * i);
  return qz;
}

std::vector<double> Points(KernelKind kind, const LayerStack& stack, PointOptions options,
                           const std::vector<double>& background,
                           const std::vector<double>& resolution, const std::vector<double>& qz) {
  std::vector<double> out(qz.size());
  PointReflectivityBatch(stack, options, background, resolution, qz, out, kind);
  return out;
}

double WorstRelative(const std::vector<double>& a, const std::vector<double>& b) {
  double worst = 0;
  for (std::size_t i = 0; i < a.size(); ++i) worst = std::max(worst, std::fabs(a[i] - b[i]) / b[i]);
  return worst;
}

TEST(PointReflectivityBatch, FastKernelAgreesOnTheReferenceCases) {
  const std::vector<double> qz = Grid(0.005, 0.0003, 999);
  // Measured worst: 2.9e-12 at the deepest fringe minimum of test0, where the scalar kernel's
  // own rounding is of the same size; 1e-12 elsewhere.
  for (const char* name : {"test0", "test2"}) {
    const LayerStack stack = ReferenceStack(name);
    EXPECT_LT(WorstRelative(Points(KernelKind::Fast, stack, {}, {}, {}, qz),
                            Points(KernelKind::Reference, stack, {}, {}, {}, qz)),
              5e-12)
        << name;
  }
  // The smeared case with a background, as the reflectivity run evaluates it.
  const LayerStack stack = ReferenceStack("test4");
  std::vector<double> resolution;
  for (double q : qz) resolution.push_back(0.05 / 2.3548 * q * 2);
  const std::vector<double> background(qz.size(), 1e-7);
  const PointOptions options{.smear = true, .addBackground = true};
  EXPECT_LT(WorstRelative(Points(KernelKind::Fast, stack, options, background, resolution, qz),
                          Points(KernelKind::Reference, stack, options, background, resolution, qz)),
            1e-12);
}

TEST(PointReflectivityBatch, ReferenceKindIsThePointByPointValue) {
  const LayerStack stack = ReferenceStack("test0");
  const std::vector<double> qz = Grid(0.01, 0.01, 20);
  const std::vector<double> resolution(qz.size(), 0.002);
  const std::vector<double> background(qz.size(), 3e-6);
  const PointOptions options{.smear = true, .addBackground = true};
  const std::vector<double> batch =
      Points(KernelKind::Reference, stack, options, background, resolution, qz);
  ReflectanceWorkspace workspace;
  for (std::size_t i = 0; i < qz.size(); ++i) {
    EXPECT_EQ(batch[i], PointReflectivity(stack, options, 3e-6, 0.002, qz[i], workspace));
  }
}

TEST(PointReflectivityBatch, SeveralStacksAtOnceGiveEachStacksOwnValues) {
  // Stacks of different depths, so that their batches split into chunks of different sizes.
  const LayerStack stacks[] = {ReferenceStack("test4"), ReferenceStack("test0"),
                               ReferenceStack("test2")};
  const std::vector<const LayerStack*> pointers{&stacks[0], &stacks[1], &stacks[2]};
  const std::vector<double> qz = Grid(0.005, 0.0003, 999);
  std::vector<double> resolution;
  for (double q : qz) resolution.push_back(0.02 * q);
  const std::vector<double> background(qz.size(), 1e-7);
  const PointOptions options{.smear = true, .addBackground = true};
  for (KernelKind kind : {KernelKind::Fast, KernelKind::Reference}) {
    std::vector<std::vector<double>> together(3, std::vector<double>(qz.size()));
    const std::vector<std::span<double>> out{together[0], together[1], together[2]};
    PointReflectivityBatch(pointers, options, background, resolution, qz, out, kind);
    for (std::size_t k = 0; k < 3; ++k) {
      EXPECT_EQ(together[k], Points(kind, stacks[k], options, background, resolution, qz)) << k;
    }
  }
}

TEST(PointReflectivityBatch, FastKernelGivesThePointByPointValuesOfRandomSmallModels) {
  // Models of one to ten layers, as most fits evaluate them: thin and thick, absorbing or not,
  // sharp or rough, the ambient vacuum or a liquid; smeared by 1 to 10 % with a background.
  // Before and after every change of the fast kernel, its values stay these within 1e-12.
  std::mt19937_64 random(20261209);
  std::uniform_real_distribution<double> unit(0, 1);
  double worst = 0;
  for (int model = 0; model < 200; ++model) {
    const int n = 1 + model % 10;
    LayerStack stack(n);
    stack.setRho(0, unit(random) < 0.8 ? 0 : unit(random) * 6.3e-6);
    // Now and then an absorbing ambient, whose k² the batch forms point by point.
    if (model % 7 == 3) stack.setImRho(0, unit(random) * 1e-8);
    for (int j = 1; j <= n + 1; ++j) {
      if (j <= n) stack.setThickness(j, unit(random) < 0.1 ? 0 : 5 + unit(random) * 500);
      stack.setRho(j, -0.5e-6 + unit(random) * 8e-6);
      stack.setImRho(j, unit(random) < 0.5 ? 0 : unit(random) * 1e-7);
      stack.setSigma(j, unit(random) < 0.3 ? 0 : unit(random) * 8);
    }
    std::vector<double> qz, resolution, background;
    const double spread = 0.01 + 0.09 * unit(random);
    for (int i = 0; i < 64; ++i) {
      qz.push_back(0.005 + 0.3 * unit(random));
      resolution.push_back(spread * qz.back());
      background.push_back(unit(random) < 0.5 ? 0 : 1e-7);
    }
    const PointOptions options{.smear = true, .addBackground = true};
    const std::vector<double> fast =
        Points(KernelKind::Fast, stack, options, background, resolution, qz);
    ReflectanceWorkspace workspace;
    for (std::size_t i = 0; i < qz.size(); ++i) {
      const double reference =
          PointReflectivity(stack, options, background[i], resolution[i], qz[i], workspace);
      const double relative = std::fabs(fast[i] - reference) / reference;
      worst = std::max(worst, relative);
      // Two kernels, each rounding its own way: deep in a thick stack's fringes an unoptimised
      // build has seen 2.2e-12.
      EXPECT_LT(relative, 1e-11) << "model " << model << " Qz " << qz[i];
    }
  }
  // The kernels differ by rounding, not by a formula.
  EXPECT_GT(worst, 0.0);
}

TEST(ReflectanceBatch, FaultsNameTheFirstQzWhereTheyHappen) {
  const LayerStack stack = ReferenceStack("test0");
  // Qz² overflows in the vacuum wave number at the third and fifth points only.
  const std::vector<double> qz{0.01, 0.02, 1e200, 0.03, 2e200};
  for (KernelKind kind : {KernelKind::Fast, KernelKind::Reference}) {
    std::vector<double> out(qz.size());
    try {
      ReflectanceBatch(stack, qz, out, kind);
      ADD_FAILURE() << "no fault";
    } catch (const ArithmeticFault& fault) {
      ASSERT_TRUE(fault.qz().has_value());
      EXPECT_EQ(*fault.qz(), 1e200);
      EXPECT_EQ(fault.fault(), "overflow in complex modulus");
    }
  }
}

TEST(ReflectanceBatch, AbsorbedFaultsGiveTheScalarKernelsValues) {
  // Qz = 0 over empty media: kz = 0 on both sides of the interfaces, so the Fresnel quotient is
  // 0/0 and the division gives (1e37, 1e37). Roughness of 1e4 Å below the critical edge makes
  // the damping factor's exponential overflow to (0, 0).
  const LayerStack empty = MakeStack({{0, 0, 0, 0}, {20, 0, 0, 0}, {0, 2.073e-6, 0, 0}});
  const LayerStack veryRough =
      MakeStack({{0, 0, 0, 0}, {50, 6e-6, 0, 1e4}, {0, 6.2e-6, 0, 1e4}});
  const std::vector<double> qz{0.0, 0.001, 0.002, 0.004, 0.05};
  for (const LayerStack* stack : {&empty, &veryRough}) {
    std::vector<double> fast(qz.size());
    std::vector<double> reference(qz.size());
    ReflectanceBatch(*stack, qz, fast, KernelKind::Fast);
    ReflectanceBatch(*stack, qz, reference, KernelKind::Reference);
    for (std::size_t i = 0; i < qz.size(); ++i) {
      EXPECT_LE(std::fabs(fast[i] - reference[i]), 1e-12 * reference[i]) << "Qz " << qz[i];
    }
  }
}

TEST(ReflectanceBatch, RefusesMismatchedSizes) {
  const LayerStack stack = ReferenceStack("test2");
  std::vector<double> out(2);
  EXPECT_THROW(ReflectanceBatch(stack, std::vector<double>{0.1}, out), std::invalid_argument);
  EXPECT_THROW(PointReflectivityBatch(stack, {.smear = true}, {}, {}, std::vector<double>{0.1},
                                      std::span<double>(out).first(1)),
               std::invalid_argument);
}

}  // namespace
}  // namespace quorrel
