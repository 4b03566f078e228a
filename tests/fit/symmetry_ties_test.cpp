#include "fit/symmetry_ties.h"

#include <gtest/gtest.h>

#include "fit_test_models.h"
#include "model/layer_stack_builder.h"

namespace quorrel {
namespace {

using testing::MakeModel;

//! Air, layers 1 and 2, core; every sigma given.
SampleModel Film(const char* sigma1, const char* sigma2, const char* sigmaCore,
                 const char* d1 = "20") {
  return MakeModel(SampleType::SymmetricFilm, {"N/A", "1e-7", "3e-9", "N/A"},
                   {{d1, "1e-6", "1e-9", sigma1}, {"30", "2e-6", "2e-9", sigma2}},
                   {"100", "3e-6", "0", sigmaCore});
}

ParameterSet Collected(const SampleModel& model) {
  LayerStack stack;
  BuildLayerStack(model, SpinState::None, stack);
  return CollectParameterSet(model, stack);
}

void ExpectSame(const ParameterSet& actual, const ParameterSet& expected) {
  ASSERT_EQ(actual.count(), expected.count());
  for (int i = 1; i <= actual.count(); ++i) EXPECT_EQ(actual[i], expected[i]) << "index " << i;
}

TEST(SymmetryTiesTest, ThicknessOfLayerOneReachesItsMirror) {
  ParameterSet set = Collected(Film("2", "3", "4"));
  set[3] = 25.0;
  ApplySymmetryTies(set, 3);
  EXPECT_EQ(set[19], 25.0);
  // The tied set is what the build of the changed model gives.
  ExpectSame(set, Collected(Film("2", "3", "4", "25")));
}

TEST(SymmetryTiesTest, AirValuesReachTheSubstrate) {
  ParameterSet set = Collected(Film("2", "3", "4"));
  set[1] = 5e-7;
  ApplySymmetryTies(set, 1);
  set[2] = 6e-9;
  ApplySymmetryTies(set, 2);
  EXPECT_EQ(set[23], 5e-7);
  EXPECT_EQ(set[24], 6e-9);
}

TEST(SymmetryTiesTest, DensitiesReachTheMirrorAndTheCoreHasNone) {
  ParameterSet set = Collected(Film("2", "3", "4"));
  set[8] = 7e-6;  // rho_2
  ApplySymmetryTies(set, 8);
  set[9] = 8e-9;  // Im(rho)_2
  ApplySymmetryTies(set, 9);
  EXPECT_EQ(set[16], 7e-6);
  EXPECT_EQ(set[17], 8e-9);
  const ParameterSet before = set;
  set[11] = 150.0;  // d_core
  ApplySymmetryTies(set, 11);
  for (int i = 1; i <= 25; ++i) {
    if (i != 11) {
      EXPECT_EQ(set[i], before[i]) << i;
    }
  }
}

TEST(SymmetryTiesTest, SigmaReachesTheMirrorInterfaceAndTheSubstrate) {
  struct Case {
    int index;
    const char *sigma1, *sigma2, *sigmaCore;
  };
  // sigma_1 has no mirror layer of its own: only the substrate follows it.
  for (const Case c : {Case{6, "9", "3", "4"}, Case{10, "2", "9", "4"}, Case{14, "2", "3", "9"}}) {
    ParameterSet set = Collected(Film("2", "3", "4"));
    set[c.index] = 9.0;
    ApplySymmetryTies(set, c.index);
    ExpectSame(set, Collected(Film(c.sigma1, c.sigma2, c.sigmaCore)));
  }
}

TEST(SymmetryTiesTest, IdenticalSigmasSetEverySigma) {
  SampleModel model = Film("2", "2", "2");
  model.identicalSigmas = true;
  ParameterSet set = Collected(model);
  set[10] = 6.0;  // sigma_2
  ApplySymmetryTies(set, 10);
  for (const int i : {6, 10, 14, 18, 22}) EXPECT_EQ(set[i], 6.0) << i;
  EXPECT_EQ(set[25], set[6]);
  SampleModel expected = Film("6", "6", "6");
  expected.identicalSigmas = true;
  ExpectSame(set, Collected(expected));
}

TEST(SymmetryTiesTest, OtherSampleTypesHaveNoTies) {
  const SampleModel model = testing::TwoLayerModel();
  ParameterSet set = Collected(model);
  const ParameterSet before = set;
  set[3] = 70.0;
  ApplySymmetryTies(set, 3);
  set[1] = 1e-7;
  ApplySymmetryTies(set, 1);
  for (int i = 4; i <= set.count(); ++i) EXPECT_EQ(set[i], before[i]) << i;
}

}  // namespace
}  // namespace quorrel
