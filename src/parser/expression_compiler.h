#pragma once
// Compilation of an expression text into its operation list.

#include <string_view>

#include "parser/compiled_expression.h"
#include "parser/term_recogniser.h"

namespace quorrel {

//! At most this many levels of operations, each of at most kMaxLevelOperations.
inline constexpr int kMaxLevels = 20;
inline constexpr int kMaxLevelOperations = 50;

//! Upper-cases `text`, checks blanks and brackets, removes enclosing brackets, decomposes
//! it into terms and links their operations deepest level first. Throws the
//! EMathParserError classes; the result still has to be bound to the variable cells.
CompiledExpression CompileExpression(std::string_view text, const TermLookup& lookup);

}  // namespace quorrel
