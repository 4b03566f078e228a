#pragma once
// Comparing names without regard to the case of ASCII letters.

#include <string_view>

namespace quorrel {

//! Whether `a` and `b` are equal when ASCII letters are compared without their case.
bool EqualIgnoringCase(std::string_view a, std::string_view b);

//! Whether `text` ends with `suffix`, compared as EqualIgnoringCase does.
bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix);

}  // namespace quorrel
