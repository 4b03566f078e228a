#include "model/profile_function.h"

#include <exception>

#include "parser/builtin_profiles.h"

namespace quorrel {

std::optional<std::string> CompileUserFunction(SampleModel& model) {
  return model.userFunction.Compile(model.function.expression);
}

namespace {

//! The model's compiled parser, or a fresh one when the expression changed since.
TParser ParserFor(const SampleModel& model) {
  if (model.userFunction.source() == model.function.expression) {
    return model.userFunction.parser();
  }
  UserFunction current;
  current.Compile(model.function.expression);
  return current.parser();
}

}  // namespace

ProfileFunction::ProfileFunction(const SampleModel& model)
    : kind_(model.function.kind),
      builtInIndex_(model.function.builtInIndex),
      parameters_(model.function.parameters),
      stepsLength_(static_cast<long long>(model.edtNumCalcLayers) * model.edtLayerThickness) {
  if (kind_ == FunctionKind::UserDefined) {
    parser_ = ParserFor(model);
    z_ = &parser_.SetVariableValue("z", 0.0);
  }
}

double ProfileFunction::Evaluate(double z, double rhoStart, double rhoEnd, BuildNotes* notes) {
  if (kind_ == FunctionKind::UserDefined) return EvaluateUser(z, notes);
  return EvaluateBuiltInProfile(builtInIndex_, z, rhoStart, rhoEnd, parameters_, stepsLength_);
}

double ProfileFunction::EvaluateUser(double z, BuildNotes* notes) {
  // A failed compilation is an error in the user function, not an empty function.
  if (!parser_.CompileFailed()) {
    try {
      parser_.SetParameters(parameters_);
      *z_ = z;
      return parser_.Value();
    } catch (const std::exception&) {
      // Reported below, like a failed compilation.
    }
  }
  if (notes != nullptr) notes->statusText = kUserFunctionError;
  return 0.0;
}

}  // namespace quorrel
