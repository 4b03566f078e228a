// Polarised measurements: the spin channels fitted together, with the model's magnetisation
// among the entries.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "../fit/fit_test_models.h"
#include "calc/spin_flip_model.h"
#include "fit/measurement_curves.h"
#include "physics/spin_flip_point.h"
#include "shell/fit_session.h"

namespace quorrel {
namespace {

constexpr SpinFlipSettings kGuide{true, 90.0, 0.0};

//! A magnetic film at the angle `thetaM` under a collinear cap, on silicon.
SampleModel TwistedFilm(const std::string& rhoM, const std::string& thetaM) {
  SampleModel model = testing::MakeModel(SampleType::IndependentLayers, {"N/A", "0", "0", "N/A"},
                                         {{"40", "3e-6", "0", "3"}, {"120", "4e-6", "0", "4"}},
                                         {"N/A", "2.07e-6", "0", "3"});
  model.baseGrid.setCell(2, kColMagRe, "1e-6");
  model.baseGrid.setCell(3, kColMagRe, rhoM);
  model.baseGrid.setCell(3, kColThetaM, thetaM);
  return model;
}

//! The four channels of `truth`, unsmeared, with errors of 3 %.
std::vector<FitData> Channels(const SampleModel& truth) {
  const SpinFlipStack stack = SpinFlipStackOfModel(truth, kGuide.aguide, kGuide.field);
  const std::vector<double> qz = testing::QzGrid(0.01, 0.12, 90);
  std::vector<SpinReflectances> values(qz.size());
  SpinFlipPointBatch(stack, {}, {}, {}, qz, values);
  std::vector<FitData> channels;
  for (const SpinChannel channel :
       {SpinChannel::DownDown, SpinChannel::DownUp, SpinChannel::UpDown, SpinChannel::UpUp}) {
    FitData data;
    data.measurement.label = SpinChannelName(channel);
    data.measurement.channel = channel;
    data.measured().fileName = "film.dat";
    for (std::size_t i = 0; i < qz.size(); ++i) {
      const double value = ChannelReflectivity(values[i], channel);
      data.measured().qz.push_back(qz[i]);
      data.measured().r.push_back(value);
      data.measured().dr.push_back(0.03 * value);
    }
    data.pointResolution.assign(qz.size(), 0.0);
    channels.push_back(std::move(data));
  }
  return channels;
}

int Position(const FitSession& session, const std::string& name) {
  const std::vector<FitParameter> entries = session.entries();
  for (std::size_t e = 0; e < entries.size(); ++e) {
    if (entries[e].label.rfind(name + " =", 0) == 0) return static_cast<int>(e);
  }
  ADD_FAILURE() << "no entry " << name;
  return 0;
}

TEST(PolarisedFitTest, FourChannelsRecoverATwistedLayerAndWriteItBack) {
  const std::vector<FitData> data = Channels(TwistedFilm("5e-6", "60"));
  FitSession session(11);
  session.setMethod(FitMethod::LevenbergMarquardt);
  session.setWeighting(Weighting::GivenErrors);
  session.open(TwistedFilm("4e-6", "40"), data, {}, kGuide);
  // The magnetisation's entries come last, named as links name them.
  const int rhoM = Position(session, "rhoM_2"), thetaM = Position(session, "thetaM_2");
  EXPECT_GT(Position(session, "rhoM_1"), Position(session, "scale [R++]"));
  EXPECT_EQ(Position(session, "aguide"), static_cast<int>(session.entries().size()) - 1);
  EXPECT_EQ(session.setLink(Position(session, "thetaM_bulk"), "thetaM_2 + 0 * aguide"), "");
  ASSERT_TRUE(session.toggleVary(rhoM));
  ASSERT_TRUE(session.toggleVary(thetaM));

  const DoItResult result = session.doIt();
  ASSERT_TRUE(result.outcome) << result.refusal;
  const ParameterSet fitted = session.parameters();
  const auto entry = [&](int position) {
    return fitted[session.entries()[static_cast<std::size_t>(position)].index];
  };
  EXPECT_NEAR(entry(rhoM), 5e-6, 5e-10);
  EXPECT_NEAR(entry(thetaM), 60.0, 1e-3);
  EXPECT_LT(result.outcome->chiSquare, 1e-6);

  ASSERT_TRUE(session.ok());
  const SampleModel model = session.model();
  EXPECT_EQ(model.baseGrid.cell(3, kColThetaM), "60");
  EXPECT_EQ(model.baseGrid.cell(3, kColMagRe), "5E-6");
  // The linked bulk angle moved with the layer's; the cap, not fitted, keeps its empty cell.
  EXPECT_EQ(model.baseGrid.cell(4, kColThetaM), "60");
  EXPECT_EQ(model.baseGrid.cell(2, kColThetaM), "");
  EXPECT_EQ(session.guideField(), kGuide);

  // The window draws each channel's measurement with the fitted model's own channel.
  std::vector<Measurement> measurements;
  for (const FitData& d : data) measurements.push_back(d.measurement);
  CalcSettings settings;
  settings.spinFlip = kGuide;
  const auto curves = MeasurementCurves(model, settings, measurements);
  ASSERT_EQ(curves.size(), 4u);
  for (std::size_t c = 0; c < 4; ++c) {
    ASSERT_TRUE(curves[c]);
    for (std::size_t i = 0; i < curves[c]->y.size(); i += 15) {
      EXPECT_NEAR(curves[c]->y[i] / measurements[c].data.r[i], 1.0, 1e-3) << c << " at " << i;
    }
  }
}

}  // namespace
}  // namespace quorrel
