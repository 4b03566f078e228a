#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include "common/decimal_separator.h"
#include "common/error.h"
#include "files/model_file_lines.h"
#include "files/model_file_reader.h"
#include "files/model_file_writer.h"
#include "model/editor_fields.h"
#include "model/sample_type_choice.h"
#include "model/settings_rules.h"

namespace quorrel {
namespace {

//! The file's lines without their CR LF ends; fails the test when a line lacks one.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      ADD_FAILURE() << "last line without CR LF";
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::string Join(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

struct Loaded {
  SampleModel model;
  CalcSettings settings;
  EditorState editor;
  ModelFileOutcome outcome;
};

Loaded Read(const std::string& text) {
  Loaded loaded;
  loaded.outcome = ReadModelText(text, loaded.model, loaded.settings, loaded.editor);
  return loaded;
}

void ExpectSameRows(const TextGrid& a, const TextGrid& b, int rows, const char* name) {
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < kGridColumns; ++c) {
      EXPECT_EQ(a.cell(r, c), b.cell(r, c)) << name << " row " << r << " column " << c;
    }
  }
}

//! Everything that the file stores for this model and these settings.
void ExpectSameStoredContent(const SampleModel& a, const CalcSettings& sa, const SampleModel& b,
                             const CalcSettings& sb) {
  ASSERT_EQ(a.type, b.type);
  ASSERT_EQ(a.edtLayers, b.edtLayers);
  EXPECT_EQ(a.baseGrid.rowCount(), b.baseGrid.rowCount());
  ExpectSameRows(a.baseGrid, b.baseGrid, a.baseGrid.rowCount(), "BaseGrid");
  if (a.type == SampleType::ProfileFunction) {
    EXPECT_EQ(a.function.kind, b.function.kind);
    if (a.function.kind == FunctionKind::BuiltIn) {
      EXPECT_EQ(a.function.builtInIndex, b.function.builtInIndex);
    } else {
      EXPECT_EQ(a.function.expression, b.function.expression);
      EXPECT_EQ(a.function.comment, b.function.comment);
    }
    EXPECT_EQ(a.function.numParameters, b.function.numParameters);
    EXPECT_EQ(a.function.parameterNames, b.function.parameterNames);
    EXPECT_EQ(a.function.parameters, b.function.parameters);
    EXPECT_EQ(a.edtLayerThickness, b.edtLayerThickness);
    EXPECT_EQ(a.edtNumCalcLayers, b.edtNumCalcLayers);
    EXPECT_EQ(a.edtFunctionLayer, b.edtFunctionLayer);
  }
  if (a.type == SampleType::MultipleLayers) {
    ASSERT_EQ(a.edtStackedLayers, b.edtStackedLayers);
    ExpectSameRows(a.mlGrid, b.mlGrid, a.edtStackedLayers + 1, "MLGrid");
    EXPECT_EQ(a.edtRepts, b.edtRepts);
    EXPECT_EQ(a.edtInsertLayer, b.edtInsertLayer);
  }
  ASSERT_EQ(sa.cbBackground, sb.cbBackground);
  if (sa.cbBackground) {
    EXPECT_EQ(sa.background, sb.background);
    EXPECT_EQ(sa.edtY0, sb.edtY0);
    if (sa.background != BackgroundKind::Constant) {
      EXPECT_EQ(sa.edtM, sb.edtM);
    }
    if (sa.background == BackgroundKind::Gaussian || sa.background == BackgroundKind::Lorentzian) {
      EXPECT_EQ(sa.edtPeakA, sb.edtPeakA);
      EXPECT_EQ(sa.edtPeakW, sb.edtPeakW);
      EXPECT_EQ(sa.edtPeakXC, sb.edtPeakXC);
    }
  }
  ASSERT_EQ(sa.cbVSelector, sb.cbVSelector);
  if (sa.cbVSelector) {
    EXPECT_EQ(sa.edtConstantRes, sb.edtConstantRes);
    EXPECT_EQ(sa.edtDistribution, sb.edtDistribution);
  } else {
    ASSERT_EQ(sa.edtRegions, sb.edtRegions);
    for (int r = 1; r <= sa.edtRegions; ++r) {
      EXPECT_EQ(sa.resltnGrid.cell(r, 0), sb.resltnGrid.cell(r, 0)) << "region " << r;
      EXPECT_EQ(sa.resltnGrid.cell(r, 1), sb.resltnGrid.cell(r, 1)) << "region " << r;
    }
  }
}

//! A model of each sample type with numbers in every cell that the type uses; `sep` is the
//! separator the cells are typed with.
SampleModel ModelOfType(SampleType type) {
  SampleModel model;
  SetLayerCount(model, 2);
  model.baseGrid.setCell(3, kColThickness, "12");
  model.baseGrid.setCell(3, kColRho, "6.36E-6");
  model.baseGrid.setCell(3, kColSigma, "4");
  ChooseSampleType(model, type);
  if (type == SampleType::ProfileFunction) {
    model.function.kind = FunctionKind::BuiltIn;
    model.function.builtInIndex = 2;
    model.function.numParameters = 3;
    model.function.parameterNames = {"A", "lam", "phi", "D", "E"};
    model.function.parameters = {1e-7, 25, -0.5, 0, 1.25e-300};
    model.edtLayerThickness = 3;
    SetNumCalcLayers(model, 40);
    SetFunctionLayer(model, 1);
  }
  if (type == SampleType::MultipleLayers) {
    SetStackedLayerCount(model, 3);
    model.mlGrid.setCell(3, kColThickness, "7");
    model.mlGrid.setCell(3, kColMagRe, "1E-7");
    SetRepetitions(model, 10);
    SetInsertLayer(model, 1);
  }
  return model;
}

enum class Resolution { VSelector, OneRegion, ThreeRegions };

CalcSettings SettingsWith(int backgroundCode, Resolution resolution) {
  CalcSettings settings;
  settings.edtY0 = 2e-7;
  settings.edtM = -1.5e-6;
  settings.edtPeakA = 3e-4;
  settings.edtPeakW = 0.01;
  settings.edtPeakXC = 0.1;
  settings.cbBackground = backgroundCode != 0;
  constexpr BackgroundKind kKinds[] = {BackgroundKind::Constant, BackgroundKind::Linear,
                                       BackgroundKind::Gaussian, BackgroundKind::Lorentzian};
  if (backgroundCode != 0) settings.background = kKinds[backgroundCode - 1];
  switch (resolution) {
    case Resolution::VSelector:
      settings.cbVSelector = true;
      settings.edtConstantRes = 0.001;
      settings.edtDistribution = 5;
      break;
    case Resolution::OneRegion:
      settings.resltnGrid.setCell(1, 1, "0.002");
      break;
    case Resolution::ThreeRegions:
      SetRegionCount(settings, 3);
      settings.resltnGrid.setCell(2, 0, "0.05");
      settings.resltnGrid.setCell(2, 1, "0.003");
      settings.resltnGrid.setCell(3, 0, "0.1");
      settings.resltnGrid.setCell(3, 1, "0.005");
      break;
  }
  return settings;
}

TEST(ModelFileText, DefaultModelLayout) {
  ScopedDecimalSeparator point('.');
  const std::vector<std::string> expected = {
      "1", "7 4",
      "", "d / Å", "rho / Å^-2", "Im(rho) / Å^-2", "sigma / Å", "R(mag)", "I(mag)",
      "air", "N/A", "0", "0", "N/A", "0", "0",
      "1", "25", "3.475E-6", "1.05E-11", "3", "0", "0",
      "bulk", "N/A", "2.073E-6", "2.37E-11", "5", "0", "0",
      "0",            // no background
      "1", "0", "0",  // one resolution region
  };
  EXPECT_EQ(Lines(ModelFileText(SampleModel(), CalcSettings())), expected);
}

TEST(ModelFileText, FunctionBlockAndRealFormat) {
  ScopedDecimalSeparator point('.');
  SampleModel model = ModelOfType(SampleType::ProfileFunction);
  model.function.parameters = {25, -0.5, 0, 1e-7, 1e300};
  const std::vector<std::string> lines = Lines(ModelFileText(model, CalcSettings()));
  const std::size_t block = 2 + 7 * 5;
  const std::vector<std::string> expected = {
      "0", "2", "3",
      "A", " 2.50000000000000E+0001", "lam", "-5.00000000000000E-0001",
      "phi", " 0.00000000000000E+0000", "D", " 1.00000000000000E-0007",
      "E", " 1.00000000000000E+0300",
      "3", "40", "1", "0", "1", "0", "0"};
  ASSERT_EQ(lines.size(), block + expected.size());
  EXPECT_EQ(std::vector<std::string>(lines.begin() + block, lines.end()), expected);
}

TEST(ModelFileText, UserFunctionMultilayerBackgroundAndVelocitySelector) {
  ScopedDecimalSeparator comma(',');
  SampleModel model = ModelOfType(SampleType::ProfileFunction);
  model.function.kind = FunctionKind::UserDefined;
  model.function.expression = "A*exp(-z/B)";
  model.function.comment = "";
  std::vector<std::string> lines =
      Lines(ModelFileText(model, SettingsWith(3, Resolution::VSelector)));
  const std::vector<std::string> head(lines.begin() + 37, lines.begin() + 41);
  EXPECT_EQ(head, (std::vector<std::string>{"1", "A*exp(-z/B)", "", "3"}));
  const std::vector<std::string> tail(lines.end() - 9, lines.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"3", " 2.00000000000000E-0007",
                                            "-1.50000000000000E-0006", " 3.00000000000000E-0004",
                                            " 1.00000000000000E-0002", " 1.00000000000000E-0001",
                                            "0", ",001", "5,0"}));

  lines = Lines(ModelFileText(ModelOfType(SampleType::MultipleLayers),
                              SettingsWith(2, Resolution::ThreeRegions)));
  const std::vector<std::string> ml(lines.begin() + 37, lines.begin() + 39);
  EXPECT_EQ(ml, (std::vector<std::string>{"3", "No."}));
  EXPECT_EQ(lines[37 + 1 + 28], "10");  // repetitions after the 4 x 7 stack cells
  EXPECT_EQ(lines[37 + 2 + 28], "1");
  const std::vector<std::string> settingsTail(lines.end() - 10, lines.end());
  EXPECT_EQ(settingsTail,
            (std::vector<std::string>{"2", " 2.00000000000000E-0007", "-1.50000000000000E-0006",
                                      "3", "0", "0", "0.05", "0.003", "0.1", "0.005"}));
}

TEST(ModelFileText, ALineBreakInACellCannotShiftTheLines) {
  SampleModel model;
  model.baseGrid.setCell(2, kColLabel, "Si\r\nO2");
  const std::vector<std::string> lines = Lines(ModelFileText(model, CalcSettings()));
  EXPECT_EQ(lines.size(), 34u);
  EXPECT_EQ(lines[16], "Si  O2");
}

TEST(ModelFileLineOfCell, PointsAtTheCellsLine) {
  SampleModel model = ModelOfType(SampleType::MultipleLayers);
  model.baseGrid.setCell(3, kColImRho, "base-cell");
  model.mlGrid.setCell(2, kColSigma, "stack-cell");
  const std::vector<std::string> lines = Lines(ModelFileText(model, CalcSettings()));
  const std::optional<int> base = ModelFileLineOfCell(model, "BaseGrid", 3, kColImRho);
  const std::optional<int> stack = ModelFileLineOfCell(model, "MLGrid", 2, kColSigma);
  ASSERT_TRUE(base && stack);
  EXPECT_EQ(lines[static_cast<std::size_t>(*base - 1)], "base-cell");
  EXPECT_EQ(lines[static_cast<std::size_t>(*stack - 1)], "stack-cell");
  EXPECT_FALSE(ModelFileLineOfCell(model, "BaseGrid", 5, 0).has_value());
  ChooseSampleType(model, SampleType::IndependentLayers);
  EXPECT_FALSE(ModelFileLineOfCell(model, "MLGrid", 2, kColSigma).has_value());
}

TEST(ModelFile, RoundTripsEveryTypeBackgroundAndResolution) {
  for (char separator : {'.', ','}) {
    ScopedDecimalSeparator scoped(separator);
    for (SampleType type : {SampleType::IndependentLayers, SampleType::ProfileFunction,
                            SampleType::MultipleLayers, SampleType::SymmetricFilm}) {
      for (int background = 0; background <= 4; ++background) {
        for (Resolution resolution :
             {Resolution::VSelector, Resolution::OneRegion, Resolution::ThreeRegions}) {
          SCOPED_TRACE(testing::Message() << "separator " << separator << " type "
                                          << static_cast<int>(type) << " background "
                                          << background << " resolution "
                                          << static_cast<int>(resolution));
          const SampleModel model = ModelOfType(type);
          const CalcSettings settings = SettingsWith(background, resolution);
          const Loaded loaded = Read(ModelFileText(model, settings));
          EXPECT_FALSE(loaded.outcome.message.has_value());
          ExpectSameStoredContent(model, settings, loaded.model, loaded.settings);
        }
      }
    }
  }
}

TEST(ModelFile, ReadingUsesTheEditorOperations) {
  ScopedDecimalSeparator point('.');
  // An editor that starts as a symmetric film with five layers and a big stack.
  Loaded loaded;
  SetLayerCount(loaded.model, 5);
  ChooseSampleType(loaded.model, SampleType::SymmetricFilm);
  SetStackedLayerCount(loaded.model, 9);
  SetInsertLayer(loaded.model, 5);
  SetRegionCount(loaded.settings, 4);
  loaded.model.baseGrid.setCell(2, kColThetaM, "30");
  loaded.model.mlGrid.setCell(9, kColThetaM, "0");
  loaded.outcome = ReadModelText(ModelFileText(ModelOfType(SampleType::IndependentLayers),
                                               SettingsWith(0, Resolution::OneRegion)),
                                 loaded.model, loaded.settings, loaded.editor);
  EXPECT_FALSE(loaded.outcome.message.has_value());
  EXPECT_EQ(loaded.model.type, SampleType::IndependentLayers);
  EXPECT_EQ(loaded.model.baseGrid.rowCount(), 5);
  EXPECT_EQ(loaded.model.edtInsertLayer, 2);  // follows the new layer count
  // The file holds no angles: the loaded layers have the default one, hidden rows too.
  EXPECT_EQ(loaded.model.baseGrid.cell(2, kColThetaM), "");
  EXPECT_EQ(loaded.model.mlGrid.cell(9, kColThetaM), "");
  EXPECT_EQ(loaded.model.baseGrid.cell(4, kColLabel), "bulk");
  EXPECT_EQ(loaded.settings.edtRegions, 1);
  EXPECT_FALSE(loaded.editor.testFunctionEnabled);
}

TEST(ModelFile, BuiltInFunctionTakesItsCountThenTheFilesCount) {
  ScopedDecimalSeparator point('.');
  SampleModel model = ModelOfType(SampleType::ProfileFunction);
  model.function.numParameters = 5;
  const Loaded loaded = Read(ModelFileText(model, CalcSettings()));
  EXPECT_EQ(loaded.model.function.numParameters, 5);
  EXPECT_TRUE(loaded.editor.testFunctionEnabled);
  EXPECT_FALSE(loaded.outcome.userFunctionRead);

  std::vector<std::string> lines = Lines(ModelFileText(model, CalcSettings()));
  lines[37 + 1] = "5";  // no built-in function has that index
  const Loaded refused = Read(Join(lines));
  EXPECT_EQ(refused.outcome.message, kOlderModelFileMessage);
  EXPECT_EQ(refused.outcome.stopLine, 39);
  EXPECT_FALSE(refused.outcome.sampleComplete);
  EXPECT_EQ(refused.model.type, SampleType::ProfileFunction);
  EXPECT_EQ(refused.model.baseGrid.cell(3, kColRho), "6.36E-6");
}

TEST(ModelFile, ALoadedUserFunctionIsCompiled) {
  ScopedDecimalSeparator point('.');
  SampleModel model = ModelOfType(SampleType::ProfileFunction);
  model.function.kind = FunctionKind::UserDefined;
  model.function.expression = "A*(z+";
  Loaded loaded = Read(ModelFileText(model, CalcSettings()));
  EXPECT_FALSE(loaded.outcome.message.has_value());
  ASSERT_TRUE(loaded.outcome.compileError.has_value());
  EXPECT_TRUE(loaded.model.userFunction.failed());

  model.function.expression = "A*z";
  std::string text = ModelFileText(model, CalcSettings());
  text.resize(text.find("A*z\r\n") + 5);  // stops right after the expression
  loaded = Read(text);
  EXPECT_EQ(loaded.outcome.message, kOlderModelFileMessage);
  EXPECT_FALSE(loaded.outcome.compileError.has_value());
  EXPECT_EQ(loaded.model.userFunction.source(), "A*z");
}

TEST(ModelFile, SymmetricFilmSwitchesBeforeTheGridIsRead) {
  ScopedDecimalSeparator point('.');
  SampleModel film = ModelOfType(SampleType::SymmetricFilm);
  film.baseGrid.setCell(4, kColThickness, "37");
  film.baseGrid.setCell(4, kColLabel, "SiO2");
  Loaded loaded;
  SetLayerCount(loaded.model, 0);
  loaded.outcome = ReadModelText(ModelFileText(film, CalcSettings()), loaded.model,
                                 loaded.settings, loaded.editor);
  EXPECT_FALSE(loaded.outcome.message.has_value());
  EXPECT_EQ(loaded.model.type, SampleType::SymmetricFilm);
  EXPECT_EQ(loaded.model.baseGrid.cell(4, kColLabel), "SiO2");
  EXPECT_EQ(loaded.model.baseGrid.cell(4, kColThickness), "37");
}

TEST(ModelFile, OlderLayoutKeepsTheSampleAndLeavesTheSettings) {
  ScopedDecimalSeparator point('.');
  const SampleModel multilayer = ModelOfType(SampleType::MultipleLayers);
  std::vector<std::string> lines = Lines(ModelFileText(multilayer, CalcSettings()));
  lines.resize(lines.size() - 4);  // no background and resolution lines
  Loaded loaded;
  loaded.settings.cbBackground = true;
  loaded.settings.edtY0 = 4e-6;
  loaded.outcome = ReadModelText(Join(lines), loaded.model, loaded.settings, loaded.editor);
  EXPECT_EQ(loaded.outcome.message, kOlderModelFileMessage);
  EXPECT_TRUE(loaded.outcome.sampleComplete);
  EXPECT_EQ(loaded.outcome.stopLine, static_cast<int>(lines.size()) + 1);
  EXPECT_EQ(*loaded.outcome.message,
            "Oops, something is wrong with that file...\nProbably this file was created with an "
            "older version of Quorrel.\nI could only find the sample parameters but no "
            "background or resolution data.\nMake sure to type in the background and "
            "resolution data in the'settings dialogue'.");
  ExpectSameStoredContent(multilayer, loaded.settings, loaded.model, loaded.settings);
  EXPECT_TRUE(loaded.settings.cbBackground);
  EXPECT_EQ(loaded.settings.edtY0, 4e-6);
}

TEST(ModelFile, BackgroundOffAndVelocitySelectorReadBack) {
  ScopedDecimalSeparator point('.');
  Loaded loaded;
  loaded.settings.cbBackground = true;
  const std::string text = ModelFileText(SampleModel(), SettingsWith(0, Resolution::VSelector));
  loaded.outcome = ReadModelText(text, loaded.model, loaded.settings, loaded.editor);
  EXPECT_FALSE(loaded.outcome.message.has_value());
  EXPECT_FALSE(loaded.settings.cbBackground);
  EXPECT_TRUE(loaded.settings.cbVSelector);
  EXPECT_EQ(loaded.settings.edtConstantRes, 0.001);
  EXPECT_EQ(loaded.settings.edtDistribution, 5.0);
}

TEST(ModelFile, GridSizeClampsTheLayerCountAndKeepsSevenColumns) {
  ScopedDecimalSeparator point('.');
  std::vector<std::string> lines = Lines(ModelFileText(SampleModel(), CalcSettings()));
  lines[1] = "5 2";  // 2 rows: -1 layers, read as 0
  lines.erase(lines.begin() + 16, lines.begin() + 23);  // drop layer 1
  Loaded loaded = Read(Join(lines));
  EXPECT_FALSE(loaded.outcome.message.has_value());
  EXPECT_EQ(loaded.model.edtLayers, 0);
  EXPECT_EQ(loaded.model.baseGrid.columnCount(), 7);
  EXPECT_EQ(loaded.model.baseGrid.cell(2, kColRho), "2.073E-6");

  lines[1] = "7 2147483647";  // 9999 layers, so the rows run out
  loaded = Read(Join(lines));
  EXPECT_EQ(loaded.outcome.message, kOlderModelFileMessage);
  EXPECT_EQ(loaded.model.edtLayers, 9999);
  lines[1] = "7 -2147483648";
  EXPECT_EQ(Read(Join(lines)).model.edtLayers, 0);
}

TEST(ModelFile, WriteAndReadAFile) {
  ScopedDecimalSeparator point('.');
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("quorrel_model_file_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const std::filesystem::path path = folder / "sample.par";
  const SampleModel model = ModelOfType(SampleType::MultipleLayers);
  const CalcSettings settings = SettingsWith(1, Resolution::OneRegion);
  WriteModelFile(path, model, settings);
  Loaded loaded;
  loaded.outcome = ReadModelFile(path, loaded.model, loaded.settings, loaded.editor);
  EXPECT_FALSE(loaded.outcome.message.has_value());
  ExpectSameStoredContent(model, settings, loaded.model, loaded.settings);
  EXPECT_EQ(ModelCaption(path), "Model - sample.par");
  EXPECT_THROW(ReadModelFile(folder / "missing.par", loaded.model, loaded.settings, loaded.editor),
               FileError);
  EXPECT_THROW(WriteModelFile(folder / "no" / "such.par", model, settings), FileError);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace quorrel
