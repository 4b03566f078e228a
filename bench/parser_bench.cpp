// The expression parser's evaluation and the analytical profile build that uses it.

#include <benchmark/benchmark.h>

#include "model/layer_stack_builder.h"
#include "model/profile_function.h"
#include "parser/parser.h"

namespace quorrel {
namespace {

// Twenty operations: every kind of routine, several levels.
constexpr const char* kTwentyOperations =
    "A*EXP(-Z/B)*COS(2*PI*Z/C+D)+E*Z^2-SQRT(Z)/(1+Z^3)+MAX(Z,A)";

void BM_ParserValue20Operations(benchmark::State& state) {
  TParser parser;
  double& z = parser.SetVariableValue("z", 0.0);
  parser.SetParameters({1e-6, 30, 40, 0.3, 1e-9});
  parser.SetExpression(kTwentyOperations);
  double sum = 0.0;
  for (auto _ : state) {
    z += 0.25;
    sum += parser.Value();
    if (z > 1000.0) z = 0.0;
  }
  benchmark::DoNotOptimize(sum);
  state.counters["operations"] = static_cast<double>(parser.OperationCodes().size());
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ParserValue20Operations);

void BM_ParserCopy(benchmark::State& state) {
  TParser parser;
  parser.SetVariableValue("z", 0.0);
  parser.SetExpression(kTwentyOperations);
  for (auto _ : state) {
    TParser copy = parser;
    benchmark::DoNotOptimize(copy);
  }
}
BENCHMARK(BM_ParserCopy);

void BM_ParserCompile20Operations(benchmark::State& state) {
  TParser parser;
  parser.SetVariableValue("z", 0.0);
  for (auto _ : state) benchmark::DoNotOptimize(parser.SetExpression(kTwentyOperations));
}
BENCHMARK(BM_ParserCompile20Operations);

//! One 25 Å layer with 199 steps of 1 Å appended to it.
SampleModel GradedModel(FunctionKind kind) {
  SampleModel model;
  model.type = SampleType::ProfileFunction;
  model.edtFunctionLayer = 1;
  model.edtNumCalcLayers = 199;
  model.edtLayerThickness = 1;
  model.function.kind = kind;
  model.function.builtInIndex = 3;
  model.function.expression = kTwentyOperations;
  model.function.parameters = {1e-6, 30, 40, 0.3, 1e-9};
  CompileUserFunction(model);
  return model;
}

void BM_Build199StepsUserFunction(benchmark::State& state) {
  const SampleModel model = GradedModel(FunctionKind::UserDefined);
  LayerStack stack;
  for (auto _ : state) {
    BuildLayerStack(model, SpinState::None, stack);
    benchmark::DoNotOptimize(stack.values().data());
  }
}
BENCHMARK(BM_Build199StepsUserFunction)->Unit(benchmark::kMicrosecond);

void BM_Build199StepsBuiltIn(benchmark::State& state) {
  const SampleModel model = GradedModel(FunctionKind::BuiltIn);
  LayerStack stack;
  for (auto _ : state) {
    BuildLayerStack(model, SpinState::None, stack);
    benchmark::DoNotOptimize(stack.values().data());
  }
}
BENCHMARK(BM_Build199StepsBuiltIn)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quorrel
