#pragma once
// The choices of the function dialog: the kind, the built-in function and the confirmation
// that names the parameters.

#include "model/function_settings.h"

namespace quorrel {

//! Chooses built-in function `index` (0 .. 4): its parameter count becomes the number of
//! parameters. An index outside the catalogue is ignored.
void ChooseBuiltInFunction(FunctionSettings& function, int index);

//! "&OK" of the dialog: a user-defined function names its parameters "A" .. "E"; a built-in
//! one gives the first of them its catalogue names and leaves the others as they were.
void ConfirmFunction(FunctionSettings& function);

}  // namespace quorrel
