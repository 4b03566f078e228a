#include "files/measured_data_file.h"

#include <gtest/gtest.h>

#include "common/decimal_separator.h"
#include "common/error.h"
#include "files/curve_files.h"
#include "scratch_folder.h"
#include "scripted_questions.h"

namespace quorrel {
namespace {

std::string Strange(int line) { return "Ooops...\nskipping strange value in line #" + std::to_string(line); }
std::string NotPositive(int point) {
  return "Ooops...\nvalue smaller than zero in line #" + std::to_string(point) + " will be skipped!";
}

//! A data set loaded earlier, to see that a failed load leaves it alone.
MeasuredData Previous() {
  MeasuredData data;
  data.qz = {0.01, 0.02};
  data.r = {0.9, 0.8};
  data.dr = {0.1, 0.2};
  data.fileName = "/earlier/run.dat";
  data.fitRegionLow = 0.015;
  data.fitRegionHigh = 0.02;
  return data;
}

void ExpectSame(const MeasuredData& actual, const MeasuredData& expected) {
  EXPECT_EQ(actual.qz, expected.qz);
  EXPECT_EQ(actual.r, expected.r);
  EXPECT_EQ(actual.dr, expected.dr);
  EXPECT_EQ(actual.fileName, expected.fileName);
  EXPECT_EQ(actual.fitRegionLow, expected.fitRegionLow);
  EXPECT_EQ(actual.fitRegionHigh, expected.fitRegionHigh);
}

std::string Lines(int count, const char* lineEnd = "\r\n") {
  std::string text;
  for (int i = 1; i <= count; ++i) text += std::to_string(i) + "e-3\t0.5\t0" + lineEnd;
  return text;
}

TEST(LoadMeasuredData, ReadsPointsPathAndRegion) {
  ScopedDecimalSeparator point('.');
  ScratchFolder folder;
  const auto path = folder.write("run.dat", "0.01\t0.9\t0.05\r\n0.02\t5e-1\t0\r\n0.03\t0.1\t0.01\r\n");
  MeasuredData data = Previous();
  ScriptedQuestions questions;
  std::vector<int> progress;
  EXPECT_EQ(LoadMeasuredData(path, data, questions, [&](int n) { progress.push_back(n); }),
            LoadOutcome::Loaded);
  EXPECT_EQ(data.qz, (std::vector<double>{0.01, 0.02, 0.03}));
  EXPECT_EQ(data.r, (std::vector<double>{0.9, 0.5, 0.1}));
  EXPECT_EQ(data.dr, (std::vector<double>{0.05, 0.0, 0.01}));
  EXPECT_EQ(data.fileName, path.string());
  EXPECT_TRUE(data.loaded());
  EXPECT_EQ(data.fitRegionLow, 0.01);
  EXPECT_EQ(data.fitRegionHigh, 0.03);
  EXPECT_TRUE(questions.messages.empty());
  EXPECT_EQ(progress, (std::vector<int>{1, 2, 3}));
}

TEST(LoadMeasuredData, LineEndsAndByteOrderMark) {
  ScopedDecimalSeparator point('.');
  const char* const texts[] = {
      "1\t2\t3\r\n4\t5\t6\r\n",
      "1\t2\t3\n4\t5\t6\n",
      "1\t2\t3\r4\t5\t6\r",
      "1\t2\t3\r\n4\t5\t6",  // no line end after the last line
      "\xEF\xBB\xBF" "1\t2\t3\n4\t5\t6\r\n",
  };
  ScratchFolder folder;
  for (const char* text : texts) {
    MeasuredData data;
    ScriptedQuestions questions;
    LoadMeasuredData(folder.write("ends.dat", text), data, questions);
    EXPECT_TRUE(questions.messages.empty()) << text;
    EXPECT_EQ(data.qz, (std::vector<double>{1, 4})) << text;
    EXPECT_EQ(data.dr, (std::vector<double>{3, 6})) << text;
  }
}

TEST(LoadMeasuredData, FieldsAroundTheThird) {
  ScopedDecimalSeparator point('.');
  ScratchFolder folder;
  MeasuredData data;
  ScriptedQuestions questions;
  LoadMeasuredData(folder.write("f.dat", " 0.1 \t 0.5\t 0.2 \tignored\tmore\r\n0.2\t0.4\t0.1\t\r\n"),
                   data, questions);
  EXPECT_TRUE(questions.messages.empty());
  EXPECT_EQ(data.qz, (std::vector<double>{0.1, 0.2}));
  EXPECT_EQ(data.dr, (std::vector<double>{0.2, 0.1}));
}

TEST(LoadMeasuredData, EveryKindOfStrangeLineIsReported) {
  ScopedDecimalSeparator point('.');
  const std::string lines[] = {
      "0.01\t0.5",        // the second field needs a TAB after it
      "0.01",             // no TAB at all
      "",                 // an empty line is a data line too
      "0.01\t\t0",        // empty R
      "0.01\t0.5\tx",     // unreadable dR
      "Qz\tR\tdR",        // a header
      std::string("0.0\0""1\t0.5\t0", 10),  // a NUL byte
      "1e999\t0.5\t0",    // beyond the double range
  };
  ScratchFolder folder;
  for (const std::string& line : lines) {
    MeasuredData data;
    ScriptedQuestions questions;
    EXPECT_EQ(LoadMeasuredData(folder.write("bad.dat", line + "\r\n0.02\t0.4\t0\r\n"), data, questions),
              LoadOutcome::Loaded);
    EXPECT_EQ(questions.messages, (std::vector<std::string>{Strange(1)})) << line;
    EXPECT_EQ(data.qz, (std::vector<double>{0.02})) << line;  // the next line is point 1
  }
}

TEST(LoadMeasuredData, TwoFieldLinesAreAllStrange) {
  ScopedDecimalSeparator point('.');
  ScratchFolder folder;
  MeasuredData data;
  ScriptedQuestions questions;
  LoadMeasuredData(folder.write("two.dat", "0.01\t0.5\r\n0.02\t0.4\r\n0.03\t0.3\r\n"), data, questions);
  EXPECT_EQ(questions.messages, (std::vector<std::string>{Strange(1), Strange(2), Strange(3)}));
  EXPECT_EQ(data.count(), 0);
}

TEST(LoadMeasuredData, NotPositiveCountsThePointsKept) {
  ScopedDecimalSeparator point('.');
  ScratchFolder folder;
  MeasuredData data;
  ScriptedQuestions questions;
  std::vector<int> progress;
  const auto path = folder.write(
      "zero.dat", "header\r\n0.01\t0.5\t0\r\n0.02\t0\t0\r\n0.03\t-1e-3\t0\r\n0.04\t0.2\t0\r\n");
  LoadMeasuredData(path, data, questions, [&](int n) { progress.push_back(n); });
  // Line 3 is the second point, line 4 again the second.
  EXPECT_EQ(questions.messages,
            (std::vector<std::string>{Strange(1), NotPositive(2), NotPositive(2)}));
  EXPECT_EQ(progress, (std::vector<int>{0, 1, 2, 2, 2}));
  EXPECT_EQ(data.qz, (std::vector<double>{0.01, 0.04}));
}

TEST(LoadMeasuredData, NoPointsIsALoadWithoutFittingRegion) {
  ScopedDecimalSeparator point('.');
  ScratchFolder folder;
  for (const char* text : {"", "a\r\nb\r\n"}) {
    MeasuredData data = Previous();
    ScriptedQuestions questions;
    const auto path = folder.write("none.dat", text);
    EXPECT_EQ(LoadMeasuredData(path, data, questions), LoadOutcome::Loaded);
    EXPECT_EQ(data.count(), 0);
    EXPECT_TRUE(data.loaded());
    EXPECT_EQ(data.fileName, path.string());
    EXPECT_EQ(data.fitRegionLow, -1.0);
    EXPECT_EQ(data.fitRegionHigh, -1.0);
  }
}

TEST(LoadMeasuredData, AbortLeavesThePreviousDataSet) {
  ScopedDecimalSeparator point('.');
  ScratchFolder folder;
  const std::string fourGood = Lines(4);
  const struct {
    const char* fifth;
    std::string message;
  } cases[] = {{"strange\r\n", Strange(5)}, {"0.05\t0\t0\r\n", NotPositive(5)}};
  for (const auto& c : cases) {
    MeasuredData data = Previous();
    ScriptedQuestions questions({LoadAnswer::Abort});
    const auto path = folder.write("new.dat", fourGood + c.fifth + Lines(3));
    EXPECT_EQ(LoadMeasuredData(path, data, questions), LoadOutcome::Aborted);
    EXPECT_EQ(questions.messages, (std::vector<std::string>{c.message}));
    ExpectSame(data, Previous());
  }
}

TEST(LoadMeasuredData, TheMostPointsLoadAndOneMoreIsRefused) {
  ScopedDecimalSeparator point('.');
  ScratchFolder folder;
  MeasuredData data = Previous();
  ScriptedQuestions questions;
  LoadMeasuredData(folder.write("full.dat", Lines(100000)), data, questions);
  EXPECT_EQ(data.count(), 100000);
  EXPECT_EQ(data.fitRegionHigh, 100.0);

  data = Previous();
  const auto path = folder.write("over.dat", Lines(100001, "\n"));
  try {
    LoadMeasuredData(path, data, questions);
    FAIL() << "no error";
  } catch (const FileError& error) {
    EXPECT_EQ(std::string(error.what()),
              "The measured data file \"" + path.string() +
                  "\" holds more than 100000 points, the most that a data set can hold; nothing "
                  "was loaded");
  }
  ExpectSame(data, Previous());
  EXPECT_TRUE(questions.messages.empty());
}

TEST(LoadMeasuredData, DroppedLinesDoNotCountTowardsTheLimit) {
  ScopedDecimalSeparator point('.');
  ScratchFolder folder;
  MeasuredData data;
  ScriptedQuestions questions;
  LoadMeasuredData(folder.write("dropped.dat", "header\r\n" + Lines(100000) + "0.1\t0\t0\r\n"),
                   data, questions);
  EXPECT_EQ(data.count(), 100000);
  EXPECT_EQ(questions.messages, (std::vector<std::string>{Strange(1), NotPositive(100001)}));
}

TEST(LoadMeasuredData, UnopenableFilesNameThemselves) {
  ScratchFolder folder;
  std::filesystem::create_directory(folder / "folder.dat");
  for (const auto& path : {folder / "missing.dat", folder / "folder.dat"}) {
    MeasuredData data = Previous();
    ScriptedQuestions questions;
    try {
      LoadMeasuredData(path, data, questions);
      FAIL() << "no error for " << path;
    } catch (const FileError& error) {
      EXPECT_EQ(std::string(error.what()).rfind("Cannot open the measured data file \"" + path.string() + "\": ", 0), 0u)
          << error.what();
    }
    ExpectSame(data, Previous());
  }
}

TEST(LoadMeasuredData, DecimalPointsLoadUnderComma) {
  ScopedDecimalSeparator comma(',');
  ScratchFolder folder;
  MeasuredData data;
  ScriptedQuestions questions;
  LoadMeasuredData(folder.write("point.dat", "0.0125\t1.5E-3\t0\r\n2,5\t0,25\t1\r\n"), data, questions);
  EXPECT_TRUE(questions.messages.empty());
  EXPECT_EQ(data.qz, (std::vector<double>{0.0125, 2.5}));
  EXPECT_EQ(data.r, (std::vector<double>{1.5e-3, 0.25}));
}

TEST(LoadMeasuredData, DecimalCommasUnderPointReportEveryLine) {
  ScopedDecimalSeparator point('.');
  ScratchFolder folder;
  MeasuredData data;
  ScriptedQuestions questions;
  LoadMeasuredData(folder.write("comma.dat", "0,01\t0,5\t0\r\n0,02\t0,4\t0\r\n0,03\t1\t0\r\n"), data,
                   questions);
  EXPECT_EQ(questions.messages, (std::vector<std::string>{Strange(1), Strange(2), Strange(3)}));
  EXPECT_EQ(data.count(), 0);
}

TEST(LoadMeasuredData, ReflectivityFilesReloadAsWritten) {
  ReflectivityResult result;
  result.plain.append(0.000123, 0.987654);
  result.plain.append(0.0125, 1.23456e-7);
  result.plain.append(0.25, 3.99999e-9);
  result.spinUp = result.plain;
  result.spinDown = result.plain;
  result.transmission = result.plain;
  const std::vector<double> qz = {1.230e-04, 1.250e-02, 2.500e-01};
  const std::vector<double> r = {9.877e-01, 1.235e-07, 4.000e-09};
  for (char separator : {'.', ','}) {
    ScopedDecimalSeparator scoped(separator);
    for (bool extras : {false, true}) {
      ScratchFolder folder;
      const auto path = folder / "calc.dat";
      WriteReflectivityFile(path, result, extras, extras);
      MeasuredData data;
      ScriptedQuestions questions;
      EXPECT_EQ(LoadMeasuredData(path, data, questions), LoadOutcome::Loaded);
      EXPECT_TRUE(questions.messages.empty()) << separator;
      EXPECT_EQ(data.qz, qz) << separator;
      EXPECT_EQ(data.r, r) << separator;
      EXPECT_EQ(data.dr, (std::vector<double>{0, 0, 0})) << separator;
    }
  }
}

}  // namespace
}  // namespace quorrel
