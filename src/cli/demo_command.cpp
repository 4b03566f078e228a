// quorrel-cli demo: the default model's reflectivity on the default grid.

#include "cli/commands.h"
#include "common/number_format.h"
#include "model/layer_stack_builder.h"
#include "physics/reflectance.h"

namespace quorrel::cli {

namespace {

int RunDemo(const std::vector<std::string>& args, std::ostream& out, std::ostream&) {
  if (!args.empty()) throw UsageError("demo takes no arguments");
  LayerStack stack;
  BuildLayerStack(SampleModel(), SpinState::None, stack);
  ReflectanceWorkspace workspace;
  constexpr int kPoints = 100;
  constexpr double kMaxQ = 0.25;
  for (int i = 0; i < kPoints; ++i) {
    const double qz = i * (kMaxQ / kPoints);
    const double r = Reflectance(stack, qz, workspace);
    out << FormatFull(qz, '.') << '\t' << FormatFull(r, '.') << '\n';
  }
  return kSuccess;
}

}  // namespace

const Command kDemoCommand{
    "demo", "reflectivity of the default model on the default grid",
    "usage: quorrel-cli demo\n"
    "Prints Qz and R, tab-separated with 17 significant digits, of the default model (one\n"
    "25 A layer on silicon) at Qz = 0, 0.0025, ..., 0.2475, without resolution or background.\n",
    RunDemo};

}  // namespace quorrel::cli
