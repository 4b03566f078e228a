#pragma once
// The errors that compiling an expression raises, one class per cause.

#include <string>

#include "common/error.h"

namespace quorrel {

//! Base of every compilation error of the expression parser.
class EMathParserError : public QuorrelError {
 public:
  using QuorrelError::QuorrelError;
};

//! A blank inside the expression (outer blanks are removed first).
class EExpressionHasBlanks : public EMathParserError {
 public:
  EExpressionHasBlanks();
};

//! Different numbers of "(" and ")".
class EMissMatchingBracket : public EMathParserError {
 public:
  EMissMatchingBracket();
};

//! A term that fits none of the term forms.
class ESyntaxError : public EMathParserError {
 public:
  //! No operator split was attempted on `term`.
  explicit ESyntaxError(const std::string& term);
  //! `left` and `right` are the sides of the last split attempted.
  ESyntaxError(const std::string& left, const std::string& right);
};

//! An operation deeper than the deepest level.
class ETooManyNestings : public EMathParserError {
 public:
  ETooManyNestings();
};

//! More operations on one level than a level holds.
class EExpressionTooComplex : public EMathParserError {
 public:
  EExpressionTooComplex();
};

//! A variable name that is not an identifier; the message is the name.
class EBadName : public EMathParserError {
 public:
  explicit EBadName(const std::string& name);
};

//! A binary operation without its second operand, which the recogniser never produces.
class EParserInternalError : public EMathParserError {
 public:
  EParserInternalError();
};

}  // namespace quorrel
