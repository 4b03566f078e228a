// quorrel-cli params, chisq and fit: the fit parameter list of a model file, its chi-square
// against measured data, and a fit.

#include <algorithm>
#include <string>
#include <vector>

#include <filesystem>

#include "calc/reflectivity_run.h"
#include "cli/commands.h"
#include "cli/fit_inputs.h"
#include "cli/fit_entry_options.h"
#include "cli/fit_output.h"
#include "common/number_conversion.h"
#include "common/number_format.h"
#include "files/file_kind.h"
#include "files/model_file_writer.h"
#include "files/orso_file_writer.h"
#include "fit/parameter_labels.h"
#include "model/layer_stack_builder.h"
#include "shell/fit_project.h"
#include "shell/orso_fit_summary.h"
#include "shell/orso_write_info.h"

namespace quorrel::cli {

namespace {

int RunParams(const std::vector<std::string>& rawArgs, std::ostream& out, std::ostream& err) {
  const Arguments args(rawArgs, FitArgumentRules({}));
  if (args.positional().empty()) throw UsageError("params takes a model file and data files");
  const bool withData = args.positional().size() > 1 ||
                        (IsProjectPath(args.positional()[0]));
  std::vector<FitParameter> entries;
  if (withData) {
    FitInputs inputs = LoadFitInputs(args.positional(), args, err);
    FitSession session;
    session.open(inputs.model.model, std::move(inputs.data), {}, inputs.model.settings.spinFlip);
    entries = session.entries();
  } else {
    const ModelInput input = LoadModelInput(args.positional()[0], err);
    LayerStack stack;
    BuildLayerStack(input.model, SpinState::None, stack);
    const ParameterSet set = CollectParameterSet(input.model, stack);
    entries = FillParameterList(set, VaryFlags(set.count()));
  }
  for (const FitParameter& entry : entries) out << EntryLine(entry) << '\n';
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

//! Each measurement's chi-square, when there are several.
void PrintMeasurementChiSquares(const FitSession& session, std::ostream& out) {
  const std::vector<Measurement> measurements = session.measurements();
  const std::vector<std::optional<double>> chiSquares = session.measurementChiSquares();
  if (measurements.size() < 2 || chiSquares.size() != measurements.size()) return;
  for (std::size_t m = 0; m < measurements.size(); ++m) {
    out << "chi-square [" << measurements[m].label << "]: "
        << (chiSquares[m] ? FormatPattern(*chiSquares[m], "0.0000E+00") : std::string("-"))
        << '\n';
  }
}

int RunChiSquare(const std::vector<std::string>& rawArgs, std::ostream& out, std::ostream& err) {
  const Arguments args(rawArgs, FitArgumentRules({}));
  if (args.positional().empty()) {
    throw UsageError("chisq takes a model file and data files, or a project");
  }
  FitSession session;
  FitInputs inputs = LoadFitInputs(args.positional(), args, err);
  if (inputs.project) ApplyFitSetup(inputs.project->fit, session);
  ApplyFitOptions(args, session);
  session.setRunMode(RunMode::CalculateChiSquare);
  OpenFitSession(session, inputs, err);
  const DoItResult result = session.doIt();
  if (!ReportRefusalOrFailure(result, err)) return kFailure;
  out << "chi-square: " << session.chiSquareText() << '\n';
  PrintMeasurementChiSquares(session, out);
  return kSuccess;
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

int RunFit(const std::vector<std::string>& rawArgs, std::ostream& out, std::ostream& err) {
  ArgumentRules rules = FitArgumentRules({"--tolerance", "--seed", "--method", "-o"});
  AddEntryOptionRules(rules);
  rules.switches.insert("--correlations");
  const Arguments args(rawArgs, rules);
  if (args.positional().empty()) throw UsageError("fit takes a model file and data files");
  FitInputs inputs = LoadFitInputs(args.positional(), args, err);
  if (!args.has("--vary") && !args.has("--scale") && !args.has(kFitBackground) &&
      !inputs.project) {
    throw UsageError("fit needs --vary with the entries to fit");
  }
  const std::optional<std::uint64_t> seed = SeedOption(args);
  FitSession session = seed ? FitSession(*seed) : FitSession();
  if (inputs.project) ApplyFitSetup(inputs.project->fit, session);
  ApplyFitOptions(args, session);
  if (args.has("--method") || !inputs.project) {
    session.setMethod(MethodOption(args).value_or(FitMethod::RandomSearch));
  }
  const FitMethod method = session.settings().method;
  if (args.has("--correlations") && method == FitMethod::RandomSearch) {
    throw UsageError("--correlations needs --method lm or de");
  }
  if (const std::optional<double> tolerance = args.number("--tolerance")) {
    if (!session.setTolerance(*tolerance)) {
      throw UsageError("--tolerance takes a number from 1e-37 to 1");
    }
  }
  ApplyFitBackgroundOption(args, session, inputs);
  const CalcSettings settings = inputs.model.settings;
  const MeasuredData measured = inputs.data.front().measured();
  OpenFitSession(session, inputs, err);
  ApplyEntryOptions(args, session);
  const DoItResult result = session.doIt();
  if (!ReportRefusalOrFailure(result, err)) return kFailure;
  out << "end state: " << EndStateText(result.outcome->state) << '\n'
      << "chi-square: " << session.chiSquareText() << '\n'
      << "evaluations: " << result.outcome->evaluations << '\n';
  PrintMeasurementChiSquares(session, out);
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
    const FitRecord record = RecordOfFit(session, UtcNow());
    if (!session.ok()) throw QuorrelError("the fitted values cannot be accepted");
    if (IsProjectPath(*path)) {
      WriteProjectFile(*path, ProjectOf(inputs, session, record));
    } else if (FileKindOf(*path) == FileKind::Orso) {
      // The fitted curve at the measured points, with the model and the fit's results.
      const std::string& dataPath = args.positional().size() > 1 ? args.positional()[1]
                                                                   : measured.fileName;
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
    "params", "the numbered fit entries of a model file or project",
    "usage: quorrel-cli params MODEL.par|PROJECT.qproj [DATA...] [the options of chisq]\n"
    "Lists every entry that a fit can vary, with its number (for fit --vary) and its label\n"
    "as the fit dialog shows it. With data files (or a project that holds measurements) the\n"
    "model's entries are followed by each measurement's: \"scale [LABEL]\", its background\n"
    "values (\"background y0 [LABEL]\", when it has a background) and its overrides\n"
    "(\"rho_bulk [LABEL]\"); LABEL is the data file's name without folder and extension\n"
    "(with --all-datasets, an ORSO data set's name).\n"
    "Exit status: 0 success, 1 unreadable input, 2 usage error.\n",
    RunParams};

const Command kChiSquareCommand{
    "chisq", "the chi-square of a model against measured data",
    "usage: quorrel-cli chisq MODEL.par|PROJECT.qproj [DATA.dat|DATA.ort ...]\n"
    "                         [--weighting errors|stat|none|log]\n"
    "                         [--resolution] [--background] [--region LO:HI]\n"
    "                         [--override DATASET:N=VALUE] [--label DATASET=LABEL]\n"
    "                         [--channel DATASET=CHANNEL]\n"
    "                         [--all-datasets] [the data options of reflectivity]\n"
    "Calculates the reflectivity at the measured points (with the resolution and background\n"
    "settings of MODEL.par) and prints the chi-square over the fitting region: the sum of\n"
    "the points' terms divided by their number minus one. With several data sets (or a\n"
    "project's measurements) the sums of all of them over all their points minus one, and\n"
    "each data set's own chi-square after it.\n"
    "  --weighting   errors: ((R - Rfit) / dR)^2, stat (default): ((R - Rfit) / R)^2,\n"
    "                none: (R - Rfit)^2, log: (log10 R - log10 Rfit)^2\n"
    "  --resolution  smear every point with its resolution\n"
    "  --background  add every point's background (0 when MODEL.par has none switched on)\n"
    "  --region LO:HI  the measured points from Qz = LO to Qz = HI, both included; an empty\n"
    "                side starts at the first point or selects nothing (default: every point)\n"
    "  --override DATASET:N=VALUE  data set DATASET (its label or number) replaces model\n"
    "                entry N (a number or a name such as rho_bulk) by VALUE: a contrast;\n"
    "                repeatable\n"
    "  --label DATASET=LABEL  name data set DATASET LABEL in its entries; repeatable\n"
    "  --channel DATASET=CHANNEL  data set DATASET (its label, after --label, or number)\n"
    "                was counted in spin channel CHANNEL: R--, R-+, R+- or R++ (also --,\n"
    "                pm ... as ORSO names them), none for no channel; repeatable. A project\n"
    "                keeps it; an ORSO data set of --all-datasets takes it from its\n"
    "                polarization\n"
    QUORREL_DATA_OPTIONS_HELP
    QUORREL_ALL_DATA_SETS_HELP
    "Exit status: 0 success, 1 unreadable input, a failed evaluation (\"one of the\n"
    "parameters ran out of bounds...\") or a region without points, 2 usage error.\n",
    RunChiSquare};

const Command kFitCommand{
    "fit", "fit entries of a model to one or several measurements",
    "usage: quorrel-cli fit MODEL.par|PROJECT.qproj [DATA.dat|DATA.ort ...] --vary LIST\n"
    "                       [--scale] [--fit-background] [--bounds N=LO:HI[,...]]\n"
    "                       [--link N=EXPRESSION ...] [--override DATASET:N=VALUE ...]\n"
    "                       [--weighting errors|stat|none|log]\n"
    "                       [--resolution] [--background] [--region LO:HI]\n"
    "                       [--method search|lm|de] [--tolerance T] [--seed S]\n"
    "                       [--correlations] [-o FITTED.par|FITTED.ort|FITTED.qproj]\n"
    "Varies the entries of LIST (numbers of quorrel-cli params, ranges such as 6-7, or names\n"
    "such as d_1 and \"scale [D2O]\", separated by commas). Several data sets are fitted\n"
    "together to the one model: each has its own scale, background and overrides, and the\n"
    "chi-square is taken over all their points. A project brings its model, measurements and\n"
    "fit setup (ticked entries, bounds, links, method, weighting); the options add to it.\n"
    "  --scale        vary each data set's scale (R_model = scale * R + background)\n"
    "  --fit-background  add each data set's background and vary its y0 (a data set without\n"
    "                 a background gets a constant one, starting at 0)\n"
    "  --bounds N=LO:HI  keep entry N within LO and HI (an empty side is unbounded); the\n"
    "                 search stays inside, Levenberg-Marquardt moves in variables that map\n"
    "                 into the bounds and reports the standard errors of the entries\n"
    "  --link N=EXPRESSION  entry N follows EXPRESSION of other entries, by name (d_1,\n"
    "                 rho_bulk, scale_1 for the first data set's scale) or number (p12), and\n"
    "                 is not varied; repeatable. A bad expression or a cycle is refused.\n"
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
    "  --method de    differential evolution: a global search between the bounds (every\n"
    "                 entry of LIST needs --bounds with both sides), a population of 15\n"
    "                 per entry evaluated in parallel, until its chi-squares lie within 1 %\n"
    "                 of each other (converged) or for 1000 generations (iteration limit);\n"
    "                 then Levenberg-Marquardt from the best point for the standard errors.\n"
    "                 The same --seed gives the same result.\n"
    "Prints the end state, the chi-square, the number of model curves calculated over the\n"
    "region (evaluations, derivatives included; one per data set), each data set's chi-square\n"
    "when there are several, for lm the reduced chi-square with its degrees of freedom, and\n"
    "the fitted entries as the fit dialog lists them with their full values (and standard\n"
    "errors). The options of chisq apply, the data options among them.\n"
    "  --tolerance T  1e-37 to 1, default 1e-06: a search ends when its change is smaller\n"
    "  --seed S       seed of the random picks (default: from the clock)\n"
    "  --correlations with lm or de: the correlation matrix of the fitted entries\n"
    "  -o FITTED.par  write the model with the fitted values, rounded as the model editor\n"
    "                 takes them; nothing is written when the fit fails\n"
    "  -o FITTED.ort  write an ORSO file instead: the fitted model's curve at the first data\n"
    "                 set's points, with the model and the fit's method, weighting,\n"
    "                 chi-square and fitted values (with their errors) in the header\n"
    "  -o FITTED.qproj  write a project: the fitted model, the data sets with their fitted\n"
    "                 scales and backgrounds, the fit setup and the fit's results\n"
    "Exit status: 0 success, 1 unreadable input or a failed fit, 2 usage error.\n",
    RunFit};

}  // namespace quorrel::cli
