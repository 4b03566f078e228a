#pragma once
// The model's profile function as the fit evaluates it: with the trial's parameters A..E.

#include <functional>

#include "fit/parameter_set.h"
#include "model/sample_model.h"

namespace quorrel {

//! Evaluates the model's function choice (built-in or its compiled user function) with the
//! parameters passed at each call, as a stack build evaluates it with the model's fields. A
//! failing user function gives 0 for that step, as in a build. Each evaluator keeps its own
//! copy of the compiled function: make one per run, and do not share it between threads.
//! `userFunctionFailed` is told each time a step's user function fails.
ProfileEvaluator MakeProfileEvaluator(const SampleModel& model,
                                      std::function<void()> userFunctionFailed = {});

}  // namespace quorrel
