#include "physics/layer_stack.h"

#include <gtest/gtest.h>

namespace quorrel {
namespace {

// The fit numbers its values by this layout, so the indices stay while the storage follows
// the layer count.
TEST(LayerStackTest, HoldsTheLayoutOfItsLayersAndNoMore) {
  LayerStack stack(2);
  stack.setRho(0, 1.0);
  stack.setThickness(2, 2.0);
  stack.setSigma(3, 3.0);
  ASSERT_EQ(stack.values().size(), 19u);
  EXPECT_EQ(stack.values()[6], 1.0);
  EXPECT_EQ(stack.values()[12], 2.0);
  EXPECT_EQ(stack.values()[18], 3.0);
  stack.reset(LayerStack::kMaxLayers);
  EXPECT_LE(stack.values().size(), static_cast<std::size_t>(LayerStack::kValueCount));
  stack.reset(0);
  EXPECT_EQ(stack.values().size(), 11u);
  EXPECT_EQ(stack.sigma(1), 0.0);
}

}  // namespace
}  // namespace quorrel
