#include "common/text_case.h"

#include <gtest/gtest.h>

namespace quorrel {
namespace {

TEST(TextCase, ComparesAsciiLettersWithoutTheirCase) {
  EXPECT_TRUE(EqualIgnoringCase("Last Session", "LAST session"));
  EXPECT_FALSE(EqualIgnoringCase("Main", "Mains"));
  EXPECT_FALSE(EqualIgnoringCase("a-b", "a_b"));
  // Only ASCII letters fold; other bytes compare as they are.
  EXPECT_FALSE(EqualIgnoringCase("\xC3\x84", "\xC3\xA4"));
  EXPECT_TRUE(EndsWithIgnoringCase("model.PAR", ".par"));
  EXPECT_FALSE(EndsWithIgnoringCase("par", ".par"));
}

}  // namespace
}  // namespace quorrel
