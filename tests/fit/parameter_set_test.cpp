#include "fit/parameter_set.h"

#include <gtest/gtest.h>

#include "common/error.h"
#include "fit_test_models.h"
#include "model/layer_stack_builder.h"

namespace quorrel {
namespace {

using testing::MakeModel;
using testing::Row;

LayerStack Built(const SampleModel& model) {
  LayerStack stack;
  BuildLayerStack(model, SpinState::None, stack);
  return stack;
}

TEST(ParameterSetTest, IndependentLayersWithoutLayersHoldAirAndBulk) {
  const SampleModel model = MakeModel(SampleType::IndependentLayers, {"N/A", "1e-7", "2e-9", "N/A"},
                                      {}, {"N/A", "2.073e-6", "2.37e-11", "5"});
  const ParameterSet set = CollectParameterSet(model, Built(model));
  ASSERT_EQ(set.count(), 5);
  EXPECT_EQ(set[1], 1e-7);
  EXPECT_EQ(set[2], 2e-9);
  EXPECT_EQ(set[3], 2.073e-6);
  EXPECT_EQ(set[4], 2.37e-11);
  EXPECT_EQ(set[5], 5.0);
}

TEST(ParameterSetTest, IndependentLayersAreTheStackShiftedByFive) {
  const SampleModel model = testing::TwoLayerModel();
  const LayerStack stack = Built(model);
  const ParameterSet set = CollectParameterSet(model, stack);
  ASSERT_EQ(set.count(), 13);
  for (int i = 1; i <= 13; ++i) EXPECT_EQ(set[i], stack.values()[i + 5]) << i;
  EXPECT_EQ(set[3], 60.0);    // d_1
  EXPECT_EQ(set[10], 5.0);    // sigma_2
  EXPECT_EQ(set[11], 2.07e-6);  // rho_bulk
}

TEST(ParameterSetTest, ApplyWritesEveryValueBack) {
  const SampleModel model = testing::TwoLayerModel();
  LayerStack stack = Built(model);
  ParameterSet set = CollectParameterSet(model, stack);
  set[7] = 130.0;
  set[13] = 2.5;
  ApplyParameterSet(set, stack);
  EXPECT_EQ(stack.thickness(2), 130.0);
  EXPECT_EQ(stack.sigma(3), 2.5);
  EXPECT_EQ(stack.thickness(1), 60.0);
}

SampleModel Multilayer(int insert, int repeats) {
  SampleModel model = MakeModel(SampleType::MultipleLayers, {"N/A", "0", "0", "N/A"},
                                {{"30", "1e-6", "0", "2"}, {"40", "2e-6", "0", "3"}},
                                {"N/A", "2.07e-6", "0", "4"});
  model.edtInsertLayer = insert;
  model.edtStackedLayers = 2;
  model.edtRepts = repeats;
  return model;
}

TEST(ParameterSetTest, MultipleLayersListOnePeriodAfterTheBasicLayers) {
  const SampleModel model = Multilayer(1, 3);
  const ParameterSet set = CollectParameterSet(model, Built(model));
  ASSERT_EQ(set.count(), 4 * 2 + 5 + 8);
  EXPECT_EQ(set[3], 30.0);    // layer 1, above the periods
  EXPECT_EQ(set[7], 40.0);    // layer 2, below the six period layers
  EXPECT_EQ(set[13], 4.0);    // sigma_bulk
  EXPECT_EQ(set[14], 50.0);   // d_ML1 (default MLGrid)
  EXPECT_EQ(set[15], 8e-6);
  EXPECT_EQ(set[18], 11.0);   // d_ML2
  EXPECT_EQ(set[19], 5e-7);
}

TEST(ParameterSetTest, MultipleLayersChangeEveryPeriodAndClearTheRest) {
  const SampleModel model = Multilayer(0, 10);
  LayerStack stack = Built(model);
  ParameterSet set = CollectParameterSet(model, stack);
  set[set.layout().stackedIndex(1, Quantity::Thickness)] = 55.0;
  stack.reset(30);  // a stack used before for more layers
  stack.values()[100] = 7.0;
  ApplyParameterSet(set, stack);
  ASSERT_EQ(stack.layerCount(), 22);
  for (int period = 0; period < 10; ++period) {
    EXPECT_EQ(stack.thickness(2 * period + 1), 55.0) << period;
    EXPECT_EQ(stack.thickness(2 * period + 2), 11.0) << period;
  }
  EXPECT_EQ(stack.thickness(21), 30.0);
  EXPECT_EQ(stack.thickness(22), 40.0);
  EXPECT_EQ(stack.rho(23), 2.07e-6);
  EXPECT_EQ(stack.values().size(), 99u);
}

TEST(ParameterSetTest, SymmetricFilmIsTheWholeMirroredStack) {
  SampleModel model = MakeModel(SampleType::SymmetricFilm, {"N/A", "1e-7", "0", "N/A"},
                                {{"20", "1e-6", "0", "2"}, {"30", "2e-6", "0", "3"}},
                                {"100", "3e-6", "0", "4"});
  const LayerStack stack = Built(model);
  const ParameterSet set = CollectParameterSet(model, stack);
  ASSERT_EQ(set.count(), 25);
  EXPECT_EQ(set.layout().listedCount(), 14);
  for (int i = 1; i <= 25; ++i) EXPECT_EQ(set[i], stack.values()[i + 5]) << i;
  EXPECT_EQ(set[11], 100.0);  // d_core
  EXPECT_EQ(set[19], 20.0);   // d of the mirror of layer 1
  EXPECT_EQ(set[23], 1e-7);   // substrate rho: the ambient again
}

//! A profile stack as the build lays it out: air, F layers, M steps, the other layers, bulk.
struct ProfileCase {
  SampleModel model;
  LayerStack stack;
};

ProfileCase ProfileModel(int functionLayer) {
  ProfileCase c{MakeModel(SampleType::ProfileFunction, {"N/A", "1e-7", "0", "N/A"},
                          {{"20", "1e-6", "1e-9", "2"}, {"30", "2e-6", "2e-9", "3"}},
                          {"N/A", "5e-6", "3e-9", "4"}),
                LayerStack()};
  c.model.edtFunctionLayer = functionLayer;
  c.model.edtNumCalcLayers = 3;
  c.model.edtLayerThickness = 10;
  c.model.function.numParameters = 2;
  c.model.function.parameterNames = {"xsi", "c", "C", "D", "E"};
  c.model.function.parameters = {11, 12, 13, 14, 15};
  c.stack.reset(5);
  c.stack.setRho(0, 1e-7);
  const double d[2] = {20, 30}, rho[2] = {1e-6, 2e-6}, im[2] = {1e-9, 2e-9}, sigma[2] = {2, 3};
  for (int k = 1; k <= 2; ++k) {
    const int medium = k <= functionLayer ? k : k + 3;
    c.stack.setThickness(medium, d[k - 1]);
    c.stack.setRho(medium, rho[k - 1]);
    c.stack.setImRho(medium, im[k - 1]);
    c.stack.setSigma(medium, sigma[k - 1]);
  }
  for (int step = 1; step <= 3; ++step) c.stack.setRho(functionLayer + step, 9e-6);
  c.stack.setRho(6, 5e-6);
  c.stack.setImRho(6, 3e-9);
  c.stack.setSigma(6, 4);
  return c;
}

TEST(ParameterSetTest, ProfileFunctionSkipsTheStepsAndAddsTheParameters) {
  const ProfileCase c = ProfileModel(1);
  const ParameterSet set = CollectParameterSet(c.model, c.stack);
  ASSERT_EQ(set.count(), 4 * 2 + 5 + 2);
  EXPECT_EQ(set[3], 20.0);
  EXPECT_EQ(set[7], 30.0);  // layer 2 follows the three steps in the stack
  EXPECT_EQ(set[11], 5e-6);
  EXPECT_EQ(set[14], 11.0);
  EXPECT_EQ(set[15], 12.0);
  // The hidden parameters keep the model's values for the function.
  EXPECT_EQ(set.functionParameters(), (std::array<double, 5>{11, 12, 13, 14, 15}));
}

struct ProfileCall {
  double z, rhoStart, rhoEnd;
  std::array<double, 5> parameters;
};

TEST(ParameterSetTest, ProfileStepsAreRegeneratedBetweenTheirNeighbours) {
  struct Expectation {
    int functionLayer;
    double rhoStart, rhoEnd;
  };
  // F = 0 starts at the air, F = L ends at the bulk.
  for (const Expectation e : {Expectation{0, 1e-7, 1e-6}, Expectation{1, 1e-6, 2e-6},
                              Expectation{2, 2e-6, 5e-6}}) {
    ProfileCase c = ProfileModel(e.functionLayer);
    ParameterSet set = CollectParameterSet(c.model, c.stack);
    set[set.layout().functionParameterIndex(1)] = 21.0;
    std::vector<ProfileCall> calls;
    const ProfileEvaluator profile = [&calls](double z, double s, double end,
                                              const std::array<double, 5>& p) {
      calls.push_back({z, s, end, p});
      return z * 1e-8;
    };
    ApplyParameterSet(set, c.stack, profile);
    ASSERT_EQ(calls.size(), 3u) << e.functionLayer;
    for (int step = 1; step <= 3; ++step) {
      const ProfileCall& call = calls[static_cast<std::size_t>(step - 1)];
      EXPECT_EQ(call.z, 10.0 * step);
      EXPECT_EQ(call.rhoStart, e.rhoStart) << e.functionLayer;
      EXPECT_EQ(call.rhoEnd, e.rhoEnd) << e.functionLayer;
      EXPECT_EQ(call.parameters, (std::array<double, 5>{21, 12, 13, 14, 15}));
      const int medium = e.functionLayer + step;
      EXPECT_EQ(c.stack.thickness(medium), 10.0);
      EXPECT_EQ(c.stack.rho(medium), step * 10.0 * 1e-8);
      EXPECT_EQ(c.stack.imRho(medium), 0.0);
      EXPECT_EQ(c.stack.sigma(medium), 0.0);
    }
    // The basic layers and the bulk come back where the build put them.
    EXPECT_EQ(CollectParameterSet(c.model, c.stack)[7], 30.0);
    EXPECT_EQ(c.stack.sigma(6), 4.0);
  }
}

TEST(ParameterSetTest, RefusesAStackOfAnotherModelAndAModelBeyondTheCapacity) {
  const SampleModel model = testing::TwoLayerModel();
  EXPECT_THROW(CollectParameterSet(model, LayerStack(1)), std::invalid_argument);
  ParameterLayout layout;
  layout.type = SampleType::MultipleLayers;
  layout.layers = 2;
  layout.stackedLayers = 99;
  layout.repetitions = 102;
  EXPECT_THROW(ParameterSet{layout}, QuorrelError);
  layout.repetitions = 100;
  EXPECT_EQ(ParameterSet(layout).count(), 4 * 2 + 5 + 4 * 99);
}

}  // namespace
}  // namespace quorrel
