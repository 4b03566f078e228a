#include "database/material_editing.h"

#include <gtest/gtest.h>

#include "database/database_error.h"
#include "temporary_table.h"

namespace quorrel {
namespace {

using testing::Compound;
using testing::Element;
using testing::TemporaryDirectory;

//! An empty table; fill() adds Si, Fe, ZnO and SiO2, the largest ID 57 being a compound's.
class MaterialEditingTest : public ::testing::Test {
 protected:
  MaterialEditingTest() {
    MaterialTable::Create(folder_.path(), "quorrel.db");
    table_.open(folder_ / "quorrel.db", TableAccess::ReadWrite);
  }
  void fill() {
    for (const MaterialRecord& record :
         {Element("Si", 14, 1), Element("Fe", 26, 2), Compound("ZnO", 57), Compound("SiO2", 4)}) {
      table_.insert(record);
    }
  }
  static std::string currentName(const MaterialEditing& editing) {
    return editing.current() != nullptr ? editing.current()->name : "(none)";
  }

  TemporaryDirectory folder_;
  MaterialTable table_;
};

TEST_F(MaterialEditingTest, NewRecordGetsTheNextFreeIdWhateverThePage) {
  MaterialEditing editing(table_, MaterialKind::Compound);
  editing.insert();
  EXPECT_EQ(editing.edited().ID, 1);
  editing.cancel();
  fill();
  for (MaterialKind kind : {MaterialKind::Element, MaterialKind::Compound}) {
    editing.setKind(kind);
    editing.insert();
    EXPECT_EQ(editing.edited().ID, 58);
    EXPECT_EQ(editing.edited().type, kind);
    editing.cancel();
  }
  editing.insert();
  editing.edited() = Compound("GaAs", 58);
  editing.post();
  editing.insert();
  EXPECT_EQ(editing.edited().ID, 59);
}

TEST_F(MaterialEditingTest, RefusedPostKeepsTheEditAndNothingMoves) {
  fill();
  MaterialEditing editing(table_, MaterialKind::Element);
  editing.insert();
  editing.edited().weight = "1.008";
  editing.edited().density = "0.07";
  try {
    editing.post();
    FAIL() << "posted";
  } catch (const DatabaseError& error) {
    EXPECT_STREQ(error.what(), "Field 'name' must have a value");
  }
  EXPECT_THROW(editing.next(), DatabaseError);
  EXPECT_THROW(editing.setKind(MaterialKind::Compound), DatabaseError);
  EXPECT_EQ(editing.mode(), EditMode::Inserting);
  EXPECT_EQ(editing.kind(), MaterialKind::Element);
  EXPECT_EQ(editing.edited().weight, "1.008");
  EXPECT_EQ(table_.list(MaterialKind::Element).size(), 2u);
}

TEST_F(MaterialEditingTest, PostedRecordStaysCurrentAtItsPlaceInTheOrder) {
  fill();
  MaterialEditing editing(table_, MaterialKind::Element);
  editing.last();
  editing.insert();
  editing.edited() = Element("H", 1, 58);
  editing.post();
  EXPECT_EQ(editing.mode(), EditMode::Browsing);
  EXPECT_EQ(editing.position(), 0);
  EXPECT_EQ(table_.list(MaterialKind::Element).front().record.name, "H");

  editing.setKind(MaterialKind::Compound);
  EXPECT_EQ(currentName(editing), "SiO2");
  editing.next();
  editing.edit();
  editing.edited().name = "AlN";
  editing.first();  // leaving the record stores it
  EXPECT_EQ(currentName(editing), "AlN");
  EXPECT_EQ(table_.list(MaterialKind::Compound).front().record.name, "AlN");
}

TEST_F(MaterialEditingTest, CancelAndDeleteActOnTheCurrentRecordOnly) {
  fill();
  table_.insert(Element("H", 1, 5));
  MaterialEditing editing(table_, MaterialKind::Element);
  editing.next();
  editing.edit();
  editing.edited().name = "changed";
  editing.cancel();
  EXPECT_EQ(currentName(editing), "Si");
  editing.insert();
  editing.remove();  // drops the new record, deletes nothing
  EXPECT_EQ(editing.mode(), EditMode::Browsing);
  editing.remove();
  EXPECT_EQ(currentName(editing), "Fe");  // the next one takes the place
  editing.remove();
  EXPECT_EQ(currentName(editing), "H");  // the last one is gone: the new last
  EXPECT_EQ(table_.list(MaterialKind::Element).size(), 1u);
  EXPECT_EQ(table_.list(MaterialKind::Compound).size(), 2u);
}

TEST_F(MaterialEditingTest, NavigationStopsAtTheEnds) {
  MaterialEditing editing(table_, MaterialKind::Element);
  editing.next();
  editing.edit();
  EXPECT_EQ(editing.current(), nullptr);
  EXPECT_EQ(editing.mode(), EditMode::Browsing);
  fill();
  editing.refresh();
  editing.prior();
  EXPECT_TRUE(editing.atFirst());
  EXPECT_EQ(currentName(editing), "Si");
  editing.last();
  editing.next();
  EXPECT_TRUE(editing.atLast());
  EXPECT_EQ(currentName(editing), "Fe");
}

}  // namespace
}  // namespace quorrel
