// The expression parser's evaluation and the analytical profile build that uses it.

#include <benchmark/benchmark.h>

#include "model/layer_stack_builder.h"
#include "model/profile_function.h"
#include "parser/parser.h"
#include "parser/parser_errors.h"

#include <string>

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

//! A difference of `range(0)` ones: refused for its depth, after the recogniser has taken
//! it apart.
void BM_ParserRefuseLongDifference(benchmark::State& state) {
  std::string chain = "1";
  for (int i = 1; i < state.range(0); ++i) chain += "-1";
  TParser parser;
  for (auto _ : state) {
    try {
      parser.SetExpression(chain);
    } catch (const EMathParserError&) {
      // expected: too many nestings
    }
  }
  state.counters["characters"] = static_cast<double>(chain.size());
}
BENCHMARK(BM_ParserRefuseLongDifference)->Arg(1300)->Arg(4000)->Unit(benchmark::kMillisecond);

//! An expression of about 10 000 characters within the limits of levels and operations:
//! 32 numbers of 300 digits, summed in a balanced tree.
void BM_ParserCompileTenThousandCharacters(benchmark::State& state) {
  std::string sum = "1." + std::string(298, '7');
  for (int i = 0; i < 5; ++i) sum = "(" + sum + ")+(" + sum + ")";
  TParser parser;
  for (auto _ : state) benchmark::DoNotOptimize(parser.SetExpression(sum));
  state.counters["characters"] = static_cast<double>(sum.size());
}
BENCHMARK(BM_ParserCompileTenThousandCharacters)->Unit(benchmark::kMillisecond);

//! 32 whole powers with an exponent of 2^20, summed in balanced groups.
void BM_ParserValueLargeWholePowers(benchmark::State& state) {
  std::string sum = "1.0000001^1048576";
  for (int i = 0; i < 5; ++i) sum = "(" + sum + ")+(" + sum + ")";
  TParser parser;
  parser.SetExpression(sum);
  for (auto _ : state) benchmark::DoNotOptimize(parser.Value());
}
BENCHMARK(BM_ParserValueLargeWholePowers)->Unit(benchmark::kMicrosecond);

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
