#include "files/column_import.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "common/error.h"
#include "scratch_folder.h"

namespace quorrel {
namespace {

ColumnMapping Mapping(const char* roles, QUnit unit = QUnit::InverseAngstrom) {
  return {*ReadColumnRoles(roles), unit, 1.5406};
}

TEST(ColumnRoles, ReadAndWriteTheCommandLineNames) {
  EXPECT_EQ(ReadColumnRoles("q,R,dR,sQz"),
            (std::vector<ColumnRole>{ColumnRole::Qz, ColumnRole::R, ColumnRole::DR,
                                     ColumnRole::SQz}));
  EXPECT_EQ(ReadColumnRoles("2THETA,skip,r"),
            (std::vector<ColumnRole>{ColumnRole::TwoTheta, ColumnRole::Skip, ColumnRole::R}));
  EXPECT_EQ(ColumnRolesText(*ReadColumnRoles("theta,r,DR")), "theta,R,dR");
  for (const char* bad : {"", "q,,R", "q,R,x", "q;R"}) EXPECT_FALSE(ReadColumnRoles(bad)) << bad;
}

TEST(ColumnRoles, TheStartingMappingFitsTheTable) {
  EXPECT_EQ(ColumnRolesText(StartingMapping(3, {}).roles), "q,R,dR");
  EXPECT_EQ(ColumnRolesText(StartingMapping(5, {}).roles), "q,R,dR,sQz,skip");
  const ColumnMapping remembered{*ReadColumnRoles("2theta,R"), QUnit::InverseNanometre, 0.71};
  const ColumnMapping mapping = StartingMapping(3, remembered);
  EXPECT_EQ(ColumnRolesText(mapping.roles), "2theta,R,skip");
  EXPECT_EQ(mapping.wavelength, 0.71);
  EXPECT_EQ(mapping.qUnit, QUnit::InverseNanometre);
}

TEST(TextTable, SkipsAndCountsCommentAndHeaderLinesWhateverTheSeparator) {
  ScratchFolder folder;
  const std::vector<std::string> files{
      "# scan of sample 12\n2theta  counts  error\n\n0.1 100 10\n0.2\t50\t7\n",
      "% exported\r\nQ,R,dR\r\n0.1,100,10\r\n0.2,50,7\r\n",
      "Q;R;dR\n0,1;100;10\n0,2;50;7\nend of data\n",
  };
  for (const std::string& text : files) {
    const TextTable table = ReadTextTable(folder.write("table.txt", text));
    EXPECT_EQ(table.rows, (std::vector<std::vector<double>>{{0.1, 100, 10}, {0.2, 50, 7}}))
        << text;
    EXPECT_EQ(table.skippedLines, 2) << text;
    EXPECT_EQ(table.columnCount, 3);
    EXPECT_EQ(table.firstLines.size(), std::count(text.begin(), text.end(), '\n'));
  }
}

TEST(ConvertTable, TwoThetaInDegreesBecomesQzAtTheWavelength) {
  // A laboratory scan with a header: 2theta = 1° at 1.5406 Å is Qz = 4π/λ·sin 0.5°.
  ScratchFolder folder;
  const auto path = folder.write("xrr.xy",
                                 "# Cu K-alpha, 40 kV\n"
                                 "2Theta      Intensity\n"
                                 "0.5000      0.95\n"
                                 "1.0000      1.2e-2\n"
                                 "2.0000      0\n"
                                 "4.0000      3.5e-5\n");
  std::vector<std::string> notes;
  const MeasuredData data = ImportMeasuredData(path, Mapping("2theta,R"), notes);
  ASSERT_EQ(data.count(), 3);
  const double perDegree = 4 * std::numbers::pi / 1.5406;
  EXPECT_DOUBLE_EQ(data.qz[0], perDegree * std::sin(0.25 * std::numbers::pi / 180));
  EXPECT_NEAR(data.qz[1], 0.0711806, 1e-7);
  EXPECT_DOUBLE_EQ(data.qz[2], perDegree * std::sin(2.0 * std::numbers::pi / 180));
  EXPECT_EQ(data.r, (std::vector<double>{0.95, 1.2e-2, 3.5e-5}));
  EXPECT_EQ(data.dr, (std::vector<double>{0, 0, 0}));
  EXPECT_FALSE(data.hasResolution());
  EXPECT_EQ(notes, (std::vector<std::string>{"2 comment or header lines skipped",
                                             "1 rows with R not above zero dropped"}));
  EXPECT_EQ(data.fileName, std::filesystem::absolute(path).string());
  EXPECT_EQ(data.fitRegionLow, data.qz[0]);
  EXPECT_EQ(data.fitRegionHigh, data.qz[2]);

  // Theta is half of it; another wavelength scales Qz.
  ColumnMapping theta = Mapping("theta,R");
  theta.wavelength = 0.7093;
  const MeasuredData molybdenum = ImportMeasuredData(path, theta, notes);
  EXPECT_DOUBLE_EQ(molybdenum.qz[0],
                   4 * std::numbers::pi / 0.7093 * std::sin(0.5 * std::numbers::pi / 180));
}

TEST(ConvertTable, QzAndSQzInInverseNanometresAndColumnsInAnyOrder) {
  TextTable table;
  table.rows = {{0.3, 0.1, 0.9, 0.02, 7}, {0.4, 0.2, 0.5, 0.01, 7}, {0.5, 0.3}};
  const ImportedPoints points =
      ConvertTable(table, Mapping("sQz,q,R,dR,skip", QUnit::InverseNanometre));
  EXPECT_EQ(points.data.count(), 2);
  EXPECT_DOUBLE_EQ(points.data.qz[1], 0.02);
  EXPECT_DOUBLE_EQ(points.data.sqz[0], 0.03);
  EXPECT_EQ(points.data.dr, (std::vector<double>{0.02, 0.01}));
  EXPECT_EQ(points.unusableRows, 1);

  // The peers' dQ as a gaussian's full width at half maximum: 2·√(2 ln 2) sigma.
  ColumnMapping fwhm = Mapping("sQz,q,R,dR,skip", QUnit::InverseNanometre);
  fwhm.sqzWidth = SqzWidth::Fwhm;
  EXPECT_NEAR(ConvertTable(table, fwhm).data.sqz[0], 0.03 / 2.3548200450309493, 1e-15);
}

TEST(ConvertTable, AMappingNeedsOneXAndOneR) {
  TextTable table;
  table.rows = {{0.1, 0.5}};
  struct Case {
    const char* roles;
    const char* message;
  };
  for (const Case& c : {Case{"R,skip", "mark one column as q, theta or 2theta"},
                        Case{"q,theta", "mark one column as q, theta or 2theta"},
                        Case{"q,dR", "mark one column as R"},
                        Case{"q,R,R", "two columns are marked R"}}) {
    try {
      ConvertTable(table, Mapping(c.roles));
      ADD_FAILURE() << c.roles;
    } catch (const QuorrelError& error) {
      EXPECT_EQ(std::string(error.what()), c.message);
    }
  }
}

}  // namespace
}  // namespace quorrel
