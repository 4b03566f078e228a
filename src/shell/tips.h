#pragma once
// The tips of the day.

#include <array>
#include <string_view>

namespace quorrel {

//! The heading shown above every tip.
inline constexpr std::string_view kTipHeading = "Did you know...";

inline constexpr std::size_t kTipCount = 14;

//! The tips in order; each continues the heading.
extern const std::array<std::string_view, kTipCount> kTips;

//! The tip after `index` (from 0), wrapping from the last to the first.
inline std::size_t NextTip(std::size_t index) { return (index + 1) % kTipCount; }

//! The tips that the window may open at: the first 13.
inline constexpr std::size_t kFirstTipChoices = 13;

}  // namespace quorrel
