#include "database/material_source.h"

#include <gtest/gtest.h>

#include "common/error.h"

namespace quorrel {
namespace {

const std::string kColumns(kMaterialSourceColumns);

std::string Refusal(const std::string& text) {
  try {
    ParseMaterialSource(text, "materials.tsv");
  } catch (const FileError& error) {
    return error.what();
  }
  return "";
}

TEST(ParseMaterialSource, ReadsRecordsBetweenComments) {
  const std::string text = "# header\n\n" + kColumns +
                           "\r\n"
                           "Si\t\t14\t28.0855\t2.33\t7.583e-06\t1.729e-07\t4.15071\t0.171\tELEMENT\t14\n"
                           "# a note\n"
                           "D2O\t20 C\t0\t20.027604\t1.1056\t\t\t19.153\t0.001228\tCOMPOUND\t\n";
  const std::vector<MaterialRecord> records = ParseMaterialSource(text, "materials.tsv");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].name, "Si");
  EXPECT_EQ(records[0].info1, "");
  EXPECT_EQ(records[0].ncharge, 14);
  EXPECT_EQ(records[0].beta, "1.729e-07");
  EXPECT_EQ(records[0].type, MaterialKind::Element);
  EXPECT_EQ(records[0].ID, 14);
  EXPECT_EQ(records[1].info1, "20 C");
  EXPECT_EQ(records[1].delta, "");
  EXPECT_EQ(records[1].abs_xs, "0.001228");
  EXPECT_EQ(records[1].type, MaterialKind::Compound);
  EXPECT_EQ(records[1].ID, std::nullopt);
}

TEST(ParseMaterialSource, RefusalsNameTheLine) {
  const std::string head = "# h\n" + kColumns + "\n";
  EXPECT_EQ(Refusal(head + "Si\t\t14\t28\t2.33\t\t\t\t\tELEMENT\n"),
            "materials.tsv line 3: 10 fields instead of 11");
  EXPECT_EQ(Refusal(head + "Si\t\t14\t28\t2.33\t\t\t\t\tMETAL\t1\n"),
            "materials.tsv line 3: type is neither ELEMENT nor COMPOUND: METAL");
  EXPECT_EQ(Refusal(head + "Si\t\t1.4\t28\t2.33\t\t\t\t\tELEMENT\t1\n"),
            "materials.tsv line 3: field 'ncharge' is not an integer: 1.4");
  EXPECT_EQ(Refusal(head + "Si\t\t14\t28\t\t\t\t\t\tELEMENT\t1\n"),
            "materials.tsv line 3: Field 'density' must have a value");
  EXPECT_EQ(Refusal("name\tweight\n"), "materials.tsv line 1: the column line is not as expected");
  EXPECT_EQ(Refusal("# only a comment\n"), "materials.tsv: no column line");
}

}  // namespace
}  // namespace quorrel
