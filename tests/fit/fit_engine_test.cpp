#include "fit/fit_engine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>

#include "fit/chi_square.h"

namespace quorrel {
namespace {

//! A figure of merit given as a function of the set; records the value of one entry at every
//! apply and every evaluation.
class FakeObjective : public FitObjective {
 public:
  using Function = std::function<std::optional<double>(const ParameterSet&)>;
  FakeObjective(Function function, int watched)
      : function_(std::move(function)), watched_(watched) {}

  void apply(const ParameterSet& set) override {
    applied_ = set;
    applies.push_back(set[watched_]);
  }
  std::optional<double> evaluate() override {
    evaluated.push_back(applied_[watched_]);
    return function_(applied_);
  }
  const ReflCurve& evaluatedCurve() const override { return curve_; }
  std::optional<ReflCurve> calculate() override {
    if (!function_(applied_)) return std::nullopt;
    ReflCurve curve;
    curve.append(0.1, applied_[watched_]);
    return curve;
  }

  const ParameterSet& applied() const { return applied_; }
  std::vector<double> applies;
  std::vector<double> evaluated;

 private:
  Function function_;
  int watched_;
  ParameterSet applied_;
  ReflCurve curve_;
};

//! Independent layers with one layer: 9 values, all zero but those given.
ParameterSet OneLayerSet(std::initializer_list<std::pair<int, double>> values) {
  ParameterLayout layout;
  layout.layers = 1;
  ParameterSet set(layout);
  for (const auto& [index, value] : values) set[index] = value;
  return set;
}

FitRequest Iterate(std::vector<int> varied) {
  return {RunMode::IterateToMinimum, std::move(varied), false, {}};
}

//! Trial counters of every search, one vector per search.
struct TrialLog {
  std::vector<std::vector<int>> counters;
  std::vector<int> searched;
  FitEvents events() {
    FitEvents e;
    e.trial = [this](int index, int counter) {
      if (counter == 1) {
        counters.emplace_back();
        searched.push_back(index);
      }
      counters.back().push_back(counter);
    };
    return e;
  }
};

TEST(FitEngineTest, NothingVariedRunsOneIterationAndConverges) {
  ParameterSet set = OneLayerSet({{3, 2.0}});
  FakeObjective objective([](const ParameterSet& s) { return s[3] * 0.5; }, 3);
  RunControl control;
  FitEngine engine(1);
  int iterations = 0;
  FitEvents events;
  events.iterated = [&iterations](double, const ReflCurve& curve) {
    ++iterations;
    EXPECT_EQ(curve.size(), 1u);
  };
  const FitOutcome outcome = engine.run(set, objective, Iterate({}), control, events);
  EXPECT_EQ(outcome.state, FitEndState::Converged);
  EXPECT_EQ(outcome.iterations, 1);
  EXPECT_EQ(iterations, 1);
  // The label shows the chi-square of the current values.
  EXPECT_EQ(outcome.chiSquare, 1.0);
  EXPECT_EQ(outcome.evaluations, 1);
}

TEST(FitEngineTest, FirstStepIsATenthOfTheValueOrAFixedStepAtZero) {
  for (const auto& [start, first] :
       {std::pair{5.0, 5.5}, std::pair{-5.0, -5.5}, std::pair{0.0, 1e-7}}) {
    ParameterSet set = OneLayerSet({{4, start}});
    FakeObjective objective([](const ParameterSet&) { return 1.0; }, 4);
    RunControl control;
    FitEngine engine(1);
    engine.run(set, objective, Iterate({4}), control);
    // applies: start of the run, then the first trial.
    ASSERT_GE(objective.applies.size(), 2u);
    EXPECT_EQ(objective.applies[0], start);
    EXPECT_EQ(objective.applies[1], first) << start;
  }
}

TEST(FitEngineTest, AcceptedTrialsDoubleTheStepAndRunUntestedForNinetyNineTrials) {
  // Every trial improves, by less than the tolerance after a few trials.
  ParameterSet set = OneLayerSet({{3, 1.0}});
  FakeObjective objective([](const ParameterSet& s) { return 1.0 / (1.0 + s[3]); }, 3);
  RunControl control(1e-6);
  FitEngine engine(1);
  TrialLog log;
  const FitOutcome outcome = engine.run(set, objective, Iterate({3}), control, log.events());
  ASSERT_GE(log.counters.size(), 1u);
  EXPECT_EQ(log.counters[0].size(), 100u);
  // Trial k moves by 0.1 * 2^(k-1).
  for (std::size_t k = 1; k <= 10; ++k) {
    EXPECT_NEAR(objective.applies[k] - objective.applies[k - 1], 0.1 * std::pow(2.0, k - 1), 1e-12);
  }
  EXPECT_EQ(outcome.state, FitEndState::BelowTolerance);
}

TEST(FitEngineTest, RejectedTrialsRestoreTheValueAndReverseAtHalfTheStep) {
  ParameterSet set = OneLayerSet({{3, 1.0}});
  FakeObjective objective([](const ParameterSet& s) { return (s[3] - 1.0) * (s[3] - 1.0); }, 3);
  RunControl control(1e-6);
  FitEngine engine(1);
  TrialLog log;
  const FitOutcome outcome = engine.run(set, objective, Iterate({3}), control, log.events());
  // Trials at 1 + 0.1, 1 - 0.05, 1 + 0.025, ... each followed by the exact restore; the
  // tolerance ends the search once the change (0.1 / 2^(k-1))^2 is at most 1e-6: k = 8.
  ASSERT_EQ(log.counters.size(), 1u);
  EXPECT_EQ(log.counters[0].size(), 8u);
  double step = 0.1;
  for (std::size_t k = 0; k < 8; ++k) {
    EXPECT_DOUBLE_EQ(objective.applies[1 + 2 * k], 1.0 + step) << k;
    EXPECT_EQ(objective.applies[2 + 2 * k], 1.0) << k;
    step *= -0.5;
  }
  EXPECT_EQ(set[3], 1.0);
  // One entry: no improvement in its only search, so the run has converged.
  EXPECT_EQ(outcome.state, FitEndState::Converged);
  EXPECT_EQ(outcome.chiSquare, 0.0);
  // Before the search, its start, and the eight trials.
  EXPECT_EQ(outcome.evaluations, 10);
}

TEST(FitEngineTest, TheToleranceIsReadAtEveryTest) {
  ParameterSet set = OneLayerSet({{3, 1.0}});
  FakeObjective objective([](const ParameterSet& s) { return (s[3] - 1.0) * (s[3] - 1.0); }, 3);
  RunControl control(1e-6);
  FitEngine engine(1);
  TrialLog log;
  FitEvents logged = log.events();
  FitEvents events;
  // Raised during the third trial: its test ends the search, although the change is 6e-4.
  events.trial = [&control, &logged](int index, int counter) {
    logged.trial(index, counter);
    if (counter == 3) control.setTolerance(1e-3);
  };
  engine.run(set, objective, Iterate({3}), control, events);
  EXPECT_EQ(log.counters[0].size(), 3u);
}

TEST(FitEngineTest, ASearchNeedsThreeTrialsBeforeTheToleranceEndsIt) {
  ParameterSet set = OneLayerSet({{3, 1.0}});
  FakeObjective objective([](const ParameterSet&) { return 1.0; }, 3);
  RunControl control(1e-6);
  FitEngine engine(1);
  TrialLog log;
  // Every trial is accepted with no change: from the 100th trial on each is tested, and the
  // first test already ends the search.
  engine.run(set, objective, Iterate({3}), control, log.events());
  EXPECT_EQ(log.counters[0].size(), 100u);

  ParameterSet rising = OneLayerSet({{3, 1.0}});
  FakeObjective steep([](const ParameterSet& s) { return 1e-12 * std::fabs(s[3] - 1.0); }, 3);
  TrialLog rejected;
  engine.run(rising, steep, Iterate({3}), control, rejected.events());
  // The first two rejected trials change less than the tolerance yet do not end the search.
  EXPECT_EQ(rejected.counters[0].size(), 3u);
}

TEST(FitEngineTest, StopEndsTheSearchAfterItsCurrentTrialAndAppliesTheValues) {
  ParameterSet set = OneLayerSet({{3, 1.0}});
  FakeObjective objective([](const ParameterSet& s) { return 1.0 / (1.0 + s[3]); }, 3);
  RunControl control(1e-6);
  FitEngine engine(1);
  TrialLog log;
  FitEvents logged = log.events();
  FitEvents events;
  events.trial = [&](int index, int counter) {
    logged.trial(index, counter);
    if (counter == 5) control.requestStop();
  };
  const FitOutcome outcome = engine.run(set, objective, Iterate({3}), control, events);
  EXPECT_EQ(log.counters[0].size(), 5u);
  EXPECT_EQ(outcome.state, FitEndState::Stopped);
  EXPECT_EQ(objective.applied()[3], set[3]);
  EXPECT_DOUBLE_EQ(set[3], 1.0 + 0.1 * 31);
}

TEST(FitEngineTest, CancelIsNoticedAtTheNextTestAndStopAfterTheCurrentTrial) {
  // Trials at 1.1 and 1.3 improve, 1.7 does not and is the first tested one.
  for (const bool cancel : {true, false}) {
    ParameterSet set = OneLayerSet({{3, 1.0}});
    FakeObjective objective([](const ParameterSet& s) { return (s[3] - 1.25) * (s[3] - 1.25); }, 3);
    RunControl control(1e-6);
    FitEngine engine(1);
    TrialLog log;
    FitEvents logged = log.events();
    FitEvents events;
    events.trial = [&](int index, int counter) {
      logged.trial(index, counter);
      if (counter != 1) return;
      if (cancel) {
        control.requestCancel();
      } else {
        control.requestStop();
      }
    };
    const FitOutcome outcome = engine.run(set, objective, Iterate({3}), control, events);
    ASSERT_EQ(log.counters.size(), 1u);
    EXPECT_EQ(log.counters[0].size(), cancel ? 3u : 1u);
    EXPECT_EQ(outcome.state, FitEndState::Stopped);
    EXPECT_TRUE(control.stopRequested());
    EXPECT_DOUBLE_EQ(set[3], cancel ? 1.3 : 1.1);
  }
}

TEST(FitEngineTest, AFaultFailsTheRunAndKeepsTheFailingValue) {
  ParameterSet set = OneLayerSet({{3, 1.0}});
  FakeObjective objective(
      [](const ParameterSet& s) -> std::optional<double> {
        if (s[3] > 1.5) return std::nullopt;
        return 1.0 / (1.0 + s[3]);
      },
      3);
  RunControl control(1e-6);
  FitEngine engine(1);
  int curves = 0;
  FitEvents events;
  events.iterated = [&curves](double, const ReflCurve& curve) {
    ++curves;
    EXPECT_EQ(curve.size(), 0u);  // the failing values cannot be calculated
  };
  const FitOutcome outcome = engine.run(set, objective, Iterate({3}), control, events);
  EXPECT_EQ(outcome.state, FitEndState::Failed);
  EXPECT_EQ(outcome.message, "one of the parameters ran out of bounds...");
  EXPECT_EQ(outcome.chiSquare, 0.0);
  EXPECT_EQ(curves, 1);
  // Trials 1.1, 1.3, 1.7: the last one failed and stays, without a final apply.
  EXPECT_DOUBLE_EQ(set[3], 1.7);
  EXPECT_DOUBLE_EQ(objective.applies.back(), 1.7);
  EXPECT_EQ(objective.applies.size(), 4u);
}

TEST(FitEngineTest, SmallChiSquareEndsTheRunAfterItsFirstIteration) {
  ParameterSet set = OneLayerSet({{3, 1.0}, {4, 2.0}});
  FakeObjective objective(
      [](const ParameterSet& s) {
        return 1e-9 * ((s[3] - 1.3) * (s[3] - 1.3) + (s[4] - 2.2) * (s[4] - 2.2));
      },
      3);
  RunControl control(1e-6);
  FitEngine engine(7);
  const FitOutcome outcome = engine.run(set, objective, Iterate({3, 4}), control);
  EXPECT_EQ(outcome.state, FitEndState::BelowTolerance);
  EXPECT_EQ(outcome.iterations, 1);
}

TEST(FitEngineTest, RandomPicksNeverRepeatTheLastSlotAndASeedRepeatsARun) {
  const auto run = [](std::uint64_t seed) {
    ParameterSet set = OneLayerSet({{3, 1.0}, {4, 1.0}, {5, 1.0}});
    FakeObjective objective(
        [](const ParameterSet& s) {
          // Coupled, so that searches keep improving for a while.
          const double a = s[3] - 2.0, b = s[4] - 3.0, c = s[5] - 4.0;
          return a * a + b * b + c * c + a * b + b * c;
        },
        3);
    RunControl control(1e-12);
    FitEngine engine(seed);
    std::vector<int> searchedPerIteration;
    int current = 0;
    FitEvents events;
    events.trial = [&current](int index, int) { current = index; };
    events.iterated = [&](double, const ReflCurve&) {
      searchedPerIteration.push_back(current);
      current = 0;
    };
    const FitOutcome outcome = engine.run(set, objective, Iterate({3, 4, 5}), control, events);
    return std::pair{outcome, searchedPerIteration};
  };
  const auto [outcome, searched] = run(42);
  ASSERT_GT(searched.size(), 6u);
  std::set<int> seen;
  for (std::size_t i = 1; i < searched.size(); ++i) {
    if (searched[i] != 0 && searched[i - 1] != 0) {
      EXPECT_NE(searched[i], searched[i - 1]) << i;
    }
    seen.insert(searched[i]);
  }
  EXPECT_TRUE(seen.count(3) && seen.count(4) && seen.count(5));
  EXPECT_NE(outcome.state, FitEndState::Failed);
  const auto [again, searchedAgain] = run(42);
  EXPECT_EQ(again.evaluations, outcome.evaluations);
  EXPECT_EQ(searchedAgain, searched);
  const auto [other, searchedOther] = run(43);
  EXPECT_NE(searchedOther, searched);
}

TEST(FitEngineTest, CalculateOnceEvaluatesWithoutChangingAnything) {
  ParameterSet set = OneLayerSet({{3, 4.0}});
  FakeObjective objective([](const ParameterSet& s) { return s[3]; }, 3);
  RunControl control;
  FitEngine engine(1);
  const FitOutcome outcome =
      engine.run(set, objective, {RunMode::CalculateChiSquare, {3}, false, {}}, control);
  EXPECT_EQ(outcome.state, FitEndState::Calculated);
  EXPECT_EQ(outcome.chiSquare, 4.0);
  EXPECT_EQ(outcome.evaluations, 1);
  EXPECT_EQ(set[3], 4.0);
}

TEST(FitEngineTest, DisplayGraphReportsEveryEvaluationAndTrialValue) {
  ParameterSet set = OneLayerSet({{3, 1.0}});
  FakeObjective objective([](const ParameterSet& s) { return (s[3] - 1.0) * (s[3] - 1.0); }, 3);
  RunControl control(1e-6);
  FitEngine engine(1);
  int evaluations = 0;
  std::vector<double> listed;
  FitEvents events;
  events.evaluated = [&evaluations](double, const ReflCurve&) { ++evaluations; };
  events.parametersChanged = [&listed](const ParameterSet& s) { listed.push_back(s[3]); };
  const FitOutcome outcome =
      engine.run(set, objective, {RunMode::IterateToMinimum, {3}, true, {}}, control, events);
  EXPECT_EQ(evaluations, outcome.evaluations);
  // Eight trial values, then the list after the iteration.
  ASSERT_EQ(listed.size(), 9u);
  EXPECT_DOUBLE_EQ(listed[0], 1.1);
  EXPECT_EQ(listed.back(), 1.0);
}

TEST(FitEngineTest, TheTiesOfASymmetricFilmFollowEveryTrial) {
  ParameterLayout layout;
  layout.type = SampleType::SymmetricFilm;
  layout.layers = 2;
  ParameterSet set(layout);
  set[3] = 20.0;
  set[19] = 20.0;
  FakeObjective objective(
      [](const ParameterSet& s) -> std::optional<double> {
        EXPECT_EQ(s[3], s[19]);
        return (s[3] - 23.0) * (s[3] - 23.0);
      },
      19);
  RunControl control(1e-9);
  FitEngine engine(1);
  engine.run(set, objective, Iterate({3}), control);
  EXPECT_NEAR(set[3], 23.0, 1e-3);
  EXPECT_EQ(set[19], set[3]);
}

TEST(FitEngineTest, RefusesAnUnlistedIndex) {
  ParameterSet set = OneLayerSet({});
  FakeObjective objective([](const ParameterSet&) { return 1.0; }, 3);
  RunControl control;
  FitEngine engine(1);
  EXPECT_THROW(engine.run(set, objective, Iterate({10}), control), std::out_of_range);
}

}  // namespace
}  // namespace quorrel
