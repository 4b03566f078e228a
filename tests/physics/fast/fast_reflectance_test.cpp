#include "physics/fast/fast_reflectance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <random>
#include <string>
#include <vector>

#include "physics/fast/prepared_layers.h"
#include "physics/reflectance.h"
#include "../alternating_stack.h"

namespace quorrel::fast {
namespace {

std::vector<InstructionSet> SupportedSets() {
  std::vector<InstructionSet> sets;
  for (auto set : {InstructionSet::Generic, InstructionSet::Avx2, InstructionSet::Avx512}) {
    if (Supports(set)) sets.push_back(set);
  }
  return sets;
}

std::vector<double> ReferenceValues(const LayerStack& stack, const std::vector<double>& qz) {
  ReflectanceWorkspace workspace;
  std::vector<double> values;
  for (double q : qz) values.push_back(Reflectance(stack, q, workspace));
  return values;
}

std::vector<double> FastValues(const LayerStack& stack, const std::vector<double>& qz,
                               FastOptions options) {
  std::vector<double> values(qz.size());
  FastReflectance(stack, qz, values, options);
  return values;
}

//! The recursion in extended precision with the same root branch: what the double kernels
//! both approximate.
double ExtendedReflectance(const LayerStack& stack, double qz) {
  using C = std::complex<long double>;
  const long double fourPi = 4 * 3.141592653589793238462643383279502884L;
  const auto root = [](C a) {
    const C r = std::sqrt(a);
    return r.imag() < 0 ? -r : r;
  };
  const int n = stack.layerCount();
  const long double k2 =
      std::abs(C(static_cast<long double>(qz) * qz / 4 + fourPi * stack.rho(0), fourPi * stack.imRho(0)));
  std::vector<C> kz;
  for (int j = 0; j <= n + 1; ++j) kz.push_back(root(C(k2 - fourPi * stack.rho(j), fourPi * stack.imRho(j))));
  const auto rough = [&](int j) {
    const long double s = stack.sigma(j + 1);
    return (kz[j] - kz[j + 1]) / (kz[j] + kz[j + 1]) * std::exp(-2 * s * s * kz[j] * kz[j + 1]);
  };
  C x = rough(n);
  for (int j = n - 1; j >= 0; --j) {
    const C w = std::exp(C(0, 2 * std::fabs(stack.thickness(j + 1))) * kz[j + 1]) * x;
    x = (rough(j) + w) / (1.0L + rough(j) * w);
  }
  return static_cast<double>(std::norm(x));
}

double Relative(double value, double reference) { return std::fabs(value - reference) / reference; }

//! Where the kernels differ by more than 1e-12 relative (deep minima behind thick or many
//! layers), the scalar kernel is itself about that far from the extended-precision value: the
//! difference is rounding of the double recursion. Counts the points beyond 1e-12.
int ExpectAgreement(const LayerStack& stack, const std::vector<double>& qz,
                    const std::vector<double>& fast, const std::vector<double>& reference,
                    const std::string& where) {
  int beyond = 0;
  for (std::size_t i = 0; i < qz.size(); ++i) {
    const double difference = Relative(fast[i], reference[i]);
    if (difference <= 1e-12) continue;
    ++beyond;
    const double ownError = Relative(reference[i], ExtendedReflectance(stack, qz[i]));
    EXPECT_LT(difference, 20 * (ownError + 5e-13)) << where << " Qz " << qz[i] << " R " << reference[i];
  }
  return beyond;
}

//! A random stack: thin and thick layers, absorbing or not, sharp or rough, densities on both
//! sides of the ambient's.
LayerStack RandomStack(std::mt19937_64& random) {
  std::uniform_real_distribution<double> unit(0, 1);
  const int n = static_cast<int>(unit(random) * 40);
  LayerStack stack(n);
  stack.setRho(0, unit(random) < 0.7 ? 0 : unit(random) * 2e-6);
  for (int j = 1; j <= n + 1; ++j) {
    if (j <= n) stack.setThickness(j, unit(random) < 0.1 ? 0 : unit(random) * (unit(random) < 0.2 ? 3000 : 300));
    stack.setRho(j, -1e-6 + unit(random) * 9e-6);
    stack.setImRho(j, unit(random) < 0.5 ? 0 : unit(random) * unit(random) * 1e-6);
    stack.setSigma(j, unit(random) < 0.3 ? 0 : unit(random) * 10);
  }
  return stack;
}

TEST(FastReflectance, AgreesWithTheScalarKernelOnRandomStacks) {
  for (InstructionSet set : SupportedSets()) {
    std::mt19937_64 random(20240611);
    std::uniform_real_distribution<double> unit(0, 1);
    int beyondTolerance = 0;
    int points = 0;
    for (int model = 0; model < 120; ++model) {
      const LayerStack stack = RandomStack(random);
      std::vector<double> qz;
      for (int i = 0; i < 301; ++i) qz.push_back(-0.05 + 0.35 * unit(random));
      beyondTolerance += ExpectAgreement(stack, qz, FastValues(stack, qz, {.instructionSet = set}),
                                         ReferenceValues(stack, qz),
                                         std::string(Name(set)) + " model " + std::to_string(model));
      points += static_cast<int>(qz.size());
    }
    EXPECT_LT(beyondTolerance, points / 100) << Name(set);
  }
}

//! The benchmark's kind of stack: alternating absorbing layers on silicon.
TEST(FastReflectance, AgreesOnLayeredFilms) {
  std::vector<double> qz;
  for (int i = 0; i < 1000; ++i) qz.push_back(0.0005 + 0.0003 * i);
  for (InstructionSet set : SupportedSets()) {
    for (int n : {0, 1, 2, 10, 100, 1000}) {
      const LayerStack stack = AlternatingStack(n);
      const int beyond = ExpectAgreement(stack, qz, FastValues(stack, qz, {.instructionSet = set}),
                                         ReferenceValues(stack, qz),
                                         std::string(Name(set)) + " N " + std::to_string(n));
      // Measured: a few points up to N = 100, about a tenth of them at N = 1000.
      EXPECT_LT(beyond, n < 1000 ? 20 : 200) << Name(set) << " N " << n;
    }
  }
}

TEST(FastReflectance, TheSharedPoolGivesTheSameNumbersAsOneThread) {
  const LayerStack stack = AlternatingStack(300);
  std::vector<double> qz;
  for (int i = 0; i < 2001; ++i) qz.push_back(0.0001 * i);
  EXPECT_EQ(FastValues(stack, qz, {.threading = Threading::SharedPool}),
            FastValues(stack, qz, {.threading = Threading::CallingThread}));
}

TEST(FastReflectance, VeryThickLayersUseTheExactTrigonometricReduction) {
  // 2·kz·d beyond the lanes' reduction range at the higher Qz: those points go to the scalar
  // kernel.
  LayerStack stack(1);
  stack.setThickness(1, 4e6);
  stack.setRho(1, 3.5e-6);
  stack.setImRho(1, 1e-13);
  stack.setRho(2, 2.073e-6);
  const std::vector<double> qz{0.01, 0.05, 0.1, 0.2, 0.3};
  for (InstructionSet set : SupportedSets()) {
    const std::vector<double> fast = FastValues(stack, qz, {.instructionSet = set});
    const std::vector<double> reference = ReferenceValues(stack, qz);
    for (std::size_t i = 0; i < qz.size(); ++i) {
      EXPECT_LT(Relative(fast[i], reference[i]), 1e-8) << Name(set) << " Qz " << qz[i];
    }
  }
}

TEST(FastReflectance, RefusesAnInstructionSetTheProcessorLacks) {
  for (auto set : {InstructionSet::Avx2, InstructionSet::Avx512}) {
    if (Supports(set)) continue;
    std::vector<double> out(1);
    EXPECT_THROW(FastReflectance(AlternatingStack(2), std::vector<double>{0.1}, out,
                                 {.instructionSet = set}),
                 std::invalid_argument);
  }
  EXPECT_TRUE(Supports(BestInstructionSet()));
}

//! `base` layers above, `k` period layers repeated `repeats` times, two layers below; the
//! block recorded as the builder records it.
LayerStack Multilayer(int repeats, int k, double absorption, double roughness) {
  const int above = 1;
  const int n = above + repeats * k + 2;
  LayerStack stack(n);
  stack.setThickness(1, 20);
  stack.setRho(1, 4e-6);
  stack.setSigma(1, 2);
  const double d[3] = {25, 40, 12};
  const double rho[3] = {9.4e-6, 3.7e-6, 6.1e-6};
  for (int p = 0; p < repeats; ++p) {
    for (int q = 0; q < k; ++q) {
      const int m = above + p * k + q + 1;
      stack.setThickness(m, d[q]);
      stack.setRho(m, rho[q]);
      stack.setImRho(m, absorption * (q + 1));
      stack.setSigma(m, roughness);
    }
  }
  stack.setThickness(n - 1, 100);
  stack.setRho(n - 1, 1e-6);
  stack.setThickness(n, 15);
  stack.setRho(n, 5e-6);
  stack.setSigma(n, 3);
  stack.setRho(n + 1, 2.073e-6);
  stack.setSigma(n + 1, 4);
  stack.setRepeatedBlock(RepeatedBlock{above + 1, k, repeats});
  return stack;
}

TEST(FastReflectance, RepeatedBlocksAsPowersAgreeWithTheLayerWalk) {
  // From total reflection through the Bragg peaks to far above them.
  std::vector<double> qz;
  for (int i = 0; i < 400; ++i) qz.push_back(0.0002 + 0.00075 * i);
  for (InstructionSet set : SupportedSets()) {
    for (int repeats : {3, 4, 7, 20, 50, 99}) {
      for (int k : {1, 2, 3}) {
        for (double absorption : {0.0, 2e-8}) {
          for (double roughness : {0.0, 3.0}) {
            const LayerStack stack = Multilayer(repeats, k, absorption, roughness);
            ASSERT_TRUE(PreparedLayers(stack).usesRepeatedBlock());
            PowerCounts counts;
            const std::vector<double> fast =
                FastValues(stack, qz, {.instructionSet = set, .powerCounts = &counts});
            const std::vector<double> reference = ReferenceValues(stack, qz);
            double worst = 0;
            for (std::size_t i = 0; i < qz.size(); ++i) worst = std::max(worst, Relative(fast[i], reference[i]));
            const std::string where = std::string(Name(set)) + " P " + std::to_string(repeats) +
                                      " K " + std::to_string(k) + " Im " +
                                      std::to_string(absorption) + " sigma " + std::to_string(roughness);
            EXPECT_LT(worst, 1e-10) << where;
            EXPECT_EQ(counts.powered + counts.walked, qz.size()) << where;
            EXPECT_GT(counts.powered, 0u) << where;
          }
        }
      }
    }
  }
}

TEST(FastReflectance, ARecordedBlockIsUsedOnlyWhereTheMediaRepeat) {
  LayerStack stack = Multilayer(10, 2, 1e-8, 3);
  EXPECT_TRUE(PreparedLayers(stack).usesRepeatedBlock());
  // An edited period, as a fit may leave it.
  stack.setRho(8, stack.rho(8) * 1.01);
  EXPECT_FALSE(PreparedLayers(stack).usesRepeatedBlock());
  std::vector<double> qz;
  for (int i = 0; i < 100; ++i) qz.push_back(0.003 * i);
  PowerCounts counts;
  const std::vector<double> fast = FastValues(stack, qz, {.powerCounts = &counts});
  const std::vector<double> reference = ReferenceValues(stack, qz);
  for (std::size_t i = 0; i < qz.size(); ++i) EXPECT_LT(Relative(fast[i], reference[i]), 1e-12);
  EXPECT_EQ(counts.powered + counts.walked, 0u);

  LayerStack outside = Multilayer(10, 2, 1e-8, 3);
  outside.setRepeatedBlock(RepeatedBlock{2, 2, 40});
  EXPECT_FALSE(PreparedLayers(outside).usesRepeatedBlock());
  outside.setRepeatedBlock(RepeatedBlock{2, 2, 2});
  EXPECT_FALSE(PreparedLayers(outside).usesRepeatedBlock());
}

}  // namespace
}  // namespace quorrel::fast
