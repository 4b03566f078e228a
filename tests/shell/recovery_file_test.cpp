#include "shell/recovery_file.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/decimal_separator.h"
#include "model/editor_fields.h"
#include "model/sample_type_choice.h"

namespace quorrel {
namespace {

//! A model that uses every part: hidden rows, a stack, a user function, unusual texts.
RecoveredWork Worked() {
  RecoveredWork work;
  SampleModel& model = work.model;
  SetLayerCount(model, 5);
  model.baseGrid.setCell(5, kColThickness, "hidden later");
  SetLayerCount(model, 2);
  model.baseGrid.setCell(2, kColRho, "1,5E-6");
  model.baseGrid.setCell(3, kColLabel, "Ni\\Ti\r\nline");
  ChooseSampleType(model, SampleType::MultipleLayers);
  SetStackedLayerCount(model, 3);
  model.mlGrid.setCell(3, kColSigma, "4.5");
  model.baseGrid.setCell(2, kColThetaM, "45");
  model.mlGrid.setCell(3, kColThetaM, "-30");
  model.edtRepts = 12;
  model.edtInsertLayer = 1;
  model.function.kind = FunctionKind::UserDefined;
  model.function.expression = "A*EXP(-Z/B)";
  model.function.numParameters = 2;
  model.function.parameterNames = {"amp", "xi", "C", "D", "E"};
  model.function.parameters = {1.0000000000000002e-6, 12.25, 0, 0, -3};
  work.editor.testFunctionEnabled = true;
  work.settings.edtminQ = 0.005;
  work.settings.edtMaxQ = 0.3000000000000001;
  work.settings.cbMagnet = true;
  work.settings.spinFlip = {.enabled = true, .aguide = 5, .field = 0.244};
  work.settings.cbUserZ = true;
  work.settings.edtMinZ = -40;
  work.settings.cbBackground = true;
  work.settings.background = BackgroundKind::Lorentzian;
  work.settings.edtPeakW = 0.01;
  work.settings.edtRegions = 2;
  work.settings.resltnGrid.setRowCount(3);
  work.settings.resltnGrid.setCell(2, 0, "0.1");
  work.settings.resltnGrid.setCell(2, 1, "0.002");
  work.settings.radiation = Radiation::Xrays;
  work.settings.resolutionFromData = true;
  work.settings.smearing = SmearingKernel::Accurate;
  work.modelFile = "/home/user/films/nickel titanium.par";
  work.dataFile = "/home/user/films/run 7.dat";
  work.savedAt = "8 December 2026 14:31:05";
  return work;
}

void ExpectSameGrid(const TextGrid& a, const TextGrid& b) {
  ASSERT_EQ(a.rowCount(), b.rowCount());
  for (int row = 0; row < std::max(a.storedRowCount(), b.storedRowCount()); ++row) {
    for (int column = 0; column < a.columnCount(); ++column) {
      EXPECT_EQ(a.cell(row, column), b.cell(row, column)) << row << "," << column;
    }
  }
}

TEST(RecoveryFile, RestoresTheWholeModelExactly) {
  for (const char separator : {'.', ','}) {
    const ScopedDecimalSeparator scoped(separator);
    const RecoveredWork work = Worked();
    const std::optional<RecoveredWork> read = ReadRecoveryText(RecoveryText(work));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->model.type, SampleType::MultipleLayers);
    EXPECT_EQ(read->model.edtLayers, 2);
    ExpectSameGrid(read->model.baseGrid, work.model.baseGrid);
    ExpectSameGrid(read->model.mlGrid, work.model.mlGrid);
    ExpectSameGrid(read->settings.resltnGrid, work.settings.resltnGrid);
    EXPECT_EQ(read->model.baseGrid.cell(5, kColThickness), "hidden later");  // out of sight
    EXPECT_EQ(read->model.baseGrid.cell(2, kColThetaM), "45");
    EXPECT_EQ(read->model.mlGrid.cell(3, kColThetaM), "-30");
    EXPECT_EQ(read->settings.spinFlip, work.settings.spinFlip);
    EXPECT_EQ(read->model.edtRepts, 12);
    EXPECT_EQ(read->model.function.parameterNames, work.model.function.parameterNames);
    EXPECT_EQ(read->model.function.parameters, work.model.function.parameters);
    EXPECT_EQ(read->model.userFunction.source(), "A*EXP(-Z/B)");
    EXPECT_TRUE(read->editor.testFunctionEnabled);
    EXPECT_EQ(read->settings.edtMaxQ, 0.3000000000000001);
    EXPECT_EQ(read->settings.edtMinZ, -40);
    EXPECT_EQ(read->settings.background, BackgroundKind::Lorentzian);
    EXPECT_EQ(read->settings.radiation, Radiation::Xrays);
    EXPECT_TRUE(read->settings.resolutionFromData);
    EXPECT_EQ(read->settings.smearing, SmearingKernel::Accurate);
    EXPECT_EQ(read->modelFile, work.modelFile);
    EXPECT_EQ(read->dataFile, work.dataFile);
    EXPECT_EQ(read->savedAt, work.savedAt);
    // Written again, the text is the same: nothing was lost on the way.
    EXPECT_EQ(RecoveryText(*read), RecoveryText(work));
  }
}

TEST(RecoveryFile, DamagedOrForeignTextsAreNotUsed) {
  const std::string good = RecoveryText(Worked());
  ASSERT_TRUE(ReadRecoveryText(good));
  const std::string cut = good.substr(0, good.size() / 2);
  std::string inconsistent = good;
  inconsistent.replace(inconsistent.find("edtLayers 2"), 11, "edtLayers 7");
  std::string badNumber = good;
  badNumber.replace(badNumber.find("edtRepts 12"), 11, "edtRepts x2");
  for (const std::string& text :
       {std::string(), std::string("Quorrel recovery 2\nend\n"), cut, inconsistent, badNumber,
        good.substr(0, good.size() - 4), std::string("Quorrel recovery 1\nbaseGrid 1 99 x\nend\n"),
        std::string("Quorrel recovery 1\nexpression a\\q\nend\n")}) {
    EXPECT_FALSE(ReadRecoveryText(text)) << text.substr(0, 60);
  }
}

TEST(RecoveryFile, WhatIsReadFromAChangedFileIsWholeAgain) {
  // Every prefix and many single-byte changes of a good file are refused, or read into work
  // that writes and reads back as itself.
  const std::string good = RecoveryText(Worked());
  std::vector<std::string> texts;
  for (std::size_t length = 0; length <= good.size(); length += 7) {
    texts.push_back(good.substr(0, length));
  }
  for (std::size_t at = 0; at < good.size(); at += 5) {
    for (const char c : {'\0', '\n', ' ', '9', '-', '\\'}) {
      texts.push_back(good);
      texts.back()[at] = c;
    }
  }
  int read = 0;
  for (const std::string& text : texts) {
    if (const auto work = ReadRecoveryText(text)) {
      ++read;
      const std::string again = RecoveryText(*work);
      ASSERT_TRUE(ReadRecoveryText(again)) << again;
      EXPECT_EQ(RecoveryText(*ReadRecoveryText(again)), again);
    }
  }
  EXPECT_GT(read, 0);  // changes inside texts and cells still read
}

}  // namespace
}  // namespace quorrel
