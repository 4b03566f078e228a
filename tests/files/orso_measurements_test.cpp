#include "files/orso_measurements.h"

#include <gtest/gtest.h>

#include "scratch_folder.h"
#include "scripted_questions.h"

namespace quorrel {
namespace {

//! The header of a data set: its name and, unless empty, its polarization.
std::string DataSet(const std::string& name, const std::string& polarization) {
  std::string text = "# data_set: " + name + "\n";
  if (!polarization.empty()) {
    text += "# data_source:\n#   measurement:\n#     instrument_settings:\n"
            "#       polarization: " + polarization + "\n";
  }
  return text + "0.01 0.5 0.01\n0.02 0.05 0.002\n";
}

TEST(OrsoMeasurements, EachDataSetTakesTheChannelItsPolarizationNames) {
  ScratchFolder folder;
  const std::string text =
      "# # ORSO reflectivity data file | 1.1 standard | YAML encoding | "
      "https://www.reflectometry.org/\n"
      "# data_source:\n#   experiment: {probe: neutron}\n"
      "#   measurement:\n#     instrument_settings:\n#       wavelength: {magnitude: 4}\n"
      "#       polarization: pp\n"
      "# columns:\n# - {name: Qz}\n# - {name: R}\n# - {name: sR}\n"
      "# data_set: up up\n0.01 0.5 0.01\n0.02 0.05 0.002\n" +
      DataSet("up down", "pm") + DataSet("down up", "mp") + DataSet("down down", "mm") +
      DataSet("again up up", "") + DataSet("half", "po") + DataSet("odd", "sideways") +
      DataSet("none", "unpolarized");
  std::vector<Measurement> measurements;
  std::vector<std::string> notes;
  ScriptedQuestions questions;
  ASSERT_EQ(LoadOrsoMeasurements(folder.write("four.ort", text), CalcSettings(), measurements,
                                 questions, notes),
            LoadOutcome::Loaded);
  ASSERT_EQ(measurements.size(), 8u);
  const std::vector<SpinChannel> expected{
      SpinChannel::UpUp, SpinChannel::UpDown, SpinChannel::DownUp, SpinChannel::DownDown,
      SpinChannel::UpUp,  // the first header's polarization stands for every later data set
      SpinChannel::None, SpinChannel::None, SpinChannel::None};
  for (std::size_t k = 0; k < expected.size(); ++k) {
    EXPECT_EQ(measurements[k].channel, expected[k]) << measurements[k].label;
  }
  EXPECT_EQ(notes, (std::vector<std::string>{
                       "data set \"half\": polarization \"po\" analyses one spin only, so the "
                       "data set has no spin channel",
                       "data set \"odd\": polarization \"sideways\" is not one of pp, pm, mp, "
                       "mm, so the data set has no spin channel"}));

  // A header without instrument settings names no channel and is not noted.
  const std::string plain =
      "# # ORSO reflectivity data file | 1.0 standard | YAML encoding | "
      "https://www.reflectometry.org/\n"
      "# data_source:\n#   experiment: {probe: x-ray}\n"
      "# columns:\n# - {name: Qz}\n# - {name: R}\n# - {name: sR}\n0.01 0.5 0.01\n";
  notes.clear();
  ASSERT_EQ(LoadOrsoMeasurements(folder.write("plain.ort", plain), CalcSettings(), measurements,
                                 questions, notes),
            LoadOutcome::Loaded);
  ASSERT_EQ(measurements.size(), 1u);
  EXPECT_EQ(measurements[0].channel, SpinChannel::None);
  EXPECT_TRUE(notes.empty());
}

}  // namespace
}  // namespace quorrel
