#include "fit/parameter_labels.h"

#include <gtest/gtest.h>

#include "common/decimal_separator.h"
#include "fit_test_models.h"
#include "model/layer_stack_builder.h"

namespace quorrel {
namespace {

using testing::MakeModel;

std::vector<std::string> Labels(const ParameterSet& set) {
  std::vector<std::string> labels;
  for (const FitParameter& entry : FillParameterList(set, VaryFlags(set.count()))) {
    labels.push_back(entry.label);
  }
  return labels;
}

ParameterSet Collected(const SampleModel& model) {
  LayerStack stack;
  BuildLayerStack(model, SpinState::None, stack);
  return CollectParameterSet(model, stack);
}

TEST(ParameterLabelsTest, NoLayersListAirAndBulk) {
  const ScopedDecimalSeparator point('.');
  const SampleModel model = MakeModel(SampleType::IndependentLayers, {"N/A", "0", "0", "N/A"}, {},
                                      {"N/A", "2.073e-6", "2.37e-11", "5"});
  EXPECT_EQ(Labels(Collected(model)),
            (std::vector<std::string>{"rho_air =   0.000E+00", "Im(rho)_air =   0.000E+00",
                                      "rho_bulk =   2.073E-06", "Im(rho)_bulk =   2.370E-11",
                                      "sigma_bulk =   5.00"}));
}

TEST(ParameterLabelsTest, NumberedLayersPutTheNumberBeforeTheSeparator) {
  const ScopedDecimalSeparator point('.');
  const SampleModel model =
      MakeModel(SampleType::IndependentLayers, {"N/A", "0", "0", "N/A"},
                {{"1", "0", "0", "0"}, {"2", "0", "0", "0"}, {"25.5", "4.1e-6", "1e-9", "3.456"}},
                {"N/A", "2.073e-6", "0", "5"});
  const std::vector<std::string> labels = Labels(Collected(model));
  ASSERT_EQ(labels.size(), 17u);
  EXPECT_EQ(labels[10], "d_3 =     25.50");
  EXPECT_EQ(labels[11], "rho_3 =   4.100E-06");
  EXPECT_EQ(labels[12], "Im(rho)_3 =    1.000E-09");
  EXPECT_EQ(labels[13], "sigma_3 = 3.46");
}

TEST(ParameterLabelsTest, SymmetricFilmListsTheCoreButNotTheMirror) {
  const ScopedDecimalSeparator point('.');
  const SampleModel model =
      MakeModel(SampleType::SymmetricFilm, {"N/A", "0", "0", "N/A"},
                {{"20", "1e-6", "0", "2"}, {"30", "2e-6", "0", "3"}}, {"100", "3e-6", "0", "4"});
  const std::vector<std::string> labels = Labels(Collected(model));
  ASSERT_EQ(labels.size(), 14u);
  EXPECT_EQ(labels[10], "d_core =     100.00");
  EXPECT_EQ(labels[11], "rho_core =   3.000E-06");
  EXPECT_EQ(labels[12], "Im(rho)_core = 0.000E+00");
  EXPECT_EQ(labels[13], "sigma_core =  4.00");
}

TEST(ParameterLabelsTest, StackedLayersAndFunctionParameters) {
  const ScopedDecimalSeparator point('.');
  SampleModel model = MakeModel(SampleType::MultipleLayers, {"N/A", "0", "0", "N/A"}, {},
                                {"N/A", "2.073e-6", "0", "5"});
  model.mlGrid.setCell(2, kColRho, "4.1e-6");
  const std::vector<std::string> labels = Labels(Collected(model));
  ASSERT_EQ(labels.size(), 13u);
  EXPECT_EQ(labels[5], "d_ML1 = 5.000E+01");
  EXPECT_EQ(labels[10], "rho_ML2 = 4.100E-06");
  EXPECT_EQ(labels[11], "Im(rho)_ML2 = 0.000E+00");
  EXPECT_EQ(labels[12], "sigma_ML2 = 0.00");

  ParameterLayout layout;
  layout.type = SampleType::ProfileFunction;
  layout.functionParameters = 2;
  layout.functionParameterNames = {"xsi", "c", "C", "D", "E"};
  ParameterSet set(layout);
  set[6] = 10.0;
  set[7] = -0.25;
  set[8] = 99.0;  // beyond the function's count: not listed
  const std::vector<std::string> function = Labels(set);
  ASSERT_EQ(function.size(), 7u);
  EXPECT_EQ(function[5], "xsi = 1.000E+01");
  EXPECT_EQ(function[6], "c = -2.500E-01");
}

TEST(ParameterLabelsTest, UseTheUsersSeparatorAndShowTheCheckMarks) {
  const ParameterSet set = Collected(testing::TwoLayerModel());
  const ScopedDecimalSeparator comma(',');
  VaryFlags flags(set.count());
  flags.set(3, true);
  flags.set(10, true);
  const std::vector<FitParameter> entries = FillParameterList(set, flags);
  ASSERT_EQ(entries.size(), 13u);
  EXPECT_EQ(entries[2].label, "d_1 =     60,00");
  EXPECT_EQ(entries[3].label, "rho_1 =   4,000E-06");
  for (const FitParameter& entry : entries) {
    EXPECT_EQ(entry.vary, entry.index == 3 || entry.index == 10) << entry.index;
  }
  EXPECT_EQ(entries[12].index, 13);
}

}  // namespace
}  // namespace quorrel
