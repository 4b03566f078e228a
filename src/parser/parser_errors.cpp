#include "parser/parser_errors.h"

namespace quorrel {

EExpressionHasBlanks::EExpressionHasBlanks() : EMathParserError("Expression has blanks") {}

EMissMatchingBracket::EMissMatchingBracket()
    : EMathParserError("Missing brackets in expression") {}

ESyntaxError::ESyntaxError(const std::string& term)
    : EMathParserError("Error parsing expression:\r" + term) {}

ESyntaxError::ESyntaxError(const std::string& left, const std::string& right)
    : EMathParserError("Error parsing expression:\r" + left + "\r" + right) {}

ETooManyNestings::ETooManyNestings()
    : EMathParserError("Expression contains too many nestings") {}

EExpressionTooComplex::EExpressionTooComplex() : EMathParserError("Expression is too complex") {}

EBadName::EBadName(const std::string& name) : EMathParserError(name) {}

EParserInternalError::EParserInternalError() : EMathParserError("TParser internal error") {}

}  // namespace quorrel
