// The road of a data set of 100 000 points through the core: reading it as an ORSO file, the
// reflectivity run at its points, a chi-square evaluation, the reflectivity file and the
// clipboard text. The model is the multilayer example (10 Ni/Ti periods under NiO).

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "calc/reflectivity_run.h"
#include "files/curve_files.h"
#include "files/model_file_reader.h"
#include "files/orso_file.h"
#include "fit/chi_square.h"
#include "model/layer_stack_builder.h"
#include "shell/clipboard_text.h"

namespace quorrel {
namespace {

constexpr int kPoints = 100000;

class Ignore : public LoadQuestions {
 public:
  LoadAnswer abortOrIgnore(const std::string&) override { return LoadAnswer::Ignore; }
};

//! An ORSO file of kPoints points from 0.005 to 0.3 Å⁻¹ with 5 % resolution, written once.
const std::filesystem::path& LargeFile() {
  static const std::filesystem::path path = [] {
    const auto file = std::filesystem::temp_directory_path() / "quorrel_bench_100000.ort";
    std::ofstream out(file);
    out << "# # ORSO reflectivity data file | 1.0 standard | YAML encoding | x\n"
           "# columns:\n# - {name: Qz, unit: 1/angstrom}\n# - {name: R}\n# - {error_of: R}\n"
           "# - {error_of: Qz, value_is: sigma}\n";
    for (int i = 0; i < kPoints; ++i) {
      const double q = 0.005 + 0.295 * i / (kPoints - 1);
      out << q << ' ' << 1e-4 / (q * q * q * q) * 1e-4 << ' ' << 1e-6 << ' ' << 0.0212 * q << '\n';
    }
    return file;
  }();
  return path;
}

MeasuredData LargeData() {
  MeasuredData data;
  Ignore questions;
  std::vector<std::string> notes;
  LoadOrsoData(LargeFile(), 0, data, questions, notes);
  return data;
}

struct Model {
  SampleModel model;
  CalcSettings settings;
};

Model Multilayer() {
  Model m;
  EditorState editor;
  ReadModelFile(QUORREL_EXAMPLES "/multilayer.par", m.model, m.settings, editor);
  m.settings.cbUserRange = false;
  m.settings.resolutionFromData = true;
  return m;
}

void BM_LoadOrso100000(benchmark::State& state) {
  LargeFile();
  for (auto _ : state) benchmark::DoNotOptimize(LargeData().qz.data());
}
BENCHMARK(BM_LoadOrso100000)->Unit(benchmark::kMillisecond);

void BM_Run100000(benchmark::State& state) {
  const MeasuredData data = LargeData();
  Model m = Multilayer();
  m.settings.smearing = static_cast<SmearingKernel>(state.range(0));
  for (auto _ : state) {
    benchmark::DoNotOptimize(RunReflectivityCalculation(m.model, m.settings, data).plain.y.data());
  }
  state.SetLabel(state.range(0) ? "accurate" : "nine-point");
}
BENCHMARK(BM_Run100000)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ChiSquare100000(benchmark::State& state) {
  const MeasuredData data = LargeData();
  const Model m = Multilayer();
  const ReflectivityResult run = RunReflectivityCalculation(m.model, m.settings, data);
  LayerStack stack;
  BuildLayerStack(m.model, SpinState::None, stack);
  ChiSquareEvaluator evaluator(data, run.pointResolution, {}, RegionPoints(data),
                               {Weighting::Statistical, true, false});
  for (auto _ : state) benchmark::DoNotOptimize(evaluator.evaluate(stack));
}
BENCHMARK(BM_ChiSquare100000)->Unit(benchmark::kMillisecond);

void BM_Files100000(benchmark::State& state) {
  const MeasuredData data = LargeData();
  const Model m = Multilayer();
  const ReflectivityResult run = RunReflectivityCalculation(m.model, m.settings, data);
  const auto path = std::filesystem::temp_directory_path() / "quorrel_bench_100000_curve.dat";
  for (auto _ : state) {
    if (state.range(0) == 0) {
      WriteReflectivityFile(path, run, false, false);
    } else {
      benchmark::DoNotOptimize(ReflectivityClipboardText(run.plain, nullptr, nullptr, nullptr));
    }
  }
  state.SetLabel(state.range(0) == 0 ? "reflectivity file" : "clipboard text");
}
BENCHMARK(BM_Files100000)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorrel
