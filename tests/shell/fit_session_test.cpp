#include "shell/fit_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "common/decimal_separator.h"
#include "common/number_format.h"
#include "../fit/fit_test_models.h"
#include "model/profile_function.h"

namespace quorrel {
namespace {

constexpr int kD1 = 3;  // d_1 of the two-layer model

FitData Data(int points = 40) {
  return testing::SimulatedData(testing::TwoLayerModel(), testing::QzGrid(0.01, 0.2, points), {},
                                1e-3, 1);
}

//! The two-layer model with d_1 off by 10 %.
SampleModel Start() {
  SampleModel model = testing::TwoLayerModel();
  model.baseGrid.setCell(2, kColThickness, "66");
  return model;
}

TEST(FitSessionTest, EveryOpeningStartsWithNothingTicked) {
  FitSession session(1);
  session.open(Start(), Data());
  EXPECT_EQ(session.state(), FitDialogState::Idle);
  EXPECT_TRUE(session.toggleVary(2));
  EXPECT_TRUE(session.toggleVary(5));
  EXPECT_TRUE(session.toggleVary(5));
  std::vector<FitParameter> entries = session.entries();
  // The model's 13 entries, then the measurement's scale.
  ASSERT_EQ(entries.size(), 14u);
  EXPECT_EQ(entries[13].label.rfind("scale [", 0), 0u) << entries[13].label;
  EXPECT_TRUE(entries[2].vary);
  EXPECT_FALSE(entries[5].vary);
  session.cancel();
  session.open(Start(), Data());
  for (const FitParameter& entry : session.entries()) EXPECT_FALSE(entry.vary) << entry.index;
  EXPECT_THROW(session.toggleVary(14), std::out_of_range);
}

TEST(FitSessionTest, TheToleranceFieldFollowsTheRunModeAndItsLimits) {
  FitSession session(1);
  EXPECT_TRUE(session.toleranceEnabled());
  session.setRunMode(RunMode::CalculateChiSquare);
  EXPECT_FALSE(session.toleranceEnabled());
  session.setRunMode(RunMode::IterateToMinimum);
  EXPECT_TRUE(session.toleranceEnabled());
  EXPECT_TRUE(session.setTolerance(1e-37));
  EXPECT_TRUE(session.setTolerance(1.0));
  EXPECT_FALSE(session.setTolerance(1.5));
  EXPECT_FALSE(session.setTolerance(0.0));
  EXPECT_EQ(session.settings().tolerance, 1.0);
}

TEST(FitSessionTest, OkWithoutARunWritesTheRoundedModelBack) {
  const ScopedDecimalSeparator point('.');
  FitSession session(1);
  SampleModel model = Start();
  model.baseGrid.setCell(2, kColRho, "4.00004e-6");
  session.open(model, Data());
  EXPECT_FALSE(session.fitAccepted());
  EXPECT_TRUE(session.ok());
  EXPECT_EQ(session.result(), DialogResult::Ok);
  EXPECT_EQ(session.state(), FitDialogState::Closed);
  EXPECT_TRUE(session.fitAccepted());
  EXPECT_EQ(session.model().baseGrid.cell(2, kColRho), "4E-6");
  session.clearFitAccepted();
  EXPECT_FALSE(session.fitAccepted());
}

TEST(FitSessionTest, ARunShowsItsProgressAndOkWritesTheFit) {
  const ScopedDecimalSeparator point('.');
  FitSession session(3);
  session.open(Start(), Data());
  session.toggleVary(kD1 - 1);
  std::vector<std::string> status;
  std::string lastChi;
  bool listDisabled = true;
  FitDialogEvents events;
  events.statusText = [&](const std::string& text) {
    status.push_back(text);
    listDisabled = listDisabled && !session.listEnabled() && session.stopEnabled();
  };
  events.chiSquareText = [&](const std::string& text) { lastChi = text; };
  const DoItResult result = session.doIt(events);
  ASSERT_TRUE(result.outcome) << result.refusal;
  EXPECT_NE(result.outcome->state, FitEndState::Failed);
  ASSERT_GE(status.size(), 3u);
  EXPECT_EQ(status[0], "3 : 1");
  EXPECT_EQ(status[1], "3 : 2");
  EXPECT_TRUE(listDisabled);
  EXPECT_EQ(session.statusText(), "");
  EXPECT_EQ(lastChi, session.chiSquareText());
  EXPECT_EQ(session.chiSquareText().size(), 10u);  // "0.0000E+00"
  EXPECT_EQ(session.state(), FitDialogState::Idle);
  EXPECT_TRUE(session.listEnabled());
  EXPECT_FALSE(session.stopEnabled());
  EXPECT_NEAR(session.parameters()[kD1], 60.0, 0.6);
  EXPECT_EQ(session.entries()[kD1 - 1].label.substr(0, 10), "d_1 =     ");
  ASSERT_TRUE(session.ok());
  EXPECT_EQ(session.model().baseGrid.cell(2, kColThickness),
            FormatPattern(session.parameters()[kD1], "##0.##"));
}

TEST(FitSessionTest, CancelAfterARunKeepsTheModel) {
  FitSession session(3);
  session.open(Start(), Data());
  session.toggleVary(kD1 - 1);
  ASSERT_TRUE(session.doIt().outcome);
  EXPECT_NE(session.parameters()[kD1], 66.0);
  session.cancel();
  EXPECT_EQ(session.result(), DialogResult::Cancel);
  EXPECT_FALSE(session.fitAccepted());
  EXPECT_EQ(session.model().baseGrid.cell(2, kColThickness), "66");
  EXPECT_EQ(session.doIt().refusal, "the fit dialog is not open");
  // The next opening starts from the model again.
  session.open(Start(), Data());
  EXPECT_EQ(session.parameters()[kD1], 66.0);
}

TEST(FitSessionTest, CancelDuringARunEndsItAndDiscardsTheResult) {
  FitSession session(3);
  session.open(Start(), Data());
  session.toggleVary(kD1 - 1);
  FitDialogEvents events;
  events.statusText = [&session](const std::string& text) {
    if (text == "3 : 2") session.cancel();
  };
  const DoItResult result = session.doIt(events);
  ASSERT_TRUE(result.outcome);
  EXPECT_EQ(result.outcome->state, FitEndState::Stopped);
  EXPECT_EQ(session.result(), DialogResult::Cancel);
  EXPECT_EQ(session.state(), FitDialogState::Closed);
  EXPECT_FALSE(session.fitAccepted());
  EXPECT_EQ(session.model().baseGrid.cell(2, kColThickness), "66");
}

TEST(FitSessionTest, OkDuringARunWritesBackAfterTheRun) {
  FitSession session(3);
  session.open(Start(), Data());
  session.toggleVary(kD1 - 1);
  bool accepted = false;
  FitDialogEvents events;
  events.statusText = [&](const std::string& text) {
    if (text == "3 : 1") {
      accepted = session.ok();
      EXPECT_EQ(session.state(), FitDialogState::Running);
      EXPECT_FALSE(session.toggleVary(0));  // the list is disabled
      EXPECT_EQ(session.doIt().refusal, "a fit is already running");
    }
  };
  const DoItResult result = session.doIt(events);
  ASSERT_TRUE(result.outcome);
  EXPECT_TRUE(accepted);
  EXPECT_EQ(session.result(), DialogResult::Ok);
  EXPECT_TRUE(session.fitAccepted());
  EXPECT_NE(session.model().baseGrid.cell(2, kColThickness), "66");
}

//! Data with one zero error, so that "use given errors" fails at once.
FitData FailingData() {
  FitData data = Data();
  data.measured().dr[5] = 0.0;
  return data;
}

TEST(FitSessionTest, AFailedRunDisablesOkUntilTheNextSuccessOrOpening) {
  FitSession session(3);
  session.setWeighting(Weighting::GivenErrors);
  session.open(Start(), FailingData());
  session.toggleVary(kD1 - 1);
  bool pressed = false;
  FitDialogEvents events;
  events.statusText = [&](const std::string&) { pressed = pressed || session.ok(); };
  const DoItResult failed = session.doIt(events);
  ASSERT_TRUE(failed.outcome);
  EXPECT_EQ(failed.outcome->state, FitEndState::Failed);
  EXPECT_EQ(failed.outcome->message, "one of the parameters ran out of bounds...");
  // "&OK" pressed during the run does not write the failing values back.
  EXPECT_TRUE(pressed);
  EXPECT_EQ(session.state(), FitDialogState::Failed);
  EXPECT_EQ(session.result(), DialogResult::None);
  EXPECT_FALSE(session.okEnabled());
  EXPECT_FALSE(session.ok());
  EXPECT_FALSE(session.fitAccepted());
  EXPECT_TRUE(session.listEnabled());

  // A successful run enables "&OK" again.
  session.setWeighting(Weighting::Statistical);
  ASSERT_TRUE(session.doIt().outcome);
  EXPECT_TRUE(session.okEnabled());

  session.setWeighting(Weighting::GivenErrors);
  ASSERT_EQ(session.doIt().outcome->state, FitEndState::Failed);
  session.cancel();
  session.open(Start(), FailingData());
  EXPECT_TRUE(session.okEnabled());
}

TEST(FitSessionTest, AnEmptyRegionIsRefusedBeforeAnyEvaluation) {
  FitSession session(1);
  FitData data = Data();
  data.measured().fitRegionLow = 0.05;
  data.measured().fitRegionHigh = -1.0;
  session.open(Start(), data);
  session.toggleVary(kD1 - 1);
  bool anyEvent = false;
  FitDialogEvents events;
  events.statusText = [&anyEvent](const std::string&) { anyEvent = true; };
  events.chiSquareText = [&anyEvent](const std::string&) { anyEvent = true; };
  const DoItResult result = session.doIt(events);
  EXPECT_FALSE(result.outcome);
  EXPECT_EQ(result.refusal,
            "the fitting region holds no measured point: select a region that contains at least "
            "one");
  EXPECT_FALSE(anyEvent);
  EXPECT_EQ(session.state(), FitDialogState::Idle);
}

TEST(FitSessionTest, NoSearchShowsTheChiSquareOfTheCurrentValues) {
  const ScopedDecimalSeparator point('.');
  FitSession session(1);
  session.open(Start(), Data());
  const DoItResult iterated = session.doIt();
  ASSERT_TRUE(iterated.outcome);
  EXPECT_EQ(iterated.outcome->state, FitEndState::Converged);
  EXPECT_TRUE(session.convergedShown());
  const std::string shown = session.chiSquareText();
  EXPECT_NE(shown, "0.0000E+00");
  session.setRunMode(RunMode::CalculateChiSquare);
  const DoItResult calculated = session.doIt();
  EXPECT_EQ(calculated.outcome->state, FitEndState::Calculated);
  EXPECT_FALSE(session.convergedShown());
  EXPECT_EQ(session.chiSquareText(), shown);
  EXPECT_EQ(calculated.outcome->chiSquare, iterated.outcome->chiSquare);
  session.toggleVary(0);
  EXPECT_FALSE(session.convergedShown());
  session.cancel();
  session.open(Start(), Data());
  EXPECT_EQ(session.chiSquareText(), "0");
}

TEST(FitSessionTest, AFailingUserFunctionSaysSoInTheStatusText) {
  // A profile function appended to layer 1 that divides by zero at every step.
  SampleModel model = Start();
  model.type = SampleType::ProfileFunction;
  model.edtFunctionLayer = 1;
  model.edtNumCalcLayers = 5;
  model.edtLayerThickness = 2;
  model.function.kind = FunctionKind::UserDefined;
  model.function.expression = "A/(Z-Z)";
  ASSERT_FALSE(CompileUserFunction(model));
  FitSession session(1);
  session.open(model, Data());
  std::vector<std::string> shown;
  FitDialogEvents events;
  events.statusText = [&shown](const std::string& text) { shown.push_back(text); };
  session.toggleVary(2);
  ASSERT_TRUE(session.doIt(events).outcome);
  EXPECT_NE(std::find(shown.begin(), shown.end(), kUserFunctionError), shown.end());
  EXPECT_EQ(session.statusText(), kUserFunctionError);

  // A sound function leaves the status text clear.
  model.function.expression = "A*Z";
  ASSERT_FALSE(CompileUserFunction(model));
  session.cancel();
  session.open(model, Data());
  session.toggleVary(2);
  ASSERT_TRUE(session.doIt().outcome);
  EXPECT_EQ(session.statusText(), "");
}

TEST(FitSessionTest, StopFromAnotherThreadEndsARunningFit) {
  FitSession session(5);
  session.open(Start(), Data(200));
  session.toggleVary(kD1 - 1);
  session.toggleVary(6);
  session.toggleVary(4);
  session.setTolerance(1e-37);  // nothing but the stop ends this run soon
  std::atomic<int> trials{0};
  FitDialogEvents events;
  events.statusText = [&trials](const std::string&) { ++trials; };
  std::optional<DoItResult> result;
  std::atomic<bool> done{false};
  std::thread worker([&] {
    result = session.doIt(events);
    done = true;
  });
  while (trials < 20 && !done) std::this_thread::yield();
  session.stop();
  worker.join();
  ASSERT_TRUE(result && result->outcome);
  EXPECT_EQ(result->outcome->state, FitEndState::Stopped);
  EXPECT_EQ(session.state(), FitDialogState::Idle);
}

// A window starts the run on its own thread and runs it on a worker: a Stop pressed before the
// worker got going still ends the run after its first trial, for either method.
TEST(FitSessionTest, AStopPressedRightAfterTheStartIsNotLost) {
  for (const FitMethod method : {FitMethod::RandomSearch, FitMethod::LevenbergMarquardt}) {
    FitSession session(5);
    session.setMethod(method);
    session.open(Start(), Data(200));
    for (const int entry : {kD1 - 1, 4, 6}) session.toggleVary(entry);
    session.setTolerance(1e-37);
    ASSERT_EQ(session.start(), "");
    EXPECT_EQ(session.state(), FitDialogState::Running);
    EXPECT_EQ(session.start(), "a fit is already running");
    session.stop();
    const DoItResult result = session.runStarted();
    ASSERT_TRUE(result.outcome) << result.refusal;
    EXPECT_EQ(result.outcome->state, FitEndState::Stopped);
    if (method == FitMethod::LevenbergMarquardt) {
      EXPECT_EQ(result.outcome->iterations, 1);
    }
    EXPECT_EQ(session.state(), FitDialogState::Idle);
    // The stop belonged to that run: the next one goes to its end.
    session.setTolerance(1e-6);
    const DoItResult next = session.doIt();
    ASSERT_TRUE(next.outcome);
    EXPECT_NE(next.outcome->state, FitEndState::Stopped);
  }
}

TEST(FitSessionTest, ALeastSquaresRunListsEachVariedValueWithItsStandardError) {
  const ScopedDecimalSeparator point('.');
  FitSession session(1);
  session.setMethod(FitMethod::LevenbergMarquardt);
  EXPECT_FALSE(session.toleranceEnabled());
  session.open(Start(), Data());
  session.toggleVary(kD1 - 1);
  std::vector<std::string> status;
  FitDialogEvents events;
  events.statusText = [&status](const std::string& text) { status.push_back(text); };
  const DoItResult result = session.doIt(events);
  ASSERT_TRUE(result.outcome) << result.refusal;
  EXPECT_EQ(result.outcome->state, FitEndState::Converged);
  EXPECT_TRUE(session.convergedShown());
  ASSERT_FALSE(status.empty());
  EXPECT_EQ(status[0], "iteration 1");
  EXPECT_EQ(session.statusText(), "");

  const std::optional<FitUncertainties> u = session.uncertainties();
  ASSERT_TRUE(u);
  EXPECT_NEAR(session.parameters()[kD1], 60.0, 5 * u->standardErrors[0]);
  const std::vector<FitParameter> entries = session.entries();
  EXPECT_EQ(entries[kD1 - 1].label,
            ParameterLabel(session.parameters(), kD1) + " \u00b1 " +
                FormatGeneral(std::stod(FormatPattern(u->standardErrors[0], "0.0E+00"))));
  EXPECT_EQ(entries[kD1].label.find("\u00b1"), std::string::npos);

  // A run of another kind forgets them.
  session.setRunMode(RunMode::CalculateChiSquare);
  ASSERT_TRUE(session.doIt().outcome);
  EXPECT_FALSE(session.uncertainties());
  EXPECT_EQ(session.entries()[kD1 - 1].label, ParameterLabel(session.parameters(), kD1));
  ASSERT_TRUE(session.ok());
  EXPECT_EQ(session.model().baseGrid.cell(2, kColThickness),
            FormatPattern(session.parameters()[kD1], "##0.##"));
}

TEST(FitSessionTest, LeastSquaresNeedMorePointsThanVariedValues) {
  FitSession session(1);
  session.setMethod(FitMethod::LevenbergMarquardt);
  session.open(Start(), Data(3));
  for (const int entry : {2, 5, 6}) session.toggleVary(entry);
  EXPECT_EQ(session.doIt().refusal,
            "the fitting region holds no more measured points than there are values to vary: "
            "Levenberg-Marquardt needs more points");
  EXPECT_EQ(session.state(), FitDialogState::Idle);
  session.toggleVary(6);
  ASSERT_TRUE(session.doIt().outcome);
}

TEST(FitSessionTest, CancelDuringALeastSquaresRunEndsItAndDiscardsTheResult) {
  FitSession session(1);
  session.setMethod(FitMethod::LevenbergMarquardt);
  session.open(Start(), Data());
  session.toggleVary(kD1 - 1);
  FitDialogEvents events;
  events.statusText = [&session](const std::string& text) {
    if (text == "iteration 2") session.cancel();
  };
  const DoItResult result = session.doIt(events);
  ASSERT_TRUE(result.outcome);
  EXPECT_EQ(result.outcome->state, FitEndState::Stopped);
  EXPECT_EQ(result.outcome->iterations, 2);
  EXPECT_EQ(session.result(), DialogResult::Cancel);
  EXPECT_FALSE(session.fitAccepted());
  EXPECT_EQ(session.model().baseGrid.cell(2, kColThickness), "66");
}

}  // namespace
}  // namespace quorrel
