#include "model/measurement.h"

#include <gtest/gtest.h>

namespace quorrel {
namespace {

TEST(SpinChannelTest, NamesReadBackAndOtherTextIsRefused) {
  for (const SpinChannel channel : {SpinChannel::None, SpinChannel::DownDown,
                                    SpinChannel::DownUp, SpinChannel::UpDown,
                                    SpinChannel::UpUp}) {
    EXPECT_EQ(SpinChannelOfName(SpinChannelName(channel)), channel) << SpinChannelName(channel);
  }
  // The incident spin comes first: ORSO's "pm" is R+-, not R-+.
  EXPECT_EQ(SpinChannelOfName("pm"), SpinChannel::UpDown);
  EXPECT_EQ(SpinChannelOfName("MP"), SpinChannel::DownUp);
  EXPECT_EQ(SpinChannelOfName("r--"), SpinChannel::DownDown);
  EXPECT_EQ(SpinChannelOfName("++"), SpinChannel::UpUp);
  EXPECT_EQ(SpinChannelOfName("None"), SpinChannel::None);
  for (const char* text : {"R+", "po", "+++", "R+-x", "Rpp+", "up", " R++", "unpolarized"}) {
    EXPECT_FALSE(SpinChannelOfName(text)) << text;
  }
}

}  // namespace
}  // namespace quorrel
