#include "model/function_choice.h"

#include "parser/builtin_profiles.h"

namespace quorrel {

void ChooseBuiltInFunction(FunctionSettings& function, int index) {
  const auto catalogue = BuiltInProfiles();
  if (index < 0 || index >= static_cast<int>(catalogue.size())) return;
  function.builtInIndex = index;
  function.numParameters = catalogue[static_cast<std::size_t>(index)].parameterCount;
}

void ConfirmFunction(FunctionSettings& function) {
  if (function.kind == FunctionKind::UserDefined) {
    function.parameterNames = {"A", "B", "C", "D", "E"};
    return;
  }
  const auto catalogue = BuiltInProfiles();
  if (function.builtInIndex < 0 || function.builtInIndex >= static_cast<int>(catalogue.size())) {
    return;
  }
  const BuiltInProfile& chosen = catalogue[static_cast<std::size_t>(function.builtInIndex)];
  for (int i = 0; i < chosen.parameterCount; ++i) {
    function.parameterNames[static_cast<std::size_t>(i)] =
        chosen.parameterNames[static_cast<std::size_t>(i)];
  }
}

}  // namespace quorrel
