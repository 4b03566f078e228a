// quorrel-cli sld and materials, run in-process against the shipped table.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "cli/command.h"
#include "in_process_run.h"
#include "common/decimal_separator.h"

namespace quorrel::cli {
namespace {

const std::string kShipped = QUORREL_SHIPPED_MATERIAL_TABLE;

TEST(SldCommand, PrintsTheRowTextsForNeutronsAndXrays) {
  ScopedDecimalSeparator point('.');
  EXPECT_EQ(RunCommand("sld", {"Si", "--database", kShipped}).out, "Si\t2.074E-06\t2.376E-11\n");
  EXPECT_EQ(RunCommand("sld", {"--xray", "Si", "--database", kShipped}).out,
            "Si\t2.006E-05\t4.575E-07\n");
  EXPECT_EQ(RunCommand("sld", {"D2O", "--database", kShipped}).out, "D2O\t6.368E-06\t1.135E-13\n");
  // Plain "SiO2" is the amorphous oxide; quartz has its own record and density.
  EXPECT_EQ(RunCommand("sld", {"SiO2", "--xray", "--database", kShipped}).out,
            "SiO2\t1.886E-05\t2.438E-07\n");
  EXPECT_EQ(RunCommand("sld", {"SiO2 (quartz)", "--database", kShipped}).out,
            "SiO2 (quartz)\t4.184E-06\t1.265E-11\n");
}

TEST(SldCommand, UsesTheUsersSeparatorAndTheTableBesideTheProgram) {
  ScopedDecimalSeparator comma(',');
  // The test runs from bin/, where the shipped table lies in database/.
  EXPECT_EQ(RunCommand("sld", {"Si"}).out, "Si\t2,074E-06\t2,376E-11\n");
}

TEST(SldCommand, Failures) {
  EXPECT_THROW(RunCommand("sld", {"Unobtainium", "--database", kShipped}), QuorrelError);
  // Astatine has no tabulated neutron values, and all six are needed.
  try {
    RunCommand("sld", {"At", "--xray", "--database", kShipped});
    FAIL() << "looked up";
  } catch (const QuorrelError& error) {
    EXPECT_STREQ(error.what(), "At, field 'b_coh': Invalid variant type conversion");
  }
  EXPECT_THROW(RunCommand("sld", {"Si", "--database", kShipped + ".missing"}), QuorrelError);
  EXPECT_FALSE(std::filesystem::exists(kShipped + ".missing"));
  EXPECT_THROW(RunCommand("sld", {}), UsageError);
  EXPECT_THROW(RunCommand("sld", {"Si", "--neutrons"}), UsageError);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(MaterialsCommand, ListsAKindInItsOrder) {
  const std::vector<std::string> elements = Lines(RunCommand("materials", {"--database", kShipped}).out);
  ASSERT_EQ(elements.size(), 92u);
  EXPECT_EQ(elements[0], "* H");  // commented: density of the liquid
  EXPECT_EQ(elements[2], "Li");
  EXPECT_EQ(elements[91], "U");
  const std::vector<std::string> compounds =
      Lines(RunCommand("materials", {"--compounds", "--database", kShipped}).out);
  ASSERT_GE(compounds.size(), 25u);
  EXPECT_EQ(compounds[0], "Al2O3 (sapphire)");
  EXPECT_TRUE(std::is_sorted(compounds.begin(), compounds.end(), [](std::string a, std::string b) {
    auto bare = [](std::string& s) {
      if (s.starts_with("* ")) s.erase(0, 2);
      std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    };
    bare(a);
    bare(b);
    return a < b;
  }));
}

TEST(MaterialsCommand, BadTableIsReportedWithTheUsersMessage) {
  const Outcome outcome = RunCommand("materials", {"--database", kShipped + ".missing"});
  EXPECT_EQ(outcome.status, kFailure);
  EXPECT_EQ(outcome.out, "");
  EXPECT_TRUE(outcome.err.starts_with(
      "quorrel-cli: There is something wrong with this database file.\nyou better reload it...\n"))
      << outcome.err;
}

}  // namespace
}  // namespace quorrel::cli
