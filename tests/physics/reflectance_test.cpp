#include "physics/reflectance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "common/error.h"

namespace quorrel {
namespace {

constexpr double kFourPi = 4 * std::numbers::pi;

struct Medium {
  double d = 0, rho = 0, imRho = 0, sigma = 0;
};

//! A stack from its media, ambient first and substrate last.
LayerStack MakeStack(const std::vector<Medium>& media) {
  const int n = static_cast<int>(media.size()) - 2;
  LayerStack stack(n);
  for (int j = 0; j <= n + 1; ++j) {
    const Medium& m = media[static_cast<std::size_t>(j)];
    stack.setRho(j, m.rho);
    stack.setImRho(j, m.imRho);
    if (j >= 1) stack.setSigma(j, m.sigma);
    if (j >= 1 && j <= n) stack.setThickness(j, m.d);
  }
  return stack;
}

double R(const LayerStack& stack, double qz) {
  ReflectanceWorkspace workspace;
  return Reflectance(stack, qz, workspace);
}

//! |r|² of a sharp stack by the characteristic-matrix method with principal square roots,
//! written independently of the recursion.
double CharacteristicMatrixReflectance(const std::vector<Medium>& media, double qz) {
  using C = std::complex<double>;
  const double k0sq = qz * qz / 4;
  auto kz = [&](const Medium& m) {
    return std::sqrt(C(k0sq - kFourPi * (m.rho - media.front().rho), kFourPi * m.imRho));
  };
  C m11 = 1, m12 = 0, m21 = 0, m22 = 1;
  for (std::size_t j = 1; j + 1 < media.size(); ++j) {
    const C p = kz(media[j]);
    const C beta = p * media[j].d;
    const C a11 = std::cos(beta), a12 = -C(0, 1) * std::sin(beta) / p;
    const C a21 = -C(0, 1) * p * std::sin(beta), a22 = std::cos(beta);
    const C n11 = m11 * a11 + m12 * a21, n12 = m11 * a12 + m12 * a22;
    const C n21 = m21 * a11 + m22 * a21, n22 = m21 * a12 + m22 * a22;
    m11 = n11, m12 = n12, m21 = n21, m22 = n22;
  }
  const C p0 = kz(media.front());
  const C ps = kz(media.back());
  const C top = (m11 + m12 * ps) * p0;
  const C bottom = m21 + m22 * ps;
  return std::norm((top - bottom) / (top + bottom));
}

TEST(Reflectance, SingleRoughInterfaceMatchesClosedForm) {
  const double sigma = 4.0;
  const LayerStack stack = MakeStack({{0, 0, 0, 0}, {0, 2.073e-6, 0, sigma}});
  for (double qz : {0.02, 0.05, 0.1, 0.3}) {
    const double k0 = qz / 2;
    const double k1 = std::sqrt(k0 * k0 - kFourPi * 2.073e-6);
    const double r = (k0 - k1) / (k0 + k1) * std::exp(-2 * sigma * sigma * k0 * k1);
    EXPECT_NEAR(R(stack, qz) / (r * r), 1.0, 1e-12) << "Qz = " << qz;
  }
}

TEST(Reflectance, TotalReflectionBelowTheCriticalEdge) {
  const LayerStack silicon = MakeStack({{0, 0, 0, 0}, {0, 2.073e-6, 0, 0}});
  for (double qz : {0.0, 0.002, 0.006, 0.0100}) EXPECT_NEAR(R(silicon, qz), 1.0, 1e-12);
  EXPECT_LT(R(silicon, 0.0105), 0.9);
  EXPECT_LT(R(silicon, 0.05), 1e-3);
  const LayerStack absorbing = MakeStack({{0, 0, 0, 0}, {0, 2.073e-6, 1e-8, 0}});
  EXPECT_LT(R(absorbing, 0.006), 1.0);
}

TEST(Reflectance, TenLayerAbsorbingMultilayerMatchesCharacteristicMatrix) {
  std::vector<Medium> media{{0, 0, 0, 0}};
  for (int j = 0; j < 10; ++j) {
    media.push_back(j % 2 == 0 ? Medium{37.5 + j, 6.2e-6, 3e-9 + 1e-10 * j, 0}
                               : Medium{21.0 + 0.5 * j, 1.1e-6, 8e-8, 0});
  }
  media.push_back({0, 2.07e-6, 5e-9, 0});
  const LayerStack stack = MakeStack(media);
  double worst = 0;
  for (int i = 0; i < 200; ++i) {
    const double qz = 0.0005 + i * 0.0015;
    const double expected = CharacteristicMatrixReflectance(media, qz);
    worst = std::max(worst, std::fabs(R(stack, qz) / expected - 1));
  }
  EXPECT_LT(worst, 1e-10);
}

TEST(Reflectance, IsEvenInQz) {
  const LayerStack stack = MakeStack(
      {{0, 1e-7, 0, 0}, {100, 3.45e-6, 1e-7, 3}, {200, 5e-6, 1e-8, 1}, {0, 6e-6, 0, 5}});
  for (double qz : {0.003, 0.01, 0.04, 0.2}) EXPECT_EQ(R(stack, qz), R(stack, -qz));
}

TEST(Reflectance, NegativeThicknessActsAsPositive) {
  const LayerStack positive = MakeStack({{0, 0, 0, 0}, {25, 3.475e-6, 0, 3}, {0, 2.073e-6, 0, 5}});
  const LayerStack negative = MakeStack({{0, 0, 0, 0}, {-25, 3.475e-6, 0, 3}, {0, 2.073e-6, 0, 5}});
  for (double qz : {0.01, 0.08, 0.21}) EXPECT_EQ(R(positive, qz), R(negative, qz));
}

TEST(Reflectance, UnabsorbedOverflowRaises) {
  const LayerStack stack = MakeStack({{0, 0, 0, 0}, {10, 1e308, 0, 0}, {0, 2e-6, 0, 0}});
  EXPECT_THROW(R(stack, 0.05), ArithmeticFault);
}

TEST(Reflectance, EvaluatesTheLargestStack) {
  std::vector<Medium> media{{0, 0, 0, 0}};
  for (int j = 0; j < LayerStack::kMaxLayers; ++j) media.push_back({1, 2e-6 + 1e-9 * (j % 7), 0, 0});
  media.push_back({0, 2.073e-6, 0, 0});
  const LayerStack stack = MakeStack(media);
  const double value = R(stack, 0.05);
  EXPECT_TRUE(std::isfinite(value));
  EXPECT_GE(value, 0.0);
  EXPECT_LE(value, 1.0);
  EXPECT_THROW(LayerStack(LayerStack::kMaxLayers + 1), std::out_of_range);
}

TEST(PointReflectivity, ZeroResolutionSmearsToTheBareValue) {
  const LayerStack stack = MakeStack({{0, 0, 0, 0}, {25, 3.475e-6, 1.05e-11, 3}, {0, 2.073e-6, 0, 5}});
  ReflectanceWorkspace workspace;
  const double bare = PointReflectivity(stack, {}, 0, 0, 0.07, workspace);
  EXPECT_EQ(bare, R(stack, 0.07));
  EXPECT_NEAR(PointReflectivity(stack, {.smear = true}, 0, 0, 0.07, workspace) / bare, 1, 1e-15);
}

TEST(PointReflectivity, BackgroundSetsTheFloor) {
  const LayerStack stack = MakeStack({{0, 0, 0, 0}, {0, 2.073e-6, 0, 5}});
  ReflectanceWorkspace workspace;
  const double value =
      PointReflectivity(stack, {.addBackground = true}, 1e-6, 0, 0.5, workspace);
  EXPECT_NEAR(value, 1e-6, 1e-9);
  EXPECT_LT(PointReflectivity(stack, {}, 1e-6, 0, 0.5, workspace), 1e-9);
}

TEST(PointReflectivity, KernelIsTheNinePointGaussianOfHalfWidthB) {
  // With a stack whose reflectance is R0 + c·(Qz - q)² near q, the kernel's average is
  // R0 + c·Σw·x²/Σw, and Σw·x² / Σw = b²·(2·0.135 + 2·0.325·9/16 + 2·0.605/4 + 2·0.88/16)/4.89.
  // A far-above-edge Fresnel curve is close enough to a parabola over a small window.
  const LayerStack stack = MakeStack({{0, 0, 0, 0}, {0, 2.073e-6, 0, 0}});
  ReflectanceWorkspace workspace;
  const double qz = 0.1, b = 0.002, h = 1e-4;
  const double r0 = R(stack, qz);
  const double curvature = (R(stack, qz + h) - 2 * r0 + R(stack, qz - h)) / (h * h) / 2;
  const double moment = (2 * 0.135 + 2 * 0.325 * 9 / 16 + 2 * 0.605 / 4 + 2 * 0.88 / 16) / 4.89;
  const double expected = r0 + curvature * moment * b * b;
  const double smeared = PointReflectivity(stack, {.smear = true}, 0, b, qz, workspace);
  EXPECT_NEAR((smeared - r0) / (expected - r0), 1.0, 0.02);
}

//! One case of the community's validation suite: media and reference curve.
struct ReferenceCase {
  std::vector<Medium> media;
  std::vector<std::vector<double>> rows;  // Q, R [, dR, dQ]
};

std::vector<std::vector<double>> ReadColumns(const std::string& path) {
  std::ifstream in(path);
  EXPECT_TRUE(in) << path;
  std::vector<std::vector<double>> rows;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::vector<double> row;
    for (double v; fields >> v;) row.push_back(v);
    if (!row.empty()) rows.push_back(row);
  }
  return rows;
}

ReferenceCase LoadCase(const std::string& name) {
  const std::string dir = std::string(QUORREL_TEST_DATA) + "/orso/";
  ReferenceCase c;
  for (const auto& row : ReadColumns(dir + name + ".layers")) {
    // Thickness, SLD and iSLD in 1e-6 Å⁻², roughness of the interface above.
    c.media.push_back({row[0], row[1] * 1e-6, row[2] * 1e-6, row[3]});
  }
  c.media.front().imRho = 0;  // the suite ignores the fronting medium's absorption
  c.rows = ReadColumns(dir + name + ".dat");
  return c;
}

double WorstRelativeDeviation(const ReferenceCase& c, bool smeared) {
  const LayerStack stack = MakeStack(c.media);
  ReflectanceWorkspace workspace;
  double worst = 0;
  for (const auto& row : c.rows) {
    const double b = smeared ? 2 * row[3] : 0;  // the kernel samples ±b at sd b/2
    const double value = PointReflectivity(stack, {.smear = smeared}, 0, b, row[0], workspace);
    worst = std::max(worst, std::fabs(value / row[1] - 1));
  }
  return worst;
}

TEST(ReferenceCurves, AbsorbingFourMediaStack) {
  const ReferenceCase c = LoadCase("test0");
  ASSERT_EQ(c.media.size(), 4u);
  ASSERT_EQ(c.rows.size(), 1001u);
  EXPECT_LT(WorstRelativeDeviation(c, false), 8e-5);
}

TEST(ReferenceCurves, RoughAirWaterInterface) {
  const ReferenceCase c = LoadCase("test2");
  ASSERT_EQ(c.rows.size(), 1001u);
  EXPECT_LT(WorstRelativeDeviation(c, false), 8e-5);
}

TEST(ReferenceCurves, SmearedAbsorbingStack) {
  const ReferenceCase c = LoadCase("test4");
  ASSERT_EQ(c.rows.size(), 101u);
  // The kernel is a Gaussian cut at two standard deviations and sampled at nine points: it
  // follows the fine quadrature to about 1 % on the fringes and 4.4 % on the steep edge.
  EXPECT_LT(WorstRelativeDeviation(c, true), 0.05);
}

}  // namespace
}  // namespace quorrel
