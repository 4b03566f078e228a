#include "shell/document.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/editor_fields.h"
#include "model/sample_type_choice.h"

namespace quorrel {
namespace {

//! Types `text` into cell (row, column) of the layer table one keystroke at a time.
void Type(Document& document, int row, int column, const std::string& text) {
  for (std::size_t n = 1; n <= text.size(); ++n) {
    document.state().model.baseGrid.setCell(row, column, text.substr(0, n));
    document.edited();
  }
}

class CountingStore : public RecoveryStore {
 public:
  bool keep(const RecoveredWork& work) override {
    kept.push_back(work.model.baseGrid.cell(2, kColThickness));
    return true;
  }
  void discard() override { ++discarded; }
  std::vector<std::string> kept;
  int discarded = 0;
};

TEST(DocumentTest, TheKeystrokesOfOneNumberAreOneStepUntilTheCellIsLeft) {
  Document document;
  Type(document, 2, kColThickness, "70");
  EXPECT_EQ(document.undoWhat(), "typing in Layer table, row 1, d / Å");
  document.closeStep();
  Type(document, 2, kColThickness, "8");
  Type(document, 3, kColRho, "2e-6");
  EXPECT_EQ(document.undoWhat(), "typing in Layer table, bulk, rho / Å^-2");

  ASSERT_TRUE(document.undo());
  EXPECT_EQ(document.state().model.baseGrid.cell(3, kColRho), SampleModel().baseGrid.cell(3, kColRho));
  EXPECT_EQ(document.state().model.baseGrid.cell(2, kColThickness), "8");
  ASSERT_TRUE(document.undo());
  EXPECT_EQ(document.state().model.baseGrid.cell(2, kColThickness), "70");
  ASSERT_TRUE(document.undo());
  EXPECT_EQ(document.state().model.baseGrid.cell(2, kColThickness), "25");
  EXPECT_FALSE(document.undo());
  EXPECT_EQ(document.redoWhat(), "typing in Layer table, row 1, d / Å");
  ASSERT_TRUE(document.redo());
  EXPECT_EQ(document.state().model.baseGrid.cell(2, kColThickness), "70");
  // A new step drops what could be redone.
  ChooseSampleType(document.state().model, SampleType::MultipleLayers);
  document.edited();
  EXPECT_EQ(document.undoWhat(), "sample type");
  EXPECT_FALSE(document.redoWhat());
  // A change of nothing is no step.
  document.edited();
  ASSERT_TRUE(document.undo());
  EXPECT_EQ(document.state().model.type, SampleType::IndependentLayers);
}

TEST(DocumentTest, UndoGivesBackLoadedDataButKeepsARegionSetSince) {
  Document document;
  MeasuredData& data = document.state().data;
  data.fileName = "/data/a.dat";
  data.qz = {0.01, 0.02};
  data.r = data.dr = {1e-3, 1e-4};
  document.recordStep("loading a.dat");
  Type(document, 2, kColThickness, "7");
  data.fitRegionLow = 0.015;

  const std::optional<Restored> cellUndone = document.undo();
  ASSERT_TRUE(cellUndone);
  EXPECT_FALSE(cellUndone->data);
  EXPECT_EQ(data.fitRegionLow, 0.015);
  const std::optional<Restored> loadUndone = document.undo();
  ASSERT_TRUE(loadUndone);
  EXPECT_TRUE(loadUndone->data);
  EXPECT_FALSE(data.loaded());
  ASSERT_TRUE(document.redo());
  EXPECT_EQ(data.qz, (std::vector<double>{0.01, 0.02}));
}

TEST(DocumentTest, RecoveryFollowsTheUnsavedStateAlsoAfterUndo) {
  Document document;
  CountingStore store;
  document.setRecoveryStore(&store);
  document.modelSaved("/work/a.par");
  EXPECT_EQ(store.discarded, 1);
  Type(document, 2, kColThickness, "71");
  EXPECT_TRUE(document.modelChanged());
  document.keepForRecovery("now");
  ASSERT_TRUE(document.undo());
  EXPECT_FALSE(document.modelChanged());
  document.keepForRecovery("later");
  EXPECT_EQ(store.kept, std::vector<std::string>{"71"});
  EXPECT_EQ(store.discarded, 2);
}

}  // namespace
}  // namespace quorrel
