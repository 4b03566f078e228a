// quorrel-cli params, chisq and fit, run in-process on files made from a known model.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/command.h"
#include "in_process_run.h"
#include "common/decimal_separator.h"
#include "common/number_conversion.h"
#include "common/number_format.h"
#include "files/model_file_reader.h"
#include "files/model_file_writer.h"
#include "files/project_file.h"
#include "model/layer_stack_builder.h"
#include "physics/reflectance_batch.h"

namespace quorrel::cli {
namespace {

//! The default model (one 25 Å layer on silicon) in a model file, its exact reflectivity at
//! 60 points in a data file, and the same model with d_1 = 28 and sigma_1 = 3.4.
class FitCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("quorrel_fit_cli_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
    const SampleModel truth;
    WriteModelFile(path("true.par"), truth, CalcSettings());
    SampleModel start = truth;
    start.baseGrid.setCell(2, kColThickness, "28");
    start.baseGrid.setCell(2, kColSigma, "3.4");
    WriteModelFile(path("start.par"), start, CalcSettings());
    writeData("data.dat", truth, 0.02);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string path(const char* name) const { return (dir_ / name).string(); }

  void writeData(const char* name, const SampleModel& model, double error) const {
    LayerStack stack;
    BuildLayerStack(model, SpinState::None, stack);
    std::vector<double> qz, r(60);
    for (int i = 0; i < 60; ++i) qz.push_back(0.01 + 0.004 * i);
    ReflectanceBatch(stack, qz, r);
    std::ofstream file(path(name), std::ios::binary);
    for (int i = 0; i < 60; ++i) {
      file << FormatFull(qz[i], '.') << '\t' << FormatFull(r[i], '.') << '\t'
           << FormatFull(error * r[i], '.') << "\r\n";
    }
  }

  std::filesystem::path dir_;
  ScopedDecimalSeparator point_{'.'};
};

TEST_F(FitCommandsTest, ParamsListsEveryEntryWithItsNumber) {
  const Outcome outcome = RunCommand("params", {path("start.par")});
  EXPECT_EQ(outcome.status, kSuccess);
  EXPECT_EQ(outcome.out,
            "    1  rho_air =   0.000E+00\n"
            "    2  Im(rho)_air =   0.000E+00\n"
            "    3  d_1 =     28.00\n"
            "    4  rho_1 =   3.475E-06\n"
            "    5  Im(rho)_1 =    1.050E-11\n"
            "    6  sigma_1 = 3.40\n"
            "    7  rho_bulk =   2.073E-06\n"
            "    8  Im(rho)_bulk =   2.370E-11\n"
            "    9  sigma_bulk =   5.00\n");
  EXPECT_THROW(RunCommand("params", {}), UsageError);
}

TEST_F(FitCommandsTest, AllDataSetsMakeOneMeasurementEach) {
  const std::string ort = std::string(QUORREL_TEST_DATA) + "/ort/two_sets_with_model.ort";
  const Outcome outcome = RunCommand("params", {path("start.par"), ort, "--all-datasets"});
  EXPECT_EQ(outcome.status, kSuccess);
  EXPECT_NE(outcome.out.find("\n   10  scale [spin up] = 1.0000\n"
                             "   11  scale [spin down] = 1.0000\n"),
            std::string::npos) << outcome.out;
  // The R = 0 row of the second data set is reported under the data set's name.
  EXPECT_NE(outcome.err.find("data set \"spin down\": 1 rows with R not above zero"),
            std::string::npos) << outcome.err;
  // A second file's data sets of the same names are told apart.
  const Outcome twice =
      RunCommand("params", {path("start.par"), ort, ort, "--all-datasets"});
  EXPECT_NE(twice.out.find("   13  scale [spin down 2] = 1.0000\n"), std::string::npos)
      << twice.out;
  // Without the switch the first data set alone is read.
  EXPECT_EQ(RunCommand("params", {path("start.par"), ort}).out.find("spin"), std::string::npos);
  EXPECT_THROW(RunCommand("params", {path("start.par"), ort, "--all-datasets", "--dataset", "1"}),
               UsageError);
}

TEST_F(FitCommandsTest, ChannelsNameTheSpinOfDataSetsAndAProjectKeepsThem) {
  const Outcome written = RunCommand(
      "project", {path("start.par"), path("data.dat"), path("data.dat"), "--label", "2=down",
                  "--channel", "1=pp", "--channel", "down=R-+", "-o", path("spin.qproj")});
  ASSERT_EQ(written.status, kSuccess) << written.err;
  const std::vector<Measurement> kept = ReadProjectFile(path("spin.qproj")).project.measurements;
  ASSERT_EQ(kept.size(), 2u);
  EXPECT_EQ(kept[0].channel, SpinChannel::UpUp);
  EXPECT_EQ(kept[1].channel, SpinChannel::DownUp);
  // A project's own measurements take the option too, and keep what it does not name.
  ASSERT_EQ(RunCommand("project", {path("spin.qproj"), "--channel", "data=none", "-o",
                                   path("again.qproj")}).status,
            kSuccess);
  const std::vector<Measurement> again = ReadProjectFile(path("again.qproj")).project.measurements;
  EXPECT_EQ(again[0].channel, SpinChannel::None);
  EXPECT_EQ(again[1].channel, SpinChannel::DownUp);

  const auto refusal = [&](const std::string& channel) {
    try {
      RunCommand("chisq", {path("spin.qproj"), "--channel", channel});
    } catch (const UsageError& error) {
      return std::string(error.what());
    }
    return std::string("accepted");
  };
  EXPECT_EQ(refusal("1=R+"), "--channel: 'R+' is no spin channel (R--, R-+, R+-, R++ or none)");
  EXPECT_EQ(refusal("R++"), "--channel takes DATASET=CHANNEL, not 'R++'");
  EXPECT_EQ(refusal("3=R++"), "--channel: there is no data set '3'");
}

TEST_F(FitCommandsTest, ChiSquareOfTheTrueModelIsZeroAndOfAnotherOneIsNot) {
  EXPECT_EQ(RunCommand("chisq", {path("true.par"), path("data.dat")}).out,
            "chi-square: 0.0000E+00\n");
  const Outcome start =
      RunCommand("chisq", {path("start.par"), path("data.dat"), "--weighting", "errors"});
  EXPECT_EQ(start.status, kSuccess);
  EXPECT_NE(start.out, "chi-square: 0.0000E+00\n");
  EXPECT_EQ(start.out.rfind("chi-square: ", 0), 0u);
  EXPECT_THROW(RunCommand("chisq", {path("true.par"), path("data.dat"), "--weighting", "1/y"}),
               UsageError);
  EXPECT_THROW(RunCommand("chisq", {path("true.par"), path("data.dat"), "--region", "0.1"}),
               UsageError);
}

TEST_F(FitCommandsTest, ChiSquareFailuresExitWithStatusOne) {
  const Outcome empty =
      RunCommand("chisq", {path("true.par"), path("data.dat"), "--region", "0.05:"});
  EXPECT_EQ(empty.status, kFailure);
  EXPECT_EQ(empty.err,
            "quorrel-cli: the fitting region holds no measured point: select a region that "
            "contains at least one\n");
  writeData("no_errors.dat", SampleModel(), 0.0);
  const Outcome fault =
      RunCommand("chisq", {path("true.par"), path("no_errors.dat"), "--weighting", "errors"});
  EXPECT_EQ(fault.status, kFailure);
  EXPECT_EQ(fault.err, "quorrel-cli: one of the parameters ran out of bounds...\n");
  EXPECT_EQ(fault.out, "");
}

TEST_F(FitCommandsTest, FitRecoversTheModelAndWritesItBack) {
  const Outcome outcome =
      RunCommand("fit", {path("start.par"), path("data.dat"), "--vary", "3,6", "--seed", "11",
                         "--tolerance", "1e-14", "-o", path("fitted.par")});
  ASSERT_EQ(outcome.status, kSuccess) << outcome.err;
  std::istringstream lines(outcome.out);
  std::string state, chi, evaluations, d, sigma;
  std::getline(lines, state);
  std::getline(lines, chi);
  std::getline(lines, evaluations);
  std::getline(lines, d);
  std::getline(lines, sigma);
  EXPECT_TRUE(state == "end state: converged" || state == "end state: below tolerance") << state;
  EXPECT_EQ(chi.rfind("chi-square: ", 0), 0u);
  EXPECT_EQ(evaluations.rfind("evaluations: ", 0), 0u);
  EXPECT_EQ(d.substr(0, 21), "    3  d_1 =     25.0");
  EXPECT_EQ(sigma.substr(0, 19), "    6  sigma_1 = 3.");

  SampleModel fitted;
  CalcSettings settings;
  EditorState editor;
  ReadModelFile(path("fitted.par"), fitted, settings, editor);
  EXPECT_EQ(fitted.baseGrid.cell(2, kColThickness), "25");
  EXPECT_EQ(fitted.baseGrid.cell(2, kColSigma), "3");
  EXPECT_EQ(fitted.baseGrid.cell(2, kColRho), "3.475E-6");
}

TEST_F(FitCommandsTest, AFailedFitWritesNothing) {
  writeData("no_errors.dat", SampleModel(), 0.0);
  const Outcome outcome =
      RunCommand("fit", {path("start.par"), path("no_errors.dat"), "--vary", "3", "--weighting",
                         "errors", "-o", path("fitted.par")});
  EXPECT_EQ(outcome.status, kFailure);
  EXPECT_EQ(outcome.err, "quorrel-cli: one of the parameters ran out of bounds...\n");
  EXPECT_FALSE(std::filesystem::exists(path("fitted.par")));
}

TEST_F(FitCommandsTest, FitRefusesBadOptions) {
  const std::vector<std::vector<std::string>> bad = {
      {path("start.par"), path("data.dat")},                   // no --vary
      {path("start.par"), path("data.dat"), "--vary", "11"},   // no such entry (10: the scale)
      {path("start.par"), path("data.dat"), "--vary", "6-3"},  // empty range
      {path("start.par"), path("data.dat"), "--vary", "3", "--tolerance", "2"},
      {path("start.par"), path("data.dat"), "--vary", "3", "--seed", "-1"},
      {path("start.par"), "--vary", "3"},
  };
  for (const auto& args : bad) EXPECT_THROW(RunCommand("fit", args), UsageError) << args.back();
}

TEST_F(FitCommandsTest, LevenbergMarquardtPrintsStandardErrorsAndCorrelations) {
  const Outcome outcome =
      RunCommand("fit", {path("start.par"), path("data.dat"), "--vary", "3,6", "--method", "lm",
                         "--weighting", "errors", "--correlations", "-o", path("fitted.par")});
  ASSERT_EQ(outcome.status, kSuccess) << outcome.err;
  EXPECT_EQ(outcome.err, "");
  std::istringstream lines(outcome.out);
  std::vector<std::string> line;
  for (std::string text; std::getline(lines, text);) line.push_back(text);
  ASSERT_EQ(line.size(), 10u) << outcome.out;
  EXPECT_EQ(line[0], "end state: converged");
  EXPECT_EQ(line[1].rfind("chi-square: ", 0), 0u);
  EXPECT_EQ(line[2].rfind("evaluations: ", 0), 0u);
  // Exact data: the fit lands on the model within rounding, far inside its errors of 2 %.
  EXPECT_EQ(line[3].rfind("reduced chi-square: ", 0), 0u);
  EXPECT_NE(line[3].find(" (58 degrees of freedom)"), std::string::npos);
  EXPECT_EQ(line[4].rfind("    3  d_1 =     25.00 \u00b1 0.", 0), 0u) << line[4];
  EXPECT_EQ(line[5].rfind("    6  sigma_1 = 3.00 \u00b1 0.", 0), 0u) << line[5];
  // The full value and its error follow in parentheses.
  // (On which side of 25 the last digits fall depends on the build's rounding.)
  const std::size_t open = line[4].find("  (");
  ASSERT_NE(open, std::string::npos) << line[4];
  const std::string full = line[4].substr(open + 3, line[4].find(' ', open + 3) - open - 3);
  EXPECT_NEAR(LocaleToDouble(full).value_or(0), 25.0, 1e-6) << line[4];
  EXPECT_NE(line[4].find(" \u00b1 0.0", open), std::string::npos) << line[4];
  EXPECT_EQ(line[6], "correlations:");
  EXPECT_EQ(line[7], "            3       6");
  EXPECT_EQ(line[8].rfind("    3   1.000  ", 0), 0u) << line[8];
  EXPECT_EQ(line[9].substr(line[9].size() - 8), "   1.000");
  EXPECT_EQ(line[8].substr(13), line[9].substr(5, 8));  // the matrix is symmetric

  SampleModel fitted;
  CalcSettings settings;
  EditorState editor;
  ReadModelFile(path("fitted.par"), fitted, settings, editor);
  EXPECT_EQ(fitted.baseGrid.cell(2, kColThickness), "25");
}

TEST_F(FitCommandsTest, TheMethodAndCorrelationsAreCheckedBeforeAnyFit) {
  const std::vector<std::vector<std::string>> bad = {
      {path("start.par"), path("data.dat"), "--vary", "3", "--method", "newton"},
      {path("start.par"), path("data.dat"), "--vary", "3", "--correlations"},
      {path("start.par"), path("data.dat"), "--vary", "3", "--method", "search", "--correlations"},
  };
  for (const auto& args : bad) EXPECT_THROW(RunCommand("fit", args), UsageError) << args.back();
}

TEST_F(FitCommandsTest, RecoversTheExampleMultilayerFromAPerturbedStart) {
  // The example data were made from examples/multilayer.par with counting noise; start with
  // both period thicknesses and the cap's roughness 14 to 18 % off.
  const std::string examples = QUORREL_EXAMPLES;
  SampleModel start;
  CalcSettings settings;
  EditorState editor;
  ReadModelFile(examples + "/multilayer.par", start, settings, editor);
  start.mlGrid.setCell(1, kColThickness, "80");
  start.mlGrid.setCell(2, kColThickness, "60");
  start.baseGrid.setCell(2, kColSigma, "4.7");
  WriteModelFile(path("start_multilayer.par"), start, settings);
  const Outcome outcome = RunCommand(
      "fit", {path("start_multilayer.par"), examples + "/multilayer_measured.dat", "--vary",
              "6,10,14", "--resolution", "--background", "--seed", "3", "-o", path("fitted.par")});
  ASSERT_EQ(outcome.status, kSuccess) << outcome.err;
  SampleModel fitted;
  ReadModelFile(path("fitted.par"), fitted, settings, editor);
  const auto cell = [](const TextGrid& grid, int row, int column) {
    return LocaleToDouble(grid.cell(row, column), '.').value_or(0);
  };
  EXPECT_NEAR(cell(fitted.mlGrid, 1, kColThickness), 70.0, 0.7);
  EXPECT_NEAR(cell(fitted.mlGrid, 2, kColThickness), 70.0, 0.7);
  // The roughness is less well defined by noisy data than the period.
  EXPECT_NEAR(cell(fitted.baseGrid, 2, kColSigma), 4.0, 0.1);
}

TEST_F(FitCommandsTest, SamplePrintsTheSummaryAndWritesTheChainAndTheProject) {
  const Outcome outcome =
      RunCommand("sample", {path("start.par"), path("data.dat"), "--vary", "d_1", "--bounds",
                            "d_1=20:30", "--walkers", "8", "--burn", "30", "--steps", "40",
                            "--seed", "4", "--chain", path("chain.txt"), "-o", path("p.qproj")});
  ASSERT_EQ(outcome.status, kSuccess) << outcome.err;
  EXPECT_NE(outcome.out.find("walkers: 8, burn-in steps: 30, steps: 40, thinning: 1\n"),
            std::string::npos) << outcome.out;
  // The walkers start around 28 and find the data's 25 within the burn-in.
  EXPECT_NE(outcome.out.find("\n    3  d_1  2"), std::string::npos) << outcome.out;
  for (const char* line : {"\nacceptance: 0.", "\nautocorrelation times (steps): d_1 ",
                           "\neffective samples: d_1 ", "\nevaluations: ", "\nwall time: "}) {
    EXPECT_NE(outcome.out.find(line), std::string::npos) << line;
  }
  std::ifstream chain(path("chain.txt"));
  std::vector<std::string> lines;
  for (std::string text; std::getline(chain, text);) lines.push_back(text);
  ASSERT_EQ(lines.size(), 6u + 8 * 40);
  EXPECT_EQ(lines[5], "# d_1 log_probability");
  const double d = LocaleToDouble(lines.back().substr(0, lines.back().find(' '))).value_or(0);
  EXPECT_NEAR(d, 25.0, 2.0);  // a sample of the posterior, away from the start
  std::ifstream project(path("p.qproj"));
  const std::string text((std::istreambuf_iterator<char>(project)), {});
  EXPECT_NE(text.find("sampling:"), std::string::npos);

  writeData("no_errors.dat", SampleModel(), 0.0);
  const Outcome refused = RunCommand(
      "sample", {path("start.par"), path("no_errors.dat"), "--vary", "3", "--bounds", "3=20:30"});
  EXPECT_EQ(refused.status, kFailure);
  EXPECT_NE(refused.err.find("no_errors has no error at point 1"), std::string::npos)
      << refused.err;
  const Outcome unbounded =
      RunCommand("sample", {path("start.par"), path("data.dat"), "--vary", "3,6", "--bounds",
                            "3=20:30"});
  EXPECT_NE(unbounded.err.find("give sigma_1 a lower and an upper bound"), std::string::npos)
      << unbounded.err;
}

}  // namespace
}  // namespace quorrel::cli
