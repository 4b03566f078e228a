#include "physics/accurate_smearing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "alternating_stack.h"
#include "reference_cases.h"

namespace quorrel {
namespace {

//! The moments of order 0, 1, 2 and 4 of the samples, in standard deviations about `qz`.
std::vector<double> Moments(const KernelSamples& samples, double qz, double sigma) {
  std::vector<double> moments(5, 0.0);
  for (std::size_t i = 0; i < samples.qz.size(); ++i) {
    const double x = (samples.qz[i] - qz) / sigma;
    for (int order = 0; order <= 4; ++order) {
      moments[static_cast<std::size_t>(order)] += samples.weights[i] * std::pow(x, order);
    }
  }
  return moments;
}

TEST(AccurateSamples, AreTheNormalisedGaussianCutAtItsReachWithOrWithoutPanels) {
  // Moments of the unit Gaussian truncated at ±a: 1 - 2aφ(a)/(2Φ(a) - 1) and
  // 3 - (2a³ + 6a)φ(a)/(2Φ(a) - 1).
  const double a = kAccurateReach;
  const double density = std::exp(-a * a / 2) / std::sqrt(2 * std::numbers::pi);
  const double mass = std::erf(a / std::numbers::sqrt2);
  const double second = 1 - 2 * a * density / mass;
  const double fourth = 3 - (2 * a * a * a + 6 * a) * density / mass;
  const std::vector<double> edges{-0.0102, 0.0102, 0.0203, 0.0204, 0.05};
  for (const double thickness : {0.0, 1000.0, 30000.0}) {
    for (const double qz : {0.0, 0.01, 0.02, 0.06}) {
      const double sigma = 0.001;
      const KernelSamples samples = AccurateSamples(qz, sigma, thickness, edges);
      ASSERT_EQ(samples.qz.size(), samples.weights.size());
      const std::vector<double> m = Moments(samples, qz, sigma);
      EXPECT_NEAR(m[0], 1.0, 1e-14) << qz;
      EXPECT_NEAR(m[1], 0.0, 1e-13) << qz;
      EXPECT_NEAR(m[2], second, 1e-12) << qz;
      EXPECT_NEAR(m[4], fourth, 1e-11) << qz;
      for (const double at : samples.qz) EXPECT_LE(std::fabs(at - qz), a * sigma * (1 + 1e-15));
    }
  }
}

TEST(AccurateSamples, PanelsEndAtTheEdgesInsideTheWindow) {
  // Near the edges 0.0203 and 0.0204 the nodes of one panel lie between them; the edge 0.05
  // is far outside the window.
  const KernelSamples samples = AccurateSamples(0.02, 0.001, 100, std::vector<double>{0.0203,
                                                                                       0.0204, 0.05});
  const auto between = std::count_if(samples.qz.begin(), samples.qz.end(),
                                     [](double q) { return q > 0.0203 && q < 0.0204; });
  EXPECT_EQ(between, 8);  // the fewest nodes a panel takes
  // The 24 nodes shared by length (0.0038 and 0.0031 of the window's 0.007), in fours.
  EXPECT_EQ(samples.qz.size(), 16u + 8u + 12u);
}

TEST(CriticalEdges, AreThoseOfTheMediaDenserThanTheAmbient) {
  LayerStack stack(2);
  stack.setRho(0, 1e-6);
  stack.setRho(1, 1e-6 + 2.073e-6);
  stack.setRho(2, 0.5e-6);  // less dense than the ambient: no edge
  stack.setRho(3, 1e-6 + 2.073e-6);
  const double edge = 4 * std::sqrt(std::numbers::pi * 2.073e-6);  // silicon under vacuum
  const std::vector<double> edges = CriticalEdges(stack);
  ASSERT_EQ(edges.size(), 2u);
  EXPECT_NEAR(edges[0], -edge, 1e-15);
  EXPECT_NEAR(edges[1], edge, 1e-15);
  EXPECT_NEAR(edge, 0.0102, 1e-4);
}

TEST(AccurateNodeCount, FollowsTheFringesUnderTheKernel) {
  EXPECT_EQ(AccurateNodeCount(0.0, 1000), 24);     // no width: the Gaussian alone
  EXPECT_EQ(AccurateNodeCount(0.001, 0), 24);      // no layers: no fringes
  EXPECT_EQ(AccurateNodeCount(0.004, 1000), 38);   // 14 radians each side: 24 + 14
  EXPECT_LT(AccurateNodeCount(0.005, 1000), AccurateNodeCount(0.01, 1000));
  EXPECT_EQ(AccurateNodeCount(1.0, 1e6), 2048);    // the most it takes
  EXPECT_EQ(AccurateNodeCount(INFINITY, 1e3), 2048);
}

//! The smeared reference case `name` with the accurate kernel: the deviation of every point.
std::vector<double> Deviations(const char* name, KernelKind kind) {
  const LayerStack stack = ReferenceStack(name);
  std::vector<double> qz, resolution;
  const auto rows = ReferenceRows(name);
  for (const auto& row : rows) {
    qz.push_back(row[0]);
    resolution.push_back(2 * row[3]);  // the half-width b is two standard deviations
  }
  std::vector<double> out(qz.size());
  PointReflectivityBatch(stack, {.smear = true, .kernel = SmearingKernel::Accurate}, {},
                         resolution, qz, out, kind);
  std::vector<double> deviations;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    deviations.push_back(std::fabs(out[i] / rows[i][1] - 1));
  }
  return deviations;
}

TEST(AccurateSmearing, AgreesWithTheReferenceQuadratureOfTheSmearedCases) {
  // test4: four absorbing media below and above a critical edge; test5: a Ti/Ni multilayer
  // whose fringes the nine-point kernel misses by up to 43 %. The peers accept 3 %. Measured:
  // 0.047 % at every point, the weight beyond ±3.5 sigma that the reference leaves out
  // without normalising its kernel.
  for (const char* name : {"test4", "test5"}) {
    for (const KernelKind kind : {KernelKind::Fast, KernelKind::Reference}) {
      std::vector<double> deviations = Deviations(name, kind);
      ASSERT_EQ(deviations.size(), 101u);
      std::sort(deviations.begin(), deviations.end());
      EXPECT_LT(deviations.back(), 0.03) << name;
      EXPECT_LT(deviations[deviations.size() / 2], 1e-3) << name;
    }
  }
}

TEST(AccurateSmearing, ConvergesOnAThickFilmWithAWideResolution) {
  // A 2 µm film with 5 % resolution: hundreds of fringes under the kernel at high Qz. The
  // kernel is compared with the same Gaussian summed over 20001 equally spaced samples.
  LayerStack stack(1);
  stack.setThickness(1, 20000);
  stack.setRho(1, 4e-6);
  stack.setSigma(1, 3);
  stack.setRho(2, 2.073e-6);
  stack.setSigma(2, 3);
  for (const double q : {0.012, 0.05, 0.2}) {
    const double sigma = 0.05 / 2.3548 * q;
    std::vector<double> out(1);
    AccurateSmearedBatch(stack, std::vector<double>{2 * sigma}, std::vector<double>{q}, out,
                         KernelKind::Fast);
    constexpr int kSamples = 20001;
    std::vector<double> samples, weights;
    for (int k = 0; k < kSamples; ++k) {
      const double x = kAccurateReach * (2.0 * k / (kSamples - 1) - 1);
      samples.push_back(q + x * sigma);
      weights.push_back(std::exp(-x * x / 2) * (k == 0 || k == kSamples - 1 ? 0.5 : 1.0));
    }
    std::vector<double> values(samples.size());
    ReflectanceBatch(stack, samples, values);
    double sum = 0, mass = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
      sum += weights[i] * values[i];
      mass += weights[i];
    }
    EXPECT_NEAR(out[0] / (sum / mass), 1.0, 1e-5) << "Qz " << q;
  }
}

//! The quadrature without the shared grid: every sample of every point evaluated directly.
std::vector<double> DirectQuadrature(const LayerStack& stack, const std::vector<double>& resolution,
                                     const std::vector<double>& qz) {
  double thickness = 0;
  for (int j = 1; j <= stack.layerCount(); ++j) thickness += std::fabs(stack.thickness(j));
  const std::vector<double> edges = CriticalEdges(stack);
  std::vector<double> smeared;
  for (std::size_t i = 0; i < qz.size(); ++i) {
    const KernelSamples samples = AccurateSamples(qz[i], resolution[i] / 2, thickness, edges);
    std::vector<double> values(samples.qz.size());
    ReflectanceBatch(stack, samples.qz, values);
    double sum = 0;
    for (std::size_t k = 0; k < values.size(); ++k) sum += samples.weights[k] * values[k];
    smeared.push_back(sum);
  }
  return smeared;
}

TEST(AccurateSmearing, TheSharedGridAgreesWithTheDirectQuadrature) {
  // Dense curves share a fine grid of the reflectance; sparse ones (the suite's 101 points)
  // are evaluated directly. Either way the result is the direct quadrature's within 1e-4.
  LayerStack water(0);
  water.setRho(1, 9.41e-6);
  water.setSigma(1, 3);
  const std::pair<const char*, LayerStack> models[] = {
      {"test0", ReferenceStack("test0")}, {"test5", ReferenceStack("test5")},
      {"2 layers", AlternatingStack(2)},  {"10 layers", AlternatingStack(10)},
      {"100 layers", AlternatingStack(100)}, {"water", water}};
  for (const auto& [name, stack] : models) {
    for (const int points : {101, 408, 999}) {
      for (const double fwhm : {0.02, 0.05, 0.1}) {
        std::vector<double> qz, resolution;
        for (int i = 0; i < points; ++i) {
          qz.push_back(0.005 + 0.295 * i / (points - 1));
          resolution.push_back(2 * fwhm / 2.3548 * qz.back());
        }
        std::vector<double> out(qz.size());
        PointReflectivityBatch(stack, {.smear = true, .kernel = SmearingKernel::Accurate}, {},
                               resolution, qz, out);
        const std::vector<double> direct = DirectQuadrature(stack, resolution, qz);
        double worst = 0;
        for (std::size_t i = 0; i < qz.size(); ++i) {
          worst = std::max(worst, std::fabs(out[i] / direct[i] - 1));
        }
        // Measured: at most 4.3e-7 (the grid's cells are held to 1e-6), 0 where the curve
        // was too sparse for the grid.
        EXPECT_LT(worst, 1e-4) << name << " " << points << " points, dQ/Q " << fwhm;
        if (points == 999 && std::string(name) == "test5") {
          EXPECT_GT(worst, 0.0) << "the grid was not used";
        }
      }
    }
  }
}

TEST(AccurateSmearing, AZeroWidthIsTheUnsmearedValueAndWidthsMayDiffer) {
  const LayerStack stack = ReferenceStack("test0");
  const std::vector<double> qz{0.01, 0.05, 0.1, 0.15};
  const std::vector<double> resolution{0.0, 0.001, 0.0, 0.004};
  std::vector<double> smeared(qz.size()), plain(qz.size());
  PointReflectivityBatch(stack, {.smear = true, .kernel = SmearingKernel::Accurate}, {},
                         resolution, qz, smeared);
  ReflectanceBatch(stack, qz, plain);
  EXPECT_EQ(smeared[0], plain[0]);
  EXPECT_EQ(smeared[2], plain[2]);
  EXPECT_NE(smeared[1], plain[1]);
  EXPECT_NE(smeared[3], plain[3]);
}

}  // namespace
}  // namespace quorrel
