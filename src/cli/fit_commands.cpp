// quorrel-cli params, chisq and fit: the fit parameter list of a model file, its chi-square
// against measured data, and a fit.

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>
#include <vector>

#include <filesystem>

#include "calc/reflectivity_run.h"
#include "cli/commands.h"
#include "cli/fit_inputs.h"
#include "cli/fit_output.h"
#include "common/number_conversion.h"
#include "common/number_format.h"
#include "common/text_case.h"
#include "files/model_file_writer.h"
#include "files/orso_file_writer.h"
#include "fit/parameter_labels.h"
#include "model/layer_stack_builder.h"
#include "shell/orso_fit_summary.h"
#include "shell/orso_write_info.h"

namespace quorrel::cli {

namespace {

int RunParams(const std::vector<std::string>& rawArgs, std::ostream& out, std::ostream& err) {
  const Arguments args(rawArgs, {});
  if (args.positional().size() != 1) throw UsageError("params takes one model file");
  const ModelInput input = LoadModelInput(args.positional()[0], err);
  LayerStack stack;
  BuildLayerStack(input.model, SpinState::None, stack);
  const ParameterSet set = CollectParameterSet(input.model, stack);
  for (const FitParameter& entry : FillParameterList(set, VaryFlags(set.count()))) {
    out << EntryLine(entry) << '\n';
  }
  return kSuccess;
}

//! Prints a refusal or a failure; false when there is no outcome to report.
bool ReportRefusalOrFailure(const DoItResult& result, std::ostream& err) {
  if (!result.outcome) {
    err << "quorrel-cli: " << result.refusal << '\n';
    return false;
  }
  if (result.outcome->state == FitEndState::Failed) {
    err << "quorrel-cli: " << result.outcome->message << '\n';
    return false;
  }
  return true;
}

int RunChiSquare(const std::vector<std::string>& rawArgs, std::ostream& out, std::ostream& err) {
  const Arguments args(rawArgs, FitArgumentRules({}));
  if (args.positional().size() != 2) throw UsageError("chisq takes a model file and a data file");
  FitSession session;
  ApplyFitOptions(args, session);
  session.setRunMode(RunMode::CalculateChiSquare);
  FitInputs inputs = LoadFitInputs(args.positional()[0], args.positional()[1], args, err);
  session.open(inputs.model.model, std::move(inputs.data));
  const DoItResult result = session.doIt();
  if (!ReportRefusalOrFailure(result, err)) return kFailure;
  out << "chi-square: " << session.chiSquareText() << '\n';
  return kSuccess;
}

//! "3,6-7": entries 3, 6 and 7.
std::vector<int> VaryList(const std::string& text) {
  std::vector<int> entries;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    const std::string item = text.substr(start, comma - start);
    const std::size_t dash = item.find('-', 1);
    const std::optional<int> first = ReadInteger(item.substr(0, dash));
    const std::optional<int> last =
        dash == std::string::npos ? first : ReadInteger(item.substr(dash + 1));
    if (!first || !last || *last < *first) {
      throw UsageError("--vary takes entry numbers such as 3,6-7, not '" + text + "'");
    }
    for (int entry = *first; entry <= *last; ++entry) entries.push_back(entry);
    start = comma + 1;
  }
  return entries;
}

const char* EndStateText(FitEndState state) {
  switch (state) {
    case FitEndState::Calculated:
      return "calculated";
    case FitEndState::Converged:
      return "converged";
    case FitEndState::BelowTolerance:
      return "below tolerance";
    case FitEndState::Stopped:
      return "stopped";
    case FitEndState::IterationLimit:
      return "iteration limit";
    case FitEndState::Failed:
      break;
  }
  return "failed";
}

std::uint64_t SeedOption(const Arguments& args) {
  const std::string text = *args.value("--seed");
  std::uint64_t seed = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seed);
  if (error != std::errc() || end != text.data() + text.size()) {
    throw UsageError("--seed takes a whole number from 0, not '" + text + "'");
  }
  return seed;
}

FitMethod MethodOption(const Arguments& args) {
  const std::optional<std::string> method = args.value("--method");
  if (!method || *method == "search") return FitMethod::RandomSearch;
  if (*method == "lm") return FitMethod::LevenbergMarquardt;
  throw UsageError("--method takes search or lm, not '" + *method + "'");
}

int RunFit(const std::vector<std::string>& rawArgs, std::ostream& out, std::ostream& err) {
  ArgumentRules rules = FitArgumentRules({"--vary", "--tolerance", "--seed", "--method", "-o"});
  rules.switches.insert("--correlations");
  const Arguments args(rawArgs, rules);
  if (args.positional().size() != 2) throw UsageError("fit takes a model file and a data file");
  if (!args.has("--vary")) throw UsageError("fit needs --vary with the entries to fit");
  const std::vector<int> varied = VaryList(*args.value("--vary"));
  const FitMethod method = MethodOption(args);
  if (args.has("--correlations") && method != FitMethod::LevenbergMarquardt) {
    throw UsageError("--correlations needs --method lm");
  }
  FitSession session = args.has("--seed") ? FitSession(SeedOption(args)) : FitSession();
  ApplyFitOptions(args, session);
  session.setMethod(method);
  if (const std::optional<double> tolerance = args.number("--tolerance")) {
    if (!session.setTolerance(*tolerance)) {
      throw UsageError("--tolerance takes a number from 1e-37 to 1");
    }
  }
  FitInputs inputs = LoadFitInputs(args.positional()[0], args.positional()[1], args, err);
  const CalcSettings settings = inputs.model.settings;
  const MeasuredData measured = inputs.data.measured();
  session.open(inputs.model.model, std::move(inputs.data));
  const int listed = static_cast<int>(session.entries().size());
  for (const int entry : varied) {
    if (entry < 1 || entry > listed) {
      throw UsageError("the model has no entry " + std::to_string(entry) + " (1 to " +
                       std::to_string(listed) + "; see quorrel-cli params)");
    }
    if (!session.entries()[static_cast<std::size_t>(entry - 1)].vary) session.toggleVary(entry - 1);
  }
  const DoItResult result = session.doIt();
  if (!ReportRefusalOrFailure(result, err)) return kFailure;
  out << "end state: " << EndStateText(result.outcome->state) << '\n'
      << "chi-square: " << session.chiSquareText() << '\n'
      << "evaluations: " << result.outcome->evaluations << '\n';
  const ParameterSet fitted = session.parameters();
  const std::optional<FitUncertainties> uncertainties = session.uncertainties();
  if (uncertainties) out << ReducedChiSquareLine(*uncertainties) << '\n';
  for (const FitParameter& entry : session.entries()) {
    if (entry.vary) {
      out << FittedEntryLine(entry, fitted[entry.index], uncertainties ? &*uncertainties : nullptr)
          << '\n';
    }
  }
  if (uncertainties && args.has("--correlations")) out << CorrelationTable(*uncertainties);
  if (uncertainties) {
    const std::string warning = UndeterminedWarning(fitted, *uncertainties);
    if (!warning.empty()) err << "quorrel-cli: warning: " << warning << '\n';
  }
  if (const std::optional<std::string> path = args.value("-o")) {
    if (!session.ok()) throw QuorrelError("the fitted values cannot be accepted");
    if (EndsWithIgnoringCase(*path, ".ort")) {
      // The fitted curve at the measured points, with the model and the fit's results.
      const std::string& dataPath = args.positional()[1];
      WriteOrsoFile(*path, session.model(),
                    RunReflectivityCalculation(session.model(), settings, measured),
                    settings.cbMagnet, settings.cbTransmission,
                    CurrentOrsoWriteInfo(QUORREL_VERSION,
                                         std::filesystem::path(args.positional()[0]).filename().string(),
                                         dataPath, Radiation::Neutrons),
                    FitSessionSummary(session));
    } else {
      WriteModelFile(*path, session.model(), settings);
    }
  }
  return kSuccess;
}

}  // namespace

const Command kParamsCommand{
    "params", "the numbered fit parameters of a model file",
    "usage: quorrel-cli params MODEL.par\n"
    "Lists every entry that a fit can vary, with its number (for fit --vary) and its label\n"
    "as the fit dialog shows it.\n"
    "Exit status: 0 success, 1 unreadable input, 2 usage error.\n",
    RunParams};

const Command kChiSquareCommand{
    "chisq", "the chi-square of a model file against measured data",
    "usage: quorrel-cli chisq MODEL.par DATA.dat|DATA.ort [--weighting errors|stat|none|log]\n"
    "                         [--resolution] [--background] [--region LO:HI]\n"
    "                         [the data options of reflectivity]\n"
    "Calculates the reflectivity at the measured points (with the resolution and background\n"
    "settings of MODEL.par) and prints the chi-square over the fitting region: the sum of\n"
    "the points' terms divided by their number minus one.\n"
    "  --weighting   errors: ((R - Rfit) / dR)^2, stat (default): ((R - Rfit) / R)^2,\n"
    "                none: (R - Rfit)^2, log: (log10 R - log10 Rfit)^2\n"
    "  --resolution  smear every point with its resolution\n"
    "  --background  add every point's background (0 when MODEL.par has none switched on)\n"
    "  --region LO:HI  the measured points from Qz = LO to Qz = HI, both included; an empty\n"
    "                side starts at the first point or selects nothing (default: every point)\n"
    QUORREL_DATA_OPTIONS_HELP
    "Exit status: 0 success, 1 unreadable input, a failed evaluation (\"one of the\n"
    "parameters ran out of bounds...\") or a region without points, 2 usage error.\n",
    RunChiSquare};

const Command kFitCommand{
    "fit", "fit entries of a model file to measured data",
    "usage: quorrel-cli fit MODEL.par DATA.dat|DATA.ort --vary LIST\n"
    "                       [--weighting errors|stat|none|log]\n"
    "                       [--resolution] [--background] [--region LO:HI]\n"
    "                       [--method search|lm] [--tolerance T] [--seed S]\n"
    "                       [--correlations] [-o FITTED.par|FITTED.ort]\n"
    "Varies the entries of LIST (numbers of quorrel-cli params, such as 3,6-7).\n"
    "  --method search (default): a randomised search, one entry at a time, until a cycle of\n"
    "                 searches brings no improvement (converged) or the chi-square falls\n"
    "                 below T (below tolerance).\n"
    "  --method lm    Levenberg-Marquardt: every entry at once along finite-difference\n"
    "                 derivatives, until the values or the chi-square no longer change\n"
    "                 (converged) or for at most 200 iterations (iteration limit); after\n"
    "                 converging, each entry's standard error, scaled by the reduced\n"
    "                 chi-square unless the weighting is by the given errors, and a warning\n"
    "                 on standard error for entries that the data do not determine. The\n"
    "                 region needs more points than there are entries to vary.\n"
    "Prints the end state, the chi-square, the number of model curves calculated over the\n"
    "region (evaluations, derivatives included), for lm the reduced chi-square with its\n"
    "degrees of freedom, and the fitted entries as the fit dialog lists them with their full\n"
    "values (and standard errors). The options of chisq apply, the data options among them.\n"
    "  --tolerance T  1e-37 to 1, default 1e-06: a search ends when its change is smaller\n"
    "  --seed S       seed of the random picks (default: from the clock)\n"
    "  --correlations with lm: the correlation matrix of the fitted entries\n"
    "  -o FITTED.par  write the model with the fitted values, rounded as the model editor\n"
    "                 takes them; nothing is written when the fit fails\n"
    "  -o FITTED.ort  write an ORSO file instead: the fitted model's curve at the measured\n"
    "                 points, with the model and the fit's method, weighting, chi-square and\n"
    "                 fitted values (with their errors) in the header\n"
    "Exit status: 0 success, 1 unreadable input or a failed fit, 2 usage error.\n",
    RunFit};

}  // namespace quorrel::cli
