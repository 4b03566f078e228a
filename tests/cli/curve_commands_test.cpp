// quorrel-cli reflectivity and profile, run as the built program on the bundled examples.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>

#include "calc/profile_run.h"
#include "calc/reflectivity_run.h"
#include "common/decimal_separator.h"
#include "common/number_conversion.h"
#include "files/model_file_reader.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;

const std::string kBinary = QUORREL_CLI_BINARY;
const fs::path kExamples = QUORREL_EXAMPLES;

std::string ReadText(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

class CurveCommands : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("quorrel_cli_" + std::to_string(::getpid()) + "_" +
               testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  //! Runs the program with `args` (LC_ALL=C, so the default separator is the point).
  Outcome Run(const std::vector<std::string>& args) const {
    std::string command = "LC_ALL=C '" + kBinary + "'";
    for (const std::string& arg : args) command += " '" + arg + "'";
    command += " >'" + (folder_ / "stdout").string() + "'";
    command += " 2>'" + (folder_ / "stderr").string() + "'";
    const int wait = std::system(command.c_str());
    Outcome outcome;
    outcome.status = WIFEXITED(wait) ? WEXITSTATUS(wait) : -1;
    outcome.out = ReadText(folder_ / "stdout");
    outcome.err = ReadText(folder_ / "stderr");
    return outcome;
  }

  std::string Example(const char* name) const { return (kExamples / name).string(); }
  fs::path Temp(const char* name) const { return folder_ / name; }

  fs::path folder_;
};

//! The tab-separated fields of each CR LF line; fields that are empty stay empty.
std::vector<std::vector<std::string>> Table(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      ADD_FAILURE() << "line without CR LF at " << start;
      break;
    }
    std::vector<std::string> fields;
    std::string line = text.substr(start, end - start);
    std::size_t from = 0;
    for (std::size_t tab; (tab = line.find('\t', from)) != std::string::npos; from = tab + 1) {
      fields.push_back(line.substr(from, tab - from));
    }
    fields.push_back(line.substr(from));
    rows.push_back(fields);
    start = end + 2;
  }
  return rows;
}

double Number(const std::string& text, char separator = '.') {
  const std::optional<double> value = LocaleToDouble(text, separator);
  EXPECT_TRUE(value.has_value()) << "'" << text << "'";
  return value.value_or(NAN);
}

struct Model {
  SampleModel model;
  CalcSettings settings;
};

Model Load(const std::string& path) {
  Model loaded;
  EditorState editor;
  const ModelFileOutcome outcome = ReadModelFile(path, loaded.model, loaded.settings, editor);
  EXPECT_FALSE(outcome.message.has_value()) << path;
  return loaded;
}

TEST_F(CurveCommands, DefaultModelOnTheDefaultGrid) {
  const Outcome run = Run({"reflectivity", Example("default.par")});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const auto rows = Table(run.out);
  ASSERT_EQ(rows.size(), 100u);
  EXPECT_EQ(rows.front(), (std::vector<std::string>{"0.000e00", "1.000e00", "0"}));
  EXPECT_EQ(rows[1][0], "2.500e-03");
  EXPECT_EQ(rows.back()[0], "2.475e-01");
  // Far above the critical edge a thin film on silicon follows the Fresnel fall-off.
  const double high = Number(rows.back()[1]);
  EXPECT_GT(high, 1e-8);
  EXPECT_LT(high, 1e-6);
}

TEST_F(CurveCommands, FullPrecisionMatchesTheRunOfTheFile) {
  ScopedDecimalSeparator point('.');
  for (const char* name : {"default.par", "multilayer.par", "symmetric_film.par", "magnetic.par",
                           "builtin_function.par", "user_function.par"}) {
    SCOPED_TRACE(name);
    const Outcome run = Run({"reflectivity", Example(name), "--precision", "full"});
    ASSERT_EQ(run.status, 0) << run.err;
    const Model loaded = Load(Example(name));
    const ReflectivityResult expected =
        RunReflectivityCalculation(loaded.model, loaded.settings, MeasuredData());
    const auto rows = Table(run.out);
    ASSERT_EQ(rows.size(), expected.plain.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
      ASSERT_EQ(rows[i].size(), 3u);
      EXPECT_EQ(Number(rows[i][0]), expected.plain.x[i]);
      EXPECT_EQ(Number(rows[i][1]), expected.plain.y[i]);
    }
  }
}

TEST_F(CurveCommands, ReferenceKernelGivesTheSameCurve) {
  const Outcome fast = Run({"reflectivity", Example("multilayer.par"), "--precision", "full"});
  const Outcome reference = Run({"reflectivity", Example("multilayer.par"), "--precision", "full",
                                 "--kernel", "reference"});
  ASSERT_EQ(fast.status, 0) << fast.err;
  ASSERT_EQ(reference.status, 0) << reference.err;
  const auto fastRows = Table(fast.out);
  const auto referenceRows = Table(reference.out);
  ASSERT_EQ(fastRows.size(), referenceRows.size());
  for (std::size_t i = 0; i < fastRows.size(); ++i) {
    EXPECT_EQ(fastRows[i][0], referenceRows[i][0]);
    const double r = Number(referenceRows[i][1]);
    EXPECT_NEAR(Number(fastRows[i][1]) / r, 1.0, 1e-11) << referenceRows[i][0];
  }
  EXPECT_EQ(Run({"reflectivity", Example("default.par"), "--kernel", "slow"}).status, 2);
}

TEST_F(CurveCommands, BackgroundAndResolutionComeFromTheFile) {
  ScopedDecimalSeparator point('.');
  const Outcome run = Run({"reflectivity", Example("multilayer.par"), "--precision", "full"});
  ASSERT_EQ(run.status, 0) << run.err;
  const auto rows = Table(run.out);
  Model bare = Load(Example("multilayer.par"));
  bare.settings.cbBackground = false;
  const ReflectivityResult noBackground =
      RunReflectivityCalculation(bare.model, bare.settings, {});
  bare.settings.cbVSelector = false;  // the one default region of width 0: no smearing
  const ReflectivityResult sharp = RunReflectivityCalculation(bare.model, bare.settings, {});
  ASSERT_EQ(rows.size(), noBackground.plain.size());
  std::size_t smeared = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    // The file's constant background of 2e-6 is added to every point.
    EXPECT_NEAR(Number(rows[i][1]) - noBackground.plain.y[i], 2e-6, 1e-15) << rows[i][0];
    if (std::fabs(noBackground.plain.y[i] - sharp.plain.y[i]) > 1e-3 * sharp.plain.y[i]) {
      ++smeared;
    }
  }
  // The velocity selector's resolution of the file smears the Bragg peaks.
  EXPECT_GT(smeared, rows.size() / 2);
}

TEST_F(CurveCommands, MeasuredPointsOrAGivenRange) {
  const std::string data = Example("multilayer_measured.dat");
  Outcome run = Run({"reflectivity", Example("multilayer.par"), "--data", data});
  ASSERT_EQ(run.status, 0) << run.err;
  const auto measured = Table(ReadText(data));
  auto rows = Table(run.out);
  ASSERT_EQ(rows.size(), measured.size());
  for (std::size_t i = 0; i < rows.size(); i += 37) {
    EXPECT_NEAR(Number(rows[i][0]), Number(measured[i][0]), 5e-4 * Number(measured[i][0]));
    // The synthetic data were counted from this model: within a few counting errors.
    const double r = Number(rows[i][1]);
    EXPECT_NEAR(Number(measured[i][1]), r, 5 * Number(measured[i][2]) + 2e-3 * r) << rows[i][0];
  }

  run = Run({"reflectivity", Example("multilayer.par"), "--data", data, "--qmin", "0.01",
             "--qmax", "0.05", "--points", "4"});
  ASSERT_EQ(run.status, 0) << run.err;
  rows = Table(run.out);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0][0], "1.000e-02");
  EXPECT_EQ(rows[3][0], "4.000e-02");
}

TEST_F(CurveCommands, MagneticAndTransmissionColumns) {
  const Outcome run = Run({"reflectivity", Example("magnetic.par"), "--magnetic",
                           "--transmission", "--wavelength", "5", "--thickness", "0.5",
                           "--qmin", "0.02", "--qmax", "0.1", "--points", "8"});
  ASSERT_EQ(run.status, 0) << run.err;
  const auto rows = Table(run.out);
  ASSERT_EQ(rows.size(), 8u);
  for (const auto& row : rows) {
    ASSERT_EQ(row.size(), 7u);
    EXPECT_EQ(row[2], "0");
    EXPECT_EQ(row[4], "");
    EXPECT_NE(row[3], row[5]) << "iron splits the spin states at " << row[0];
    const double r = Number(row[1]);
    const double t = Number(row[6]);
    EXPECT_GT(t, 0.0);
    EXPECT_LE(t, 1.0 - r + 1e-3);
  }
}

TEST_F(CurveCommands, CommaSeparatorAndFullPrecision) {
  Outcome run = Run({"--decimal", ",", "reflectivity", Example("default.par"), "--qmin", "0,05",
                     "--qmax", "0.1", "--points", "2"});
  ASSERT_EQ(run.status, 0) << run.err;
  auto rows = Table(run.out);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0][0], "5,000e-02");
  EXPECT_EQ(rows[1][0], "7,500e-02");

  run = Run({"reflectivity", Example("default.par"), "--qmin", "0.1", "--qmax", "0.2",
             "--points", "3", "--precision", "full", "--decimal", ","});
  ASSERT_EQ(run.status, 0) << run.err;
  rows = Table(run.out);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0][0], "0,10000000000000001");
  EXPECT_EQ(Number(rows[1][1], ','), Number(Table(Run({"reflectivity", Example("default.par"),
                                                       "--qmin", "0.1", "--qmax", "0.2",
                                                       "--points", "3", "--precision", "full"})
                                                  .out)[1][1]));
}

TEST_F(CurveCommands, ProfileAutomaticAndUserRange) {
  Outcome run = Run({"profile", Example("default.par")});
  ASSERT_EQ(run.status, 0) << run.err;
  auto rows = Table(run.out);
  ASSERT_GE(rows.size(), 100u);
  ASSERT_LE(rows.size(), 101u);
  EXPECT_EQ(rows.front()[0], "-6.000e00");
  EXPECT_NEAR(Number(rows.back()[0]), 31.0, 0.38);

  run = Run({"profile", Example("default.par"), "--zmin", "100", "--zmax", "-50", "--points",
             "150", "--precision", "full"});
  ASSERT_EQ(run.status, 0) << run.err;
  rows = Table(run.out);
  ASSERT_EQ(rows.size(), 151u);
  EXPECT_EQ(Number(rows.front()[0]), -50.0);
  EXPECT_EQ(Number(rows.back()[0]), 100.0);
  // Two error-function steps: air to the layer at z = 0 (sigma 3), the layer to silicon at
  // z = 25 (sigma 5).
  const auto expected = [](double z) {
    const auto step = [z](double at, double sigma) {
      return 0.5 * (1 + std::erf((z - at) / (std::sqrt(2.0) * sigma)));
    };
    return 3.475e-6 * step(0, 3) + (2.073e-6 - 3.475e-6) * step(25, 5);
  };
  for (std::size_t i = 0; i < rows.size(); i += 10) {
    const double z = Number(rows[i][0]);
    EXPECT_EQ(z, -50.0 + static_cast<double>(i));
    EXPECT_NEAR(Number(rows[i][1]), expected(z), 1e-12) << z;
  }
}

TEST_F(CurveCommands, ProfilesOfTheFunctionModelsFollowTheirFunctions) {
  struct Case {
    const char* name;
    double regionStart;  // depth of the first step
    double stepThickness;
    double (*f)(double z);
  };
  const Case cases[] = {
      // "oscillating decay" below a 30 A layer of 4e-6 on silicon: A 1e-6, lam 40, phi 0,
      // xsi 100, over 60 steps of 2 A.
      {"builtin_function.par", 30, 2,
       [](double z) {
         const double line = z * (2.07e-6 - 4e-6) / 120;
         const double wave = std::cos(2 * std::numbers::pi * z / 40) - 1;
         return 4e-6 + 1e-6 * std::exp(-z / 100) * wave + line;
       }},
      // The user's C+(A-C)*exp(-z/B) with A 1.2e-6, B 45, C 6.35e-6, over 50 steps of 3 A.
      {"user_function.par", 0, 3,
       [](double z) { return 6.35e-6 + (1.2e-6 - 6.35e-6) * std::exp(-z / 45); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Outcome run = Run({"profile", Example(c.name), "--zmin", "0", "--zmax", "150",
                             "--points", "300", "--precision", "full"});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto rows = Table(run.out);
    ASSERT_EQ(rows.size(), 301u);
    // Step k spans the depths below the region's start from (k - 1) h to k h and holds
    // f(k h); its inner interfaces are sharp, so its middle shows that value.
    for (int k : {1, 5, 10, 20, 30}) {
      const double z = c.regionStart + (k - 0.5) * c.stepThickness;
      const auto row = static_cast<std::size_t>(std::lround(z * 2));
      ASSERT_EQ(Number(rows[row][0]), z);
      EXPECT_NEAR(Number(rows[row][1]), c.f(k * c.stepThickness), 1e-13) << "step " << k;
    }
  }
}

TEST_F(CurveCommands, OutputFileAndNothingOnFailure) {
  const fs::path out = Temp("curve.dat");
  Outcome run = Run({"reflectivity", Example("default.par"), "-o", out.string()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(Table(ReadText(out)).size(), 100u);

  // A run that fails leaves the earlier file alone.
  run = Run({"reflectivity", Example("default.par"), "--points", "0", "-o", out.string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("default.par"), std::string::npos) << run.err;
  EXPECT_EQ(Table(ReadText(out)).size(), 100u);

  const fs::path missing = Temp("never.pro");
  run = Run({"profile", Temp("nosuch.par").string(), "-o", missing.string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("nosuch.par"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(missing));
}

TEST_F(CurveCommands, DataLinesAreReportedOrFatal) {
  const fs::path data = Temp("data.dat");
  std::ofstream(data, std::ios::binary) << "Qz\tR\tdR\r\n0.01\t0.5\t0.01\r\n0.02\t-1\t0\r\n"
                                           "0.03\t0.1\t0.01\r\n";
  Outcome run = Run({"reflectivity", Example("default.par"), "--data", data.string()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Table(run.out).size(), 2u);
  EXPECT_EQ(run.err, "quorrel-cli: " + data.string() +
                         ": Ooops... skipping strange value in line #1\n"
                         "quorrel-cli: " + data.string() +
                         ": Ooops... value smaller than zero in line #2 will be skipped!\n");

  run = Run({"reflectivity", Example("default.par"), "--data", data.string(), "--strict"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("line #1"), std::string::npos) << run.err;
}

TEST_F(CurveCommands, DamagedAndOlderModelFiles) {
  const std::string text = ReadText(Example("default.par"));
  const fs::path older = Temp("older.par");
  // The older layout: the sample only.
  std::ofstream(older, std::ios::binary) << text.substr(0, text.rfind("0\r\n1\r\n0\r\n0\r\n"));
  Outcome run = Run({"profile", older.string()});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("warning: " + older.string() + ": line 31"), std::string::npos)
      << run.err;

  const fs::path damaged = Temp("damaged.par");
  std::ofstream(damaged, std::ios::binary) << text.substr(0, 100);
  run = Run({"reflectivity", damaged.string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find(damaged.string() + ": line "), std::string::npos) << run.err;

  const fs::path badCell = Temp("cell.par");
  std::string cell = text;
  cell.replace(cell.find("\r\n25\r\n"), 6, "\r\n2x5\r\n");
  std::ofstream(badCell, std::ios::binary) << cell;
  run = Run({"reflectivity", badCell.string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find(badCell.string() + ": line 18: Layer table, row 1, d / Å"),
            std::string::npos)
      << run.err;
}

TEST_F(CurveCommands, UsageErrorsAndHelp) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"reflectivity"},
                                             {"reflectivity", "a.par", "b.par"},
                                             {"reflectivity", "a.par", "--points"},
                                             {"reflectivity", "a.par", "--points", "many"},
                                             {"reflectivity", "a.par", "--wavelength", "5"},
                                             {"reflectivity", "a.par", "--strict"},
                                             {"reflectivity", "a.par", "--precision", "half"},
                                             {"profile", "a.par", "--zmin", "3"},
                                             {"profile", "a.par", "--bogus"},
                                             {"--decimal", ";", "profile", "a.par"}}) {
    const Outcome run = Run(args);
    EXPECT_EQ(run.status, 2) << args.back();
    EXPECT_EQ(run.out, "");
  }
  for (const char* name : {"reflectivity", "profile"}) {
    const Outcome run = Run({name, "--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.rfind(std::string("usage: quorrel-cli ") + name, 0), 0u) << run.out;
    EXPECT_NE(run.out.find("Exit status"), std::string::npos);
  }
}

TEST_F(CurveCommands, SpinFlipReproducesThePolarisedReferenceCases) {
  const std::string dir = std::string(QUORREL_TEST_DATA) + "/orso/polarised/";
  struct Case {
    const char* name;
    const char* aguide;
    const char* field;
  };
  for (const Case c : {Case{"test0", "5", "0.244"}, Case{"test1", "90", "0"}}) {
    // The layer table itself, and the project import-model makes of it (its angles kept).
    const std::string project = Temp("case.qproj").string();
    ASSERT_EQ(Run({"import-model", dir + c.name + ".layers", "-o", project}).status, 0);
    for (const std::string& input : {dir + c.name + ".layers", project}) {
      // The reference file's Q column as the measured points: the channels at exactly its Q.
      const std::string data = dir + c.name + ".dat";
      const Outcome run = Run({"reflectivity", input, "--spin-flip", "--aguide", c.aguide,
                               "--field", c.field, "--data", data, "--columns", "q,R",
                               "--precision", "full"});
      ASSERT_EQ(run.status, 0) << run.err;
      const auto rows = Table(run.out);
      std::istringstream reference(ReadText(data));
      std::size_t i = 0;
      for (double q, rmm, rmp, rpm, rpp; reference >> q >> rmm >> rmp >> rpm >> rpp; ++i) {
        ASSERT_LT(i, rows.size()) << c.name;
        ASSERT_EQ(rows[i].size(), 5u);
        EXPECT_EQ(Number(rows[i][0]), q);
        const double expected[] = {rmm, rmp, rpm, rpp};
        for (std::size_t channel = 0; channel < 4; ++channel) {
          EXPECT_NEAR(Number(rows[i][channel + 1]), expected[channel],
                      std::max(1e-6 * expected[channel], 1e-10))
              << input << " Q " << q << " channel " << channel;
        }
      }
      EXPECT_EQ(i, rows.size()) << input;
      EXPECT_GT(i, 250u) << input;
    }
  }
}

TEST_F(CurveCommands, SpinFlipOfAModelFileIsCollinear) {
  // The magnetic example with its own resolution and background: R-- and R++ are the spin
  // curves of --magnetic, and nothing flips.
  const std::vector<std::string> grid = {"--qmin", "0.005", "--qmax", "0.2", "--points", "60",
                                         "--precision", "full"};
  std::vector<std::string> args = {"reflectivity", Example("magnetic.par"), "--magnetic"};
  args.insert(args.end(), grid.begin(), grid.end());
  const Outcome magnetic = Run(args);
  args[2] = "--spin-flip";
  const Outcome flip = Run(args);
  ASSERT_EQ(magnetic.status, 0) << magnetic.err;
  ASSERT_EQ(flip.status, 0) << flip.err;
  const auto spins = Table(magnetic.out);
  const auto channels = Table(flip.out);
  ASSERT_EQ(channels.size(), 60u);
  ASSERT_EQ(spins.size(), 60u);
  for (std::size_t i = 0; i < channels.size(); ++i) {
    EXPECT_EQ(channels[i][0], spins[i][0]);
    EXPECT_NEAR(Number(channels[i][1]), Number(spins[i][5]), 1e-10 * Number(spins[i][5]));
    EXPECT_NEAR(Number(channels[i][4]), Number(spins[i][3]), 1e-10 * Number(spins[i][3]));
    EXPECT_EQ(channels[i][2], channels[i][3]);
  }
}

TEST_F(CurveCommands, SpinFlipOptionsThatDoNotBelong) {
  const std::string layers = std::string(QUORREL_TEST_DATA) + "/orso/polarised/test1.layers";
  for (const auto& [args, message] : std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{"reflectivity", layers}, "a layer table (.layers) is calculated with --spin-flip"},
           {{"reflectivity", Example("magnetic.par"), "--field", "1"}, "--field needs --spin-flip"},
           {{"reflectivity", layers, "--spin-flip", "--magnetic"},
            "--magnetic does not go with --spin-flip"},
       }) {
    const Outcome run = Run(args);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty());
  }
}

}  // namespace
}  // namespace quorrel
