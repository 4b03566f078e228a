#include "database/material_record.h"

#include <gtest/gtest.h>

#include "database/database_error.h"
#include "temporary_table.h"

namespace quorrel {
namespace {

using testing::Silicon;

TEST(MaterialCaption, MarksACommentedMaterial) {
  MaterialRecord record = Silicon();
  EXPECT_EQ(MaterialCaption(record), "Si");
  record.info1 = "single crystal";
  EXPECT_EQ(MaterialCaption(record), "* Si");
}

std::string RefusalOf(const MaterialRecord& record) {
  try {
    ValidateMaterialRecord(record);
  } catch (const DatabaseError& error) {
    return error.what();
  }
  return "";
}

TEST(ValidateMaterialRecord, RefusesEmptyRequiredFieldsInFieldOrder) {
  MaterialRecord noName = Silicon();
  noName.name.clear();
  noName.weight.clear();
  EXPECT_EQ(RefusalOf(noName), "Field 'name' must have a value");
  MaterialRecord noWeight = Silicon();
  noWeight.weight.clear();
  EXPECT_EQ(RefusalOf(noWeight), "Field 'weight' must have a value");
  MaterialRecord noDensity = Silicon();
  noDensity.density.clear();
  EXPECT_EQ(RefusalOf(noDensity), "Field 'density' must have a value");
}

TEST(ValidateMaterialRecord, OptionalFieldsMayBeEmpty) {
  MaterialRecord record = Silicon();
  record.delta = record.beta = record.b_coh = record.abs_xs = "";
  record.ncharge.reset();
  record.ID.reset();
  EXPECT_EQ(RefusalOf(record), "");
}

TEST(ValidateMaterialRecord, CountsCharactersAgainstFieldSizes) {
  MaterialRecord record = Silicon();
  record.name = std::string(40, 'x');
  EXPECT_EQ(RefusalOf(record), "");
  record.name += 'x';
  EXPECT_EQ(RefusalOf(record), "Field 'name' holds more than 40 characters");
  // Two bytes each in UTF-8, still 40 characters.
  record.name.clear();
  for (int i = 0; i < 40; ++i) record.name += "\xC3\xA9";
  EXPECT_EQ(RefusalOf(record), "");
  record = Silicon();
  record.abs_xs = "0.1710000000000";  // 15
  EXPECT_EQ(RefusalOf(record), "");
  record.abs_xs += '1';
  EXPECT_EQ(RefusalOf(record), "Field 'abs_xs' holds more than 15 characters");
  record = Silicon();
  record.info1 = std::string(5000, 'c');  // a memo
  EXPECT_EQ(RefusalOf(record), "");
}

}  // namespace
}  // namespace quorrel
