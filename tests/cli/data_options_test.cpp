// The data options of quorrel-cli: ORSO files, plain text columns, the resolution from the
// data and the accurate kernel, run in-process.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>

#include "common/decimal_separator.h"
#include "in_process_run.h"

namespace quorrel::cli {
namespace {

const std::string kData = QUORREL_TEST_DATA;

//! The first two numbers of every line of a reflectivity file.
std::vector<std::pair<double, double>> Curve(const std::string& text) {
  std::vector<std::pair<double, double>> points;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream fields(line);
    double q = 0, r = 0;
    if (fields >> q >> r) points.emplace_back(q, r);
  }
  return points;
}

//! The reference R of test5 at each of its rows.
std::vector<double> Test5Reference() {
  std::vector<double> r;
  std::ifstream file(kData + "/orso/test5.dat");
  for (double q, value, dr, dq; file >> q >> value >> dr >> dq;) r.push_back(value);
  return r;
}

//! What the tool reports for a refused run: its exit status and message, as main() turns the
//! exception into them.
std::pair<int, std::string> Refusal(const std::vector<std::string>& args) {
  try {
    RunCommand("reflectivity", args);
  } catch (const UsageError& error) {
    return {int{kUsage}, error.what()};
  } catch (const std::exception& error) {
    return {int{kFailure}, error.what()};
  }
  return {int{kSuccess}, ""};
}

class DataOptionsTest : public ::testing::Test {
 protected:
  ScopedDecimalSeparator point_{'.'};
};

TEST_F(DataOptionsTest, TheAccurateKernelWithTheFilesResolutionReproducesTest5) {
  const std::vector<double> reference = Test5Reference();
  ASSERT_EQ(reference.size(), 101u);
  const auto deviations = [&reference](const Outcome& outcome) {
    const auto curve = Curve(outcome.out);
    std::vector<double> deviation;
    for (std::size_t i = 0; i < curve.size() && i < reference.size(); ++i) {
      deviation.push_back(std::fabs(curve[i].second / reference[i] - 1));
    }
    std::sort(deviation.begin(), deviation.end());
    return deviation;
  };
  const std::vector<std::string> base{kData + "/orso/test5.par", "--data",
                                      kData + "/orso/test5.ort", "--resolution-from-data",
                                      "--precision", "full"};
  std::vector<std::string> accurate = base;
  accurate.insert(accurate.end(), {"--smearing", "accurate"});
  const Outcome smeared = RunCommand("reflectivity", accurate);
  ASSERT_EQ(smeared.status, 0) << smeared.err;
  const std::vector<double> close = deviations(smeared);
  ASSERT_EQ(close.size(), 101u);
  // Measured: 0.047 % everywhere, the reference's own cut at 3.5 sigma.
  EXPECT_LT(close.back(), 0.03);
  EXPECT_LT(close[50], 0.001);

  // The nine-point kernel stays the default, and it cannot follow these fringes.
  const Outcome standard = RunCommand("reflectivity", base);
  ASSERT_EQ(standard.status, 0) << standard.err;
  EXPECT_GT(deviations(standard).back(), 0.1);

  // The fit's chi-square sees the same curve.
  const Outcome chisq = RunCommand(
      "chisq", {kData + "/orso/test5.par", kData + "/orso/test5.ort", "--resolution",
                "--resolution-from-data", "--smearing", "accurate"});
  ASSERT_EQ(chisq.status, 0) << chisq.err;
  EXPECT_LT(std::stod(chisq.out.substr(chisq.out.find(':') + 1)), 1e-6) << chisq.out;
}

TEST_F(DataOptionsTest, AnOrsoDataSetIsChosenByNumber) {
  const std::string file = kData + "/ort/two_spin_states.ort";
  const Outcome second = RunCommand(
      "reflectivity", {kData + "/orso/test5.par", "--data", file, "--dataset", "1"});
  ASSERT_EQ(second.status, 0) << second.err;
  const auto curve = Curve(second.out);
  ASSERT_EQ(curve.size(), 2u);
  EXPECT_DOUBLE_EQ(curve[1].first, 0.02);
  EXPECT_EQ(Curve(RunCommand("reflectivity", {kData + "/orso/test5.par", "--data", file}).out)
                .size(),
            3u);
  EXPECT_EQ(Refusal({kData + "/orso/test5.par", "--data", file, "--dataset", "2"}),
            std::make_pair(int{kFailure}, file + ": there is no data set 2 (0 to 1)"));
}

TEST_F(DataOptionsTest, AWhitespaceTableIn2ThetaIsReadByItsColumns) {
  const auto path = std::filesystem::temp_directory_path() / "quorrel_cli_scan.xy";
  std::ofstream(path) << "# laboratory scan\n2theta I dI\n0.4 0.9 0.01\n1.2 0.01 0.001\n";
  const Outcome outcome =
      RunCommand("reflectivity", {kData + "/orso/test5.par", "--data", path.string(),
                                  "--columns", "2theta,R,dR", "--xray-wavelength", "1.5406",
                                  "--precision", "full"});
  std::filesystem::remove(path);
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(outcome.err,
            "quorrel-cli: " + path.string() + ": 2 comment or header lines skipped\n");
  const auto curve = Curve(outcome.out);
  ASSERT_EQ(curve.size(), 2u);
  EXPECT_NEAR(curve[1].first, 4 * std::numbers::pi / 1.5406 * std::sin(0.6 * std::numbers::pi / 180),
              1e-15);
}

TEST_F(DataOptionsTest, MisusedOptionsAreRefused) {
  const std::string model = kData + "/orso/test5.par";
  const std::string ort = kData + "/ort/two_spin_states.ort";
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string message;
  };
  const std::vector<Case> cases{
      {{model, "--data", ort, "--smearing", "fine"}, kUsage,
       "--smearing takes standard or accurate, not 'fine'"},
      {{model, "--data", ort, "--q-unit", "nm"}, kUsage, "--q-unit, --sqz and --xray-wavelength belong to --columns"},
      {{model, "--data", ort, "--columns", "q,R,x"}, kUsage,
       "--columns takes names from q, theta, 2theta, R, dR, sQz and skip, such as q,R,dR, not "
       "'q,R,x'"},
      {{model, "--dataset", "1"}, kUsage, "--dataset needs --data"},
      {{model, "--data", ort, "--resolution-from-data"}, kFailure,
       ort + ": the data carry no resolution (sQz) for --resolution-from-data"},
  };
  for (const Case& c : cases) EXPECT_EQ(Refusal(c.args), std::make_pair(c.status, c.message));
}

}  // namespace
}  // namespace quorrel::cli
