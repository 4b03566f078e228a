#include "database/material_lists.h"

#include <gtest/gtest.h>

#include <fstream>

#include "database/material_table.h"
#include "temporary_table.h"

namespace quorrel {
namespace {

using testing::Compound;
using testing::Element;
using testing::TemporaryDirectory;

using Captions = std::vector<std::string>;

constexpr const char* kExpectedMessage =
    "There is something wrong with this database file.\nyou better reload it...";

std::filesystem::path MakeTable(const TemporaryDirectory& folder,
                                const std::vector<MaterialRecord>& records) {
  MaterialTable::Create(folder.path(), "quorrel.db");
  MaterialTable table;
  table.open(folder / "quorrel.db", TableAccess::ReadWrite);
  for (const MaterialRecord& record : records) table.insert(record);
  return folder / "quorrel.db";
}

TEST(LoadMaterialLists, CaptionsInListOrder) {
  TemporaryDirectory folder;
  MaterialRecord commented = Compound("SiO2", 3);
  commented.info1 = "fused silica";
  const auto path = MakeTable(folder, {Element("Fe", 26, 1), commented, Element("H", 1, 2),
                                       Compound("Al2O3", 4)});
  const MaterialLists lists = LoadMaterialLists(path);
  EXPECT_EQ(lists.elements, (Captions{"H", "Fe"}));
  EXPECT_EQ(lists.compounds, (Captions{"Al2O3", "* SiO2"}));
  EXPECT_FALSE(lists.failure);
}

TEST(LoadMaterialLists, AnEmptyKindDoesNotStopTheOther) {
  TemporaryDirectory folder;
  const MaterialLists noElements =
      LoadMaterialLists(MakeTable(folder, {Compound("GaAs", 1), Compound("D2O", 2)}));
  EXPECT_TRUE(noElements.elements.empty());
  EXPECT_EQ(noElements.compounds, (Captions{"D2O", "GaAs"}));
  EXPECT_FALSE(noElements.failure);
}

TEST(LoadMaterialLists, MissingFileIsReportedAndNotCreated) {
  TemporaryDirectory folder;
  const MaterialLists lists = LoadMaterialLists(folder / "database" / "quorrel.db");
  EXPECT_EQ(lists.failure, kExpectedMessage);
  EXPECT_TRUE(lists.elements.empty());
  EXPECT_TRUE(lists.compounds.empty());
  EXPECT_NE(lists.reason.find("not found"), std::string::npos) << lists.reason;
  EXPECT_FALSE(std::filesystem::exists(folder / "database"));
}

TEST(LoadMaterialLists, FileThatIsNoTableIsReported) {
  TemporaryDirectory folder;
  std::ofstream(folder / "text.db") << "name\tweight\nSi\t28.0855\n";
  EXPECT_EQ(LoadMaterialLists(folder / "text.db").failure, kExpectedMessage);
  EXPECT_EQ(LoadMaterialLists(folder.path()).failure, kExpectedMessage);
}

TEST(LoadMaterialLists, TableWithoutItsIndexesIsReported) {
  TemporaryDirectory folder;
  const auto path = MakeTable(folder, {Element("H", 1, 1), Compound("GaAs", 2)});
  testing::ExecuteSql(path, {"DROP INDEX ByName"});
  const MaterialLists lists = LoadMaterialLists(path);
  EXPECT_EQ(lists.failure, kExpectedMessage);
  EXPECT_TRUE(lists.compounds.empty());
}

}  // namespace
}  // namespace quorrel
