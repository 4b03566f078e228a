#include "files/curve_files.h"

#include <gtest/gtest.h>

#include "common/decimal_separator.h"
#include "common/error.h"
#include "scratch_folder.h"

namespace quorrel {
namespace {

std::vector<std::string> Split(const std::string& line, char separator) {
  std::vector<std::string> fields(1);
  for (char c : line) {
    if (c == separator) {
      fields.emplace_back();
    } else {
      fields.back().push_back(c);
    }
  }
  return fields;
}

//! The lines of a text whose every line ends in CR LF.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    EXPECT_NE(end, std::string::npos) << "last line without CR LF";
    if (end == std::string::npos) break;
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

ReflectivityResult ThreePoints() {
  ReflectivityResult result;
  const double qz[] = {0.000123, 0.05, 0.1};
  for (int i = 0; i < 3; ++i) {
    result.plain.append(qz[i], 1234.0 / (i + 1));
    result.spinUp.append(qz[i], 0.5 + i);
    result.spinDown.append(qz[i], 0.25 + i);
  }
  result.transmission.append(0.000123, 0.875);
  result.transmission.append(0.1, 0.75);  // none at 0.05: its transmission was not above 0
  return result;
}

TEST(ReflectivityFileText, ThreeFieldsWithPointAndComma) {
  ReflectivityResult result;
  result.plain.append(0.000123, 1234.0);
  result.plain.append(0.25, -0.5);
  {
    ScopedDecimalSeparator point('.');
    EXPECT_EQ(ReflectivityFileText(result, false, false),
              "1.230e-04\t1.234e03\t0\r\n2.500e-01\t-5.000e-01\t0\r\n");
  }
  ScopedDecimalSeparator comma(',');
  EXPECT_EQ(ReflectivityFileText(result, false, false),
            "1,230e-04\t1,234e03\t0\r\n2,500e-01\t-5,000e-01\t0\r\n");
}

TEST(ReflectivityFileText, FieldsPerSwitches) {
  ScopedDecimalSeparator point('.');
  const ReflectivityResult result = ThreePoints();
  struct Case {
    bool magnetization;
    bool transmission;
    std::size_t fields;
  };
  for (const Case c : {Case{false, false, 3}, Case{true, false, 6}, Case{false, true, 4},
                       Case{true, true, 7}}) {
    const auto lines = Lines(ReflectivityFileText(result, c.magnetization, c.transmission));
    ASSERT_EQ(lines.size(), 3u);
    for (const std::string& line : lines) {
      EXPECT_EQ(Split(line, '\t').size(), c.fields) << line;
    }
  }
}

TEST(ReflectivityFileText, SevenFieldsWithTheFifthEmpty) {
  ScopedDecimalSeparator point('.');
  const auto lines = Lines(ReflectivityFileText(ThreePoints(), true, true));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "1.230e-04\t1.234e03\t0\t5.000e-01\t\t2.500e-01\t8.750e-01");
  const auto fields = Split(lines[2], '\t');
  EXPECT_EQ(fields[3], "2.500e00");   // spin state +1
  EXPECT_EQ(fields[4], "");
  EXPECT_EQ(fields[5], "2.250e00");   // spin state -1
}

TEST(ReflectivityFileText, TransmissionStaysBesideItsOwnQz) {
  ScopedDecimalSeparator point('.');
  const auto lines = Lines(ReflectivityFileText(ThreePoints(), false, true));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(Split(lines[0], '\t')[3], "8.750e-01");
  EXPECT_EQ(Split(lines[1], '\t')[3], "");
  EXPECT_EQ(Split(lines[2], '\t')[3], "7.500e-01");
}

TEST(ReflectivityFileText, SwitchesWithoutTheirCurvesLeaveEmptyFields) {
  // The check boxes are read when saving; the curves may come from a run without them.
  ScopedDecimalSeparator point('.');
  ReflectivityResult result;
  result.plain.append(0.01, 0.5);
  EXPECT_EQ(ReflectivityFileText(result, true, true), "1.000e-02\t5.000e-01\t0\t\t\t\t\r\n");
}

TEST(ReflectivityFileText, SpinFlipChannelsFollowNamedAndBesideTheirQz) {
  ScopedDecimalSeparator point('.');
  const ReflectivityResult result = ThreePoints();
  SpinFlipResult flip;
  for (int i = 0; i < 3; ++i) {
    const double qz = result.plain.x[static_cast<std::size_t>(i)];
    flip.downDown.append(qz, 0.1 * (i + 1));
    flip.downUp.append(qz, 0.01 * (i + 1));
    flip.upDown.append(qz, 0.02 * (i + 1));
    flip.upUp.append(qz, 0.2 * (i + 1));
  }
  const auto lines = Lines(ReflectivityFileText(result, true, true, &flip));
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "# Qz\tR\tdR\tR_up\t\tR_down\tT\tR--\tR-+\tR+-\tR++");
  // The second point has no transmission: its field stays empty, the channels keep their place.
  EXPECT_EQ(lines[2], "5.000e-02\t6.170e02\t0\t1.500e00\t\t1.250e00\t\t"
                      "2.000e-01\t2.000e-02\t4.000e-02\t4.000e-01");
  // Without a spin-flip run the file is as before: no names line.
  EXPECT_EQ(ReflectivityFileText(result, true, true, nullptr),
            ReflectivityFileText(result, true, true));
  EXPECT_EQ(Lines(ReflectivityFileText(result, false, false)).front().rfind("1.230e-04", 0), 0u);
}

TEST(ReflectivityFileText, NoCurveGivesNoLines) {
  EXPECT_EQ(ReflectivityFileText(ReflectivityResult(), true, true), "");
}

TEST(ProfileFileText, TwoFieldsPerPoint) {
  ScopedDecimalSeparator comma(',');
  ProfileCurve profile;
  profile.append(-25.0, 0.0);
  profile.append(12.5, 3.475e-6);
  EXPECT_EQ(ProfileFileText(profile), "-2,500e01\t0,000e00\r\n1,250e01\t3,475e-06\r\n");
}

TEST(CurveFiles, WriteAndReplace) {
  ScopedDecimalSeparator point('.');
  ScratchFolder folder;
  const auto path = folder / "curve.dat";
  folder.write("curve.dat", "old\r\n");
  WriteReflectivityFile(path, ThreePoints(), false, false);
  EXPECT_EQ(ScratchFolder::read(path), ReflectivityFileText(ThreePoints(), false, false));

  ProfileCurve profile;
  profile.append(1.0, 2.0);
  WriteProfileFile(folder / "sld.pro", profile);
  EXPECT_EQ(ScratchFolder::read(folder / "sld.pro"), "1.000e00\t2.000e00\r\n");

  WriteProfileFile(folder / "empty.pro", ProfileCurve());
  EXPECT_EQ(std::filesystem::file_size(folder / "empty.pro"), 0u);
  EXPECT_EQ(folder.entryCount(), 3);
}

TEST(CurveFiles, UnwritableFileIsAFileErrorNamingIt) {
  ScratchFolder folder;
  const auto path = folder / "missing" / "curve.dat";
  try {
    WriteReflectivityFile(path, ThreePoints(), false, false);
    FAIL() << "no error";
  } catch (const FileError& error) {
    EXPECT_NE(std::string(error.what()).find(path.string()), std::string::npos) << error.what();
  }
}

}  // namespace
}  // namespace quorrel
