// The model file between machines whose locales use "." and ",", and files that do not fit.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "common/decimal_separator.h"
#include "files/model_file_lines.h"
#include "files/model_file_reader.h"
#include "files/model_file_writer.h"
#include "model/editor_fields.h"
#include "model/sample_type_choice.h"

namespace quorrel {
namespace {

struct Loaded {
  SampleModel model;
  CalcSettings settings;
  EditorState editor;
  ModelFileOutcome outcome;
};

Loaded Read(std::string_view text) {
  Loaded loaded;
  loaded.outcome = ReadModelText(text, loaded.model, loaded.settings, loaded.editor);
  return loaded;
}

//! A user-function model with a multilayer-free grid and a gaussian background, as the user
//! types it under the current separator.
SampleModel UserFunctionModel() {
  SampleModel model;
  ChooseSampleType(model, SampleType::ProfileFunction);
  const std::string rho = DecimalSeparator() == ',' ? "4,5E-6" : "4.5E-6";
  model.baseGrid.setCell(2, kColRho, rho);
  model.baseGrid.setCell(2, kColSigma, DecimalSeparator() == ',' ? "2,5" : "2.5");
  model.function.kind = FunctionKind::UserDefined;
  model.function.expression = "A*z+B";
  model.function.parameters = {1e-7, 2.5e-6, 0, 0, 0};
  model.function.numParameters = 2;
  model.edtLayerThickness = 2;
  SetNumCalcLayers(model, 20);
  return model;
}

CalcSettings GaussianAndVSelector() {
  CalcSettings settings;
  settings.cbBackground = true;
  settings.background = BackgroundKind::Gaussian;
  settings.edtY0 = 1e-6;
  settings.edtM = 0.5;
  settings.edtPeakA = 1;
  settings.edtPeakW = 0.01;
  settings.edtPeakXC = 0.1;
  settings.cbVSelector = true;
  settings.edtConstantRes = 0.0015;
  settings.edtDistribution = 2.5;
  return settings;
}

TEST(SeparatorTest, TheFirstLineWithASeparatorInsideDecides) {
  struct Case {
    std::vector<std::string_view> lines;
    char locale;
    bool foreign;
  };
  const Case cases[] = {
      {{"1", "N/A", "3.5", "2,5"}, ',', true},     // "3.5" decides
      {{"1", "N/A", "3.5", "2,5"}, '.', false},
      {{"No.", "2,5", "3.5"}, '.', false},          // "," with no "." decides: rejected by both
      {{"No.", "2,5", "3.5"}, ',', false},
      {{"a,", "b,", "7.25"}, ',', true},            // "," as last character does not count
      {{"a,", "b,", "x"}, ',', false},              // the last line decides
      {{"a.", "0.25", "x.y"}, ',', true},           // "a." has its point at the end
      {{}, ',', false},
  };
  for (const Case& c : cases) {
    ScopedDecimalSeparator scoped(c.locale);
    EXPECT_EQ(HasForeignSeparator(c.lines), c.foreign)
        << c.lines.size() << " lines under " << c.locale;
  }
}

TEST(SplitLines, AcceptsEveryLineEnd) {
  EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (std::vector<std::string_view>{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("\xEF\xBB\xBFx\r\n\r\n"), (std::vector<std::string_view>{"x", ""}));
  EXPECT_TRUE(SplitLines("").empty());
}

TEST(ModelFileLocale, WrittenAndReadUnderCommaKeepsRealLines) {
  ScopedDecimalSeparator comma(',');
  const SampleModel model = UserFunctionModel();
  const CalcSettings settings = GaussianAndVSelector();
  const Loaded loaded = Read(ModelFileText(model, settings));
  EXPECT_FALSE(loaded.outcome.message.has_value());
  EXPECT_TRUE(loaded.outcome.userFunctionRead);
  EXPECT_FALSE(loaded.outcome.compileError.has_value());
  EXPECT_EQ(loaded.model.userFunction.source(), "A*z+B");
  EXPECT_FALSE(loaded.model.userFunction.failed());
  EXPECT_EQ(loaded.model.baseGrid.cell(2, kColRho), "4,5E-6");
  EXPECT_EQ(loaded.model.function.expression, "A*z+B");
  EXPECT_EQ(loaded.model.function.parameters, model.function.parameters);
  EXPECT_EQ(loaded.model.edtNumCalcLayers, 20);
  EXPECT_TRUE(loaded.settings.cbBackground);
  EXPECT_EQ(loaded.settings.background, BackgroundKind::Gaussian);
  EXPECT_EQ(loaded.settings.edtPeakW, 0.01);
  EXPECT_EQ(loaded.settings.edtPeakXC, 0.1);
  EXPECT_TRUE(loaded.settings.cbVSelector);
  EXPECT_EQ(loaded.settings.edtConstantRes, 0.0015);
  EXPECT_EQ(loaded.settings.edtDistribution, 2.5);
}

TEST(ModelFileLocale, WrittenUnderPointReadUnderCommaReformatsTheCells) {
  std::string text;
  {
    ScopedDecimalSeparator point('.');
    SampleModel model = UserFunctionModel();
    model.baseGrid.setCell(2, kColThickness, "25.125");
    model.baseGrid.setCell(2, kColImRho, "1.05E-11");
    model.baseGrid.setCell(2, kColMagRe, "0");
    text = ModelFileText(model, GaussianAndVSelector());
  }
  ScopedDecimalSeparator comma(',');
  const Loaded loaded = Read(text);
  EXPECT_FALSE(loaded.outcome.message.has_value());
  const TextGrid& grid = loaded.model.baseGrid;
  EXPECT_EQ(grid.cell(2, kColThickness), "25,13");  // "##0.##"
  EXPECT_EQ(grid.cell(2, kColRho), "4,5E-6");       // "0.###E+0"
  EXPECT_EQ(grid.cell(2, kColImRho), "1,05E-11");   // "0.###E+00"
  EXPECT_EQ(grid.cell(2, kColSigma), "2,5");        // "0.0#"
  EXPECT_EQ(grid.cell(2, kColMagRe), "0E+0");
  EXPECT_EQ(grid.cell(3, kColSigma), "5,0");
  EXPECT_EQ(grid.cell(1, kColSigma), "N/A");        // the ambient's row stays verbatim
  EXPECT_EQ(grid.cell(3, kColThickness), "N/A");
  EXPECT_EQ(loaded.settings.edtPeakA, 1.0);
  EXPECT_EQ(loaded.settings.edtConstantRes, 0.0015);
  EXPECT_EQ(loaded.model.function.parameters[1], 2.5e-6);
}

TEST(ModelFileLocale, MultilayerAndRegionCellsOfAForeignFile) {
  std::string text;
  {
    ScopedDecimalSeparator point('.');
    SampleModel model;
    ChooseSampleType(model, SampleType::MultipleLayers);
    model.mlGrid.setCell(1, kColSigma, "3.456");
    CalcSettings settings;
    settings.resltnGrid.setCell(1, 0, "0.0123456");
    settings.resltnGrid.setCell(1, 1, "0.00234");
    text = ModelFileText(model, settings);
  }
  ScopedDecimalSeparator comma(',');
  const Loaded loaded = Read(text);
  EXPECT_FALSE(loaded.outcome.message.has_value());
  EXPECT_EQ(loaded.model.mlGrid.cell(1, kColThickness), "50");
  EXPECT_EQ(loaded.model.mlGrid.cell(1, kColRho), "8E-6");
  EXPECT_EQ(loaded.model.mlGrid.cell(1, kColSigma), "3,46");
  EXPECT_EQ(loaded.model.mlGrid.cell(2, kColImRho), "0E+00");
  EXPECT_EQ(loaded.settings.resltnGrid.cell(1, 0), "0,01235");
  EXPECT_EQ(loaded.settings.resltnGrid.cell(1, 1), "2,34E-3");
}

TEST(ModelFileLocale, WrittenUnderCommaReadUnderPointKeepsTheCommas) {
  std::string text;
  {
    ScopedDecimalSeparator comma(',');
    CalcSettings settings = GaussianAndVSelector();
    text = ModelFileText(UserFunctionModel(), settings);
  }
  ScopedDecimalSeparator point('.');
  const Loaded loaded = Read(text);
  EXPECT_EQ(loaded.model.baseGrid.cell(2, kColRho), "4,5E-6");
  EXPECT_EQ(loaded.settings.edtPeakXC, 0.1);  // the real lines have points
  // The velocity selector's values carry the writer's comma, which a "." locale rejects.
  EXPECT_EQ(loaded.outcome.message, kOlderModelFileMessage);
  EXPECT_TRUE(loaded.settings.cbVSelector);
}

TEST(ModelFileRobustness, EveryTruncationEndsWithTheModelSoFarAndAMessage) {
  ScopedDecimalSeparator point('.');
  const std::string text = ModelFileText(UserFunctionModel(), GaussianAndVSelector());
  // Once the last line has begun, a cut only shortens the last number.
  const std::size_t lastLine = text.rfind("\r\n", text.size() - 3) + 2;
  for (std::size_t length = 0; length < text.size(); ++length) {
    const Loaded loaded = Read(std::string_view(text).substr(0, length));
    EXPECT_EQ(loaded.outcome.message.has_value(), length <= lastLine) << length;
  }
  EXPECT_FALSE(Read(text).outcome.message.has_value());
}

TEST(ModelFileRobustness, GarbledFilesNeverThrow) {
  ScopedDecimalSeparator comma(',');
  std::string text;
  {
    ScopedDecimalSeparator point('.');
    SampleModel model;
    ChooseSampleType(model, SampleType::MultipleLayers);
    text = ModelFileText(model, GaussianAndVSelector());
  }
  std::mt19937 random(20240611);
  const std::string alphabet = "0123456789-+., E\r\nx\t";
  for (int trial = 0; trial < 3000; ++trial) {
    std::string garbled = text;
    const int edits = 1 + static_cast<int>(random() % 4);
    for (int e = 0; e < edits; ++e) {
      const std::size_t at = random() % garbled.size();
      garbled[at] = alphabet[random() % alphabet.size()];
    }
    EXPECT_NO_THROW(Read(garbled)) << garbled;
  }
  for (const char* odd : {"", "\r\n", "4", "2\r\n7", "3\r\n7 5\r\n", "1\r\n7 99999999999\r\n",
                          "2\r\n7 3\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n"
                          "\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n7\r\n"}) {
    const Loaded loaded = Read(odd);
    EXPECT_EQ(loaded.outcome.message, kOlderModelFileMessage) << odd;
  }
}

TEST(ModelFileRobustness, HugeCountsInTheFileEndAtItsEnd) {
  ScopedDecimalSeparator point('.');
  SampleModel model;
  ChooseSampleType(model, SampleType::MultipleLayers);
  std::string text = ModelFileText(model, CalcSettings());
  const std::string stacked = "\r\n2\r\nNo.\r\n";
  text.replace(text.find(stacked), stacked.size(), "\r\n2147483647\r\nNo.\r\n");
  Loaded loaded = Read(text);
  EXPECT_EQ(loaded.outcome.message, kOlderModelFileMessage);
  EXPECT_EQ(loaded.model.edtStackedLayers, 99);

  text = ModelFileText(SampleModel(), CalcSettings());
  text.replace(text.size() - 9, 9, "2147483647\r\n0\r\n0\r\n");
  loaded = Read(text);
  EXPECT_EQ(loaded.outcome.message, kOlderModelFileMessage);
  EXPECT_EQ(loaded.settings.edtRegions, 8);
}

}  // namespace
}  // namespace quorrel
