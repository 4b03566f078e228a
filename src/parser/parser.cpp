#include "parser/parser.h"

namespace quorrel {

TParser::TParser() {
  // A to E first, so that their cells are the first five.
  for (const char* name : {"A", "B", "C", "D", "E", "X", "Y", "T"}) AddVariable(name);
  AddFunction1("SIN", ParserSin);
  AddFunction1("COS", ParserCos);
  AddFunction1("TAN", ParserTan);
  AddFunction1("ARCTAN", ParserArcTan);
  AddFunction1("SINH", ParserSinh);
  AddFunction1("COSH", ParserCosh);
  AddFunction1("EXP", ParserExp);
  AddFunction1("LN", ParserLn);
  AddFunction1("SQRT", ParserSqrt);
  AddFunction1("ABS", ParserAbs);
  AddFunction1("HEAV", ParserHeav);
  AddFunction1("SIGN", ParserSign);
  AddFunction1("ZERO", ParserZero);
  AddFunction1("PH", ParserPh);
  AddFunction1("RND", ParserRnd);
  AddFunction2("MAX", ParserMax);
  AddFunction2("MIN", ParserMin);
}

void TParser::SetParameters(const std::array<double, 5>& values) {
  for (int i = 0; i < 5; ++i) VariableCell(i) = values[static_cast<std::size_t>(i)];
}

}  // namespace quorrel
