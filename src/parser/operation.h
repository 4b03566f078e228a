#pragma once
// One compiled operation: operand references, its own result cell and the routine that
// computes it. The compiled expression is a list of these in evaluation order.

#include <cstdint>

#include "parser/parser_functions.h"

namespace quorrel {

enum class OpCode : std::uint8_t {
  Variable = 0,       // a lone variable: the result is the variable's cell
  Constant = 1,       // a lone number: the result is the constant's cell
  Negate = 2,
  Add = 3,
  Subtract = 4,
  Multiply = 5,
  Divide = 6,
  Mod = 7,
  Div = 8,
  WholePower = 9,     // a constant whole exponent other than 2, 3, 4
  Power = 10,
  Square = 11,
  Cube = 12,
  FourthPower = 13,
  Function1 = 14,
  Function2 = 15,
};

//! Where an operand lives, so that a copy of a parser can bind the same operands to its
//! own cells.
struct CellRef {
  enum class Source : std::uint8_t { None, Variable, Constant, Result };
  Source source = Source::None;
  int index = 0;  // into the variable cells, the constants or the records
};

struct Operation;
using Routine = void (*)(Operation&);

struct Operation {
  const double* left = nullptr;
  const double* right = nullptr;
  //! The record's own result, or the variable or constant cell for codes 0 and 1.
  const double* out = nullptr;
  double result = 0.0;
  Routine routine = nullptr;  // none for codes 0 and 1
  UnaryFunction function1 = nullptr;
  BinaryFunction function2 = nullptr;
  OpCode code = OpCode::Constant;
  CellRef leftRef;
  CellRef rightRef;
};

//! The routine of an operation code (none for codes 0 and 1).
Routine RoutineFor(OpCode code);

//! Whether the code reads a right operand.
bool IsBinary(OpCode code);

}  // namespace quorrel
