#include "database/material_table.h"

#include <gtest/gtest.h>

#include <fstream>

#include "database/database_error.h"
#include "temporary_table.h"

namespace quorrel {
namespace {

using testing::Compound;
using testing::Element;
using testing::Silicon;
using testing::TemporaryDirectory;

std::vector<std::string> Names(const std::vector<StoredMaterial>& materials) {
  std::vector<std::string> names;
  for (const StoredMaterial& material : materials) names.push_back(material.record.name);
  return names;
}

//! A new table file in a temporary folder, open for writing.
class MaterialTableTest : public ::testing::Test {
 protected:
  MaterialTableTest() {
    MaterialTable::Create(folder_.path(), "quorrel.db");
    table_.open(folder_.path(), "quorrel.db", TableAccess::ReadWrite);
  }
  std::filesystem::path path() const { return folder_ / "quorrel.db"; }

  TemporaryDirectory folder_;
  MaterialTable table_;
};

TEST_F(MaterialTableTest, ElementsByChargeCompoundsByName) {
  for (const MaterialRecord& record :
       {Element("Si", 14, 1), Compound("SiO2", 2), Element("H", 1, 3), Compound("d-PS", 4),
        Element("Fe", 26, 5), Compound("D2O", 6), Compound("Al2O3", 7), Element("X", 0, 8)}) {
    table_.insert(record);
  }
  EXPECT_EQ(Names(table_.list(MaterialKind::Element)),
            (std::vector<std::string>{"X", "H", "Si", "Fe"}));
  // Case does not count: "d-PS" sorts as "D-PS", and "-" comes before "2".
  EXPECT_EQ(Names(table_.list(MaterialKind::Compound)),
            (std::vector<std::string>{"Al2O3", "d-PS", "D2O", "SiO2"}));
}

TEST_F(MaterialTableTest, EqualKeysKeepTheirInsertionOrder) {
  table_.insert(Compound("GaAs", 1));
  table_.insert(Compound("gaas", 2));
  table_.insert(Compound("GaAs", 3));
  std::vector<int> ids;
  for (const StoredMaterial& m : table_.list(MaterialKind::Compound)) ids.push_back(*m.record.ID);
  EXPECT_EQ(ids, (std::vector<int>{1, 2, 3}));
}

TEST_F(MaterialTableTest, RecordAtIsThePositionInTheList) {
  table_.insert(Element("Fe", 26, 1));
  table_.insert(Element("H", 1, 2));
  table_.insert(Compound("GaAs", 3));
  EXPECT_EQ(table_.recordAt(MaterialKind::Element, 0).record.name, "H");
  EXPECT_EQ(table_.recordAt(MaterialKind::Element, 1).record.name, "Fe");
  EXPECT_EQ(table_.recordAt(MaterialKind::Compound, 0).record.name, "GaAs");
  try {
    table_.recordAt(MaterialKind::Element, 2);
    FAIL() << "found";
  } catch (const DatabaseError& error) {
    EXPECT_NE(std::string(error.what()).find("no ELEMENT at position 2"), std::string::npos);
  }
  EXPECT_THROW(table_.recordAt(MaterialKind::Compound, -1), DatabaseError);
}

TEST_F(MaterialTableTest, FieldsComeBackAsStored) {
  MaterialRecord full = Silicon();
  full.info1 = std::string(1000, 'm') + " \xC3\xA9";
  MaterialRecord sparse = Compound("air", 0);
  sparse.delta = sparse.beta = sparse.b_coh = sparse.abs_xs = "";
  sparse.ncharge.reset();
  sparse.ID.reset();
  table_.insert(full);
  table_.insert(sparse);
  EXPECT_EQ(table_.list(MaterialKind::Element).at(0).record, full);
  EXPECT_EQ(table_.list(MaterialKind::Compound).at(0).record, sparse);
}

TEST_F(MaterialTableTest, RefusedRecordLeavesTheTableAlone) {
  table_.insert(Silicon());
  MaterialRecord unnamed = Silicon();
  unnamed.name = "";
  try {
    table_.insert(unnamed);
    FAIL() << "inserted";
  } catch (const DatabaseError& error) {
    EXPECT_STREQ(error.what(), "Field 'name' must have a value");
  }
  const std::int64_t key = table_.list(MaterialKind::Element).at(0).key;
  MaterialRecord noDensity = Silicon();
  noDensity.density = "";
  EXPECT_THROW(table_.change(key, noDensity), DatabaseError);
  ASSERT_EQ(table_.list(MaterialKind::Element).size(), 1u);
  EXPECT_EQ(table_.list(MaterialKind::Element).at(0).record, Silicon());
}

TEST_F(MaterialTableTest, BatchIsStoredWholeOrNotAtAll) {
  MaterialRecord unweighed = Compound("GaAs", 3);
  unweighed.weight.clear();
  const std::vector<MaterialRecord> refused{Element("H", 1, 1), unweighed};
  EXPECT_THROW(table_.insert(refused), DatabaseError);
  // The engine's own checks refuse within the batch, after the first record went in.
  const std::vector<MaterialRecord> accepted{Element("H", 1, 1), Compound("GaAs", 2)};
  table_.insert(accepted);
  testing::ExecuteSql(path(), {"CREATE UNIQUE INDEX UniqueId ON materials (ID)"});
  const std::vector<MaterialRecord> clashing{Element("He", 2, 10), Compound("GaAs", 2)};
  EXPECT_THROW(table_.insert(clashing), DatabaseError);
  EXPECT_EQ(Names(table_.list(MaterialKind::Element)), (std::vector<std::string>{"H"}));
  EXPECT_EQ(Names(table_.list(MaterialKind::Compound)), (std::vector<std::string>{"GaAs"}));
}

TEST_F(MaterialTableTest, ChangeAndRemoveByKey) {
  const std::int64_t si = table_.insert(Silicon());
  const std::int64_t h = table_.insert(Element("H", 1, 1));
  MaterialRecord moved = Silicon();
  moved.type = MaterialKind::Compound;
  moved.name = "SiC";
  table_.change(si, moved);
  EXPECT_EQ(Names(table_.list(MaterialKind::Element)), (std::vector<std::string>{"H"}));
  EXPECT_EQ(Names(table_.list(MaterialKind::Compound)), (std::vector<std::string>{"SiC"}));
  table_.remove(h);
  EXPECT_TRUE(table_.list(MaterialKind::Element).empty());
  EXPECT_THROW(table_.remove(h), DatabaseError);
  EXPECT_THROW(table_.change(h, moved), DatabaseError);
}

TEST_F(MaterialTableTest, NextFreeIdIsOneMoreThanTheLargestOfAllKinds) {
  EXPECT_EQ(table_.nextFreeId(), 1);
  table_.insert(Element("H", 1, 3));
  table_.insert(Compound("GaAs", 57));
  MaterialRecord noId = Element("He", 2, 0);
  noId.ID.reset();
  table_.insert(noId);
  EXPECT_EQ(table_.nextFreeId(), 58);
  EXPECT_EQ(table_.newRecord(MaterialKind::Element).ID, 58);
}

TEST_F(MaterialTableTest, NextFreeIdIgnoresNegativeIdsAndRefusesOverflow) {
  table_.insert(Element("H", 1, -5));
  EXPECT_EQ(table_.nextFreeId(), 1);
  table_.insert(Element("He", 2, 2147483647));
  EXPECT_THROW(table_.nextFreeId(), DatabaseError);
}

TEST_F(MaterialTableTest, NewRecordDefaultsFollowTheKind) {
  const MaterialRecord element = table_.newRecord(MaterialKind::Element);
  EXPECT_EQ(element.type, MaterialKind::Element);
  EXPECT_EQ(element.ncharge, std::nullopt);
  EXPECT_EQ(element.ID, 1);
  const MaterialRecord compound = table_.newRecord(MaterialKind::Compound);
  EXPECT_EQ(compound.type, MaterialKind::Compound);
  EXPECT_EQ(compound.ncharge, 0);
  EXPECT_TRUE(compound.name.empty() && compound.weight.empty());
}

TEST_F(MaterialTableTest, ReadOnlyTableRefusesChanges) {
  table_.insert(Silicon());
  MaterialTable reader;
  reader.open(path(), TableAccess::ReadOnly);
  EXPECT_THROW(reader.insert(Silicon()), DatabaseError);
  EXPECT_THROW(reader.remove(1), DatabaseError);
  EXPECT_EQ(reader.list(MaterialKind::Element).size(), 1u);
}

TEST_F(MaterialTableTest, SeveralTablesOpenAtOnce) {
  table_.insert(Silicon());
  MaterialTable::Create(folder_.path(), "other.db");
  MaterialTable other;
  other.open(folder_ / "other.db", TableAccess::ReadWrite);
  other.insert(Compound("GaAs", 1));
  MaterialTable second;
  second.open(path(), TableAccess::ReadOnly);
  other.close();
  EXPECT_FALSE(other.isOpen());
  EXPECT_THROW(other.list(MaterialKind::Compound), DatabaseError);
  EXPECT_EQ(Names(second.list(MaterialKind::Element)), (std::vector<std::string>{"Si"}));
  EXPECT_TRUE(table_.list(MaterialKind::Compound).empty());
}

TEST_F(MaterialTableTest, IndexDroppedAfterOpeningFailsItsKindOnly) {
  table_.insert(Silicon());
  testing::ExecuteSql(path(), {"DROP INDEX ByName"});
  EXPECT_THROW(table_.list(MaterialKind::Compound), DatabaseError);
  EXPECT_EQ(table_.list(MaterialKind::Element).size(), 1u);
}

TEST(MaterialTableFiles, MissingPathIsAnErrorAndIsNotCreated) {
  TemporaryDirectory folder;
  for (TableAccess access : {TableAccess::ReadOnly, TableAccess::ReadWrite}) {
    MaterialTable table;
    EXPECT_THROW(table.open(folder.path(), "quorrel.db", access), DatabaseError);
    EXPECT_FALSE(table.isOpen());
  }
  EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

TEST(MaterialTableFiles, CreateRefusesAnExistingPath) {
  TemporaryDirectory folder;
  std::ofstream(folder / "taken.db") << "keep";
  EXPECT_THROW(MaterialTable::Create(folder.path(), "taken.db"), DatabaseError);
  std::ifstream in(folder / "taken.db");
  std::string content;
  in >> content;
  EXPECT_EQ(content, "keep");
}

TEST(MaterialTableFiles, FilesThatAreNoMaterialTableAreRefused) {
  TemporaryDirectory folder;
  std::ofstream(folder / "text.db") << "this is not a database\n";
  std::ofstream(folder / "empty.db");
  testing::ExecuteSql(folder / "other.db", {"CREATE TABLE people (name TEXT)"});
  testing::ExecuteSql(folder / "nofield.db",
                      {"CREATE TABLE materials (name TEXT, info1 TEXT, ncharge INTEGER)",
                       "CREATE INDEX ByCharge ON materials (ncharge)",
                       "CREATE INDEX ByName ON materials (name)"});
  MaterialTable::Create(folder.path(), "noindex.db");
  testing::ExecuteSql(folder / "noindex.db", {"DROP INDEX ByCharge"});
  for (const char* name : {"text.db", "empty.db", "other.db", "nofield.db", "noindex.db"}) {
    MaterialTable table;
    EXPECT_THROW(table.open(folder.path(), name, TableAccess::ReadOnly), DatabaseError) << name;
    EXPECT_FALSE(table.isOpen()) << name;
  }
}

TEST(MaterialTableFiles, NumbersStoredByOtherMeansReadAsText) {
  TemporaryDirectory folder;
  MaterialTable::Create(folder.path(), "t.db");
  // A file written by other means may hold numbers where text is expected.
  testing::ExecuteSql(folder / "t.db",
                      {"INSERT INTO materials (name, weight, density, type, ID) VALUES"
                       " ('Si', 28.0855, 2.33, 'ELEMENT', 1)"});
  MaterialTable table;
  table.open(folder / "t.db", TableAccess::ReadOnly);
  const MaterialRecord record = table.recordAt(MaterialKind::Element, 0).record;
  EXPECT_EQ(record.weight, "28.0855");
  EXPECT_EQ(record.density, "2.33");
}

}  // namespace
}  // namespace quorrel
