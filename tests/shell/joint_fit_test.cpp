// Several measurements, bounds and links, through the session that the dialog and the command
// line drive.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "../fit/fit_test_models.h"
#include "fit/parameter_layout.h"
#include "shell/fit_session.h"

namespace quorrel {
namespace {

constexpr double kD2O = 6.35e-6;

//! The two-layer model's data scaled by `scale`, with the bulk's rho replaced by `bulkRho`.
FitData Contrast(const std::string& label, const std::string& bulkRho, double scale,
                 unsigned seed) {
  SampleModel model = testing::TwoLayerModel();
  model.baseGrid.setCell(model.lastRow(), kColRho, bulkRho);
  FitData data = testing::SimulatedData(model, testing::QzGrid(0.01, 0.25, 120), {}, 0.02, seed);
  for (std::size_t i = 0; i < data.measured().r.size(); ++i) {
    data.measured().r[i] *= scale;
    data.measured().dr[i] *= scale;
  }
  data.measurement.label = label;
  return data;
}

//! The list position of the entry whose label starts with `name`.
int Position(const FitSession& session, const std::string& name) {
  const std::vector<FitParameter> entries = session.entries();
  for (std::size_t e = 0; e < entries.size(); ++e) {
    if (entries[e].label.rfind(name, 0) == 0) return static_cast<int>(e);
  }
  ADD_FAILURE() << "no entry " << name;
  return 0;
}

void Tick(FitSession& session, const std::string& name) {
  ASSERT_TRUE(session.toggleVary(Position(session, name)));
}

double Value(const FitSession& session, const std::string& name) {
  return session.parameters()[session.entries()[static_cast<std::size_t>(Position(session, name))]
                                  .index];
}

//! The two-layer model with d_1 and d_2 off and an H2O bulk, fitted to an H2O and a D2O
//! contrast with their own scales.
TEST(JointFitTest, TwoContrastsRecoverTheSharedThicknessesAndEachScale) {
  std::vector<FitData> data{Contrast("H2O", "-0.56e-6", 0.9, 3), Contrast("D2O", "6.35e-6", 1.1, 4)};
  SampleModel start = testing::TwoLayerModel();
  start.baseGrid.setCell(2, kColThickness, "63");
  start.baseGrid.setCell(3, kColThickness, "116");
  start.baseGrid.setCell(start.lastRow(), kColRho, "-0.56e-6");
  const int bulkRho = LayoutOf(start).bulkIndex(Quantity::Rho);
  data[1].measurement.overrides.push_back({bulkRho, kD2O});

  FitSession session(1);
  session.setMethod(FitMethod::LevenbergMarquardt);
  session.setWeighting(Weighting::GivenErrors);
  session.open(start, data);
  EXPECT_GT(Position(session, "rho_bulk [D2O]"), Position(session, "scale [D2O]"));
  for (const char* name : {"d_1", "d_2", "scale [H2O]", "scale [D2O]"}) Tick(session, name);
  const DoItResult result = session.doIt();
  ASSERT_TRUE(result.outcome && result.outcome->uncertainties) << result.refusal;
  const FitUncertainties& u = *result.outcome->uncertainties;
  const std::vector<double> truth{60, 120, 0.9, 1.1};
  for (std::size_t c = 0; c < truth.size(); ++c) {
    const double fitted = session.parameters()[u.varied[c]];
    EXPECT_LT(std::abs(fitted - truth[c]), 3 * u.standardErrors[c]) << c << ": " << fitted;
  }
  // Each contrast's own chi-square is about one with the given errors.
  const auto chiSquares = session.measurementChiSquares();
  ASSERT_EQ(chiSquares.size(), 2u);
  for (const auto& chi : chiSquares) EXPECT_NEAR(chi.value_or(0.0), 1.0, 0.4);
  ASSERT_TRUE(session.ok());
  EXPECT_NEAR(session.measurements()[1].scale, 1.1, 3 * u.standardErrors[3]);
  EXPECT_DOUBLE_EQ(session.measurements()[1].overrides[0].value, kD2O);
}

TEST(JointFitTest, BoundsHoldInBothMethodsAndRefuseAStartOutside) {
  for (const FitMethod method : {FitMethod::RandomSearch, FitMethod::LevenbergMarquardt}) {
    FitSession session(2);
    session.setMethod(method);
    SampleModel start = testing::TwoLayerModel();
    start.baseGrid.setCell(2, kColThickness, "66");
    session.open(start, Contrast("film", "2.07e-6", 1.0, 5));
    Tick(session, "d_1");
    const int d1 = Position(session, "d_1");
    // The truth, 60, lies below the lower bound.
    ASSERT_TRUE(session.setBounds(d1, {63.0, 70.0}));
    EXPECT_FALSE(session.setBounds(d1, {70.0, 63.0}));
    const DoItResult bounded = session.doIt();
    ASSERT_TRUE(bounded.outcome) << bounded.refusal;
    EXPECT_GE(Value(session, "d_1"), 63.0);
    EXPECT_NEAR(Value(session, "d_1"), 63.0, 0.05);
    ASSERT_TRUE(session.setBounds(d1, {40.0, 50.0}));
    EXPECT_NE(session.start().find("d_1 lies outside its bounds"), std::string::npos);
  }
}

TEST(JointFitTest, LinksFollowTheirEntriesAndBadOnesAreRefusedByName) {
  FitSession session(3);
  session.setMethod(FitMethod::LevenbergMarquardt);
  SampleModel start = testing::TwoLayerModel();
  start.baseGrid.setCell(2, kColThickness, "64");
  start.baseGrid.setCell(3, kColThickness, "110");
  session.open(start, Contrast("film", "2.07e-6", 1.0, 6));
  const int d1 = Position(session, "d_1"), d2 = Position(session, "d_2");
  EXPECT_NE(session.setLink(d2, "2 * d_1 +").find("d_2"), std::string::npos);
  EXPECT_NE(session.setLink(d2, "unknown_name").find("d_2"), std::string::npos);
  ASSERT_EQ(session.setLink(d2, "2 * d_1"), "");
  std::string byNumber = std::to_string(session.entries()[static_cast<std::size_t>(d2)].index);
  byNumber.insert(byNumber.begin(), 'p');
  const std::string cycle = session.setLink(d1, byNumber + " / 2");
  EXPECT_NE(cycle.find("depends on itself"), std::string::npos) << cycle;
  // A ticked linked entry follows its link instead of being varied.
  Tick(session, "d_1");
  Tick(session, "d_2");
  const DoItResult result = session.doIt();
  ASSERT_TRUE(result.outcome && result.outcome->uncertainties) << result.refusal;
  EXPECT_EQ(result.outcome->uncertainties->varied.size(), 1u);
  EXPECT_NEAR(Value(session, "d_1"), 60.0, 0.5);
  EXPECT_DOUBLE_EQ(Value(session, "d_2"), 2 * Value(session, "d_1"));
  ASSERT_EQ(session.setup().size(), 2u);
  EXPECT_EQ(session.setup()[1].link, "2 * d_1");

  // A setup finds its entries by name after another measurement in front moved the numbers.
  std::vector<EntrySetup> setup = session.setup();
  Tick(session, "scale [film]");
  setup.push_back(session.setup().back());
  FitSession moved(4);
  moved.open(start, {Contrast("front", "2.07e-6", 1.0, 8), Contrast("film", "2.07e-6", 1.0, 6)});
  ASSERT_EQ(moved.applySetup(setup), "");
  const std::vector<FitParameter> entries = moved.entries();
  EXPECT_TRUE(entries[static_cast<std::size_t>(Position(moved, "scale [film]"))].vary);
  EXPECT_FALSE(entries[static_cast<std::size_t>(Position(moved, "scale [front]"))].vary);
  setup.back().name = "scale [gone]";
  EXPECT_NE(moved.applySetup(setup).find("no entry scale [gone]"), std::string::npos);
}

//! A start far from the film (42 / 150 Å against 60 / 120 Å) inside wide bounds:
//! the global search finds the film between the bounds and its polish gives the errors.
TEST(JointFitTest, DifferentialEvolutionNeedsBoundsAndFindsTheFilmFromAPoorStart) {
  SampleModel start = testing::TwoLayerModel();
  start.baseGrid.setCell(2, kColThickness, "42");
  start.baseGrid.setCell(3, kColThickness, "150");
  const auto run = [&](std::uint64_t seed) {
    FitSession session(seed);
    session.setMethod(FitMethod::DifferentialEvolution);
    session.setWeighting(Weighting::GivenErrors);
    session.open(start, Contrast("film", "2.07e-6", 1.0, 7));
    Tick(session, "d_1");
    Tick(session, "d_2");
    EXPECT_TRUE(session.setBounds(Position(session, "d_1"), {30.0, 90.0}));
    const std::string refusal = session.start();
    EXPECT_NE(refusal.find("give d_2 a lower and an upper bound"), std::string::npos) << refusal;
    EXPECT_TRUE(session.setBounds(Position(session, "d_2"), {80.0, 160.0}));
    const DoItResult result = session.doIt();
    EXPECT_TRUE(result.outcome && result.outcome->uncertainties) << result.refusal;
    return std::vector<double>{Value(session, "d_1"), Value(session, "d_2")};
  };
  const std::vector<double> found = run(11);
  EXPECT_NEAR(found[0], 60.0, 0.5);
  EXPECT_NEAR(found[1], 120.0, 0.5);
  EXPECT_EQ(run(11), found);
}

}  // namespace
}  // namespace quorrel
