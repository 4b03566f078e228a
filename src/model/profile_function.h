#pragma once
// The profile function of the analytical profile type, evaluated once per step.

#include <array>
#include <optional>
#include <string>

#include "model/layer_stack_builder.h"
#include "model/sample_model.h"
#include "parser/parser.h"

namespace quorrel {

//! Compiles the model's user expression into model.userFunction. Returns the parser's
//! message when that fails. Called whenever the expression may have changed: the test
//! button, confirming the function dialog, loading a model.
std::optional<std::string> CompileUserFunction(SampleModel& model);

//! The status text of a step whose user function failed.
inline constexpr const char* kUserFunctionError = "error in user function";

//! The function of one calculation: it takes its own copy of the compiled user function,
//! so calculations never share a parser and the model is left untouched.
class ProfileFunction {
 public:
  //! Takes the function choice, A to E and the steps' total length from `model`. A user
  //! expression that differs from the one compiled last is compiled for this calculation.
  explicit ProfileFunction(const SampleModel& model);

  //! The density at depth `z` below the start of the graded region, between `rhoStart` and
  //! `rhoEnd` for the built-ins. A failing user function gives 0 and sets the status text
  //! of `notes`; a fault of built-ins 2 to 4 throws ArithmeticFault.
  double Evaluate(double z, double rhoStart, double rhoEnd, BuildNotes* notes);

 private:
  double EvaluateUser(double z, BuildNotes* notes);

  FunctionKind kind_;
  int builtInIndex_;
  std::array<double, 5> parameters_;
  long long stepsLength_;
  TParser parser_;
  double* z_ = nullptr;
};

}  // namespace quorrel
