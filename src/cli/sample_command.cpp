// quorrel-cli sample: the posterior of the varied entries of a fit, by the ensemble sampler.

#include <charconv>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/fit_entry_options.h"
#include "cli/fit_inputs.h"
#include "cli/fit_output.h"
#include "common/number_format.h"
#include "files/chain_file.h"
#include "fit/search_errors.h"
#include "shell/fit_project.h"
#include "shell/sampling_session.h"

namespace quorrel::cli {

namespace {

//! A whole-number option of at least `least`, or nothing without it.
std::optional<int> WholeOption(const Arguments& args, const std::string& option, int least) {
  const std::optional<std::string> text = args.value(option);
  if (!text) return std::nullopt;
  int value = 0;
  const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
  if (error != std::errc() || end != text->data() + text->size() || value < least) {
    throw UsageError(option + " takes a whole number from " + std::to_string(least) + ", not '" +
                     *text + "'");
  }
  return value;
}

SamplingSettings SettingsOf(const Arguments& args) {
  SamplingSettings settings;
  settings.walkers = WholeOption(args, "--walkers", 2);
  settings.burnInSteps = WholeOption(args, "--burn", 0).value_or(settings.burnInSteps);
  settings.productionSteps = WholeOption(args, "--steps", 1).value_or(settings.productionSteps);
  settings.thinning = WholeOption(args, "--thin", 1).value_or(settings.thinning);
  settings.seed = SeedOption(args).value_or(0);
  return settings;
}

void PrintSummary(const SampledPosterior& posterior, std::ostream& out) {
  const std::vector<int>& varied = posterior.problem.varied;
  out << "walkers: " << posterior.walkers << ", burn-in steps: " << posterior.result.burnInStepsRun
      << ", steps: " << posterior.result.productionStepsRun
      << ", thinning: " << posterior.settings.thinning
      << (posterior.result.state == SamplingEndState::Stopped ? " (stopped)" : "") << '\n';
  out << "entry  name  median -err +err  (95 % interval)\n";
  for (std::size_t j = 0; j < varied.size(); ++j) {
    const ValueSummary& v = posterior.statistics.values[j];
    out << RightAligned(std::to_string(varied[j]), 5) << "  " << posterior.problem.names[j]
        << "  " << FormatGeneral(v.median) << " -" << FormatGeneral(v.median - v.lower68) << " +"
        << FormatGeneral(v.upper68 - v.median) << "  (" << FormatGeneral(v.lower95) << " .. "
        << FormatGeneral(v.upper95) << ")  " << MedianText(v, '.') << '\n';
  }
  out << "acceptance: " << FormatPattern(posterior.result.acceptance, "0.000") << '\n';
  out << "autocorrelation times (steps):";
  for (std::size_t j = 0; j < varied.size(); ++j) {
    out << ' ' << posterior.problem.names[j] << ' '
        << FormatPattern(posterior.statistics.values[j].autocorrelationTime, "0.0");
  }
  out << "\neffective samples:";
  for (std::size_t j = 0; j < varied.size(); ++j) {
    out << ' ' << posterior.problem.names[j] << ' '
        << FormatPattern(posterior.statistics.values[j].effectiveSamples, "0");
  }
  out << '\n' << CorrelationTable(varied, posterior.statistics.correlations);
  out << "evaluations: " << posterior.result.evaluations << '\n'
      << "wall time: " << FormatPattern(posterior.seconds, "0.00") << " s\n";
}

int RunSample(const std::vector<std::string>& rawArgs, std::ostream& out, std::ostream& err) {
  ArgumentRules rules = FitArgumentRules(
      {"--walkers", "--steps", "--burn", "--thin", "--seed", "--chain", "-o"});
  AddEntryOptionRules(rules);
  const Arguments args(rawArgs, rules);
  if (args.positional().empty()) throw UsageError("sample takes a model file and data files");
  const SamplingSettings settings = SettingsOf(args);
  FitInputs inputs = LoadFitInputs(args.positional(), args, err);
  FitSession session;
  if (inputs.project) ApplyFitSetup(inputs.project->fit, session);
  ApplyFitOptions(args, session);
  ApplyFitBackgroundOption(args, session, inputs);
  OpenFitSession(session, inputs, err);
  ApplyEntryOptions(args, session);
  SamplingSession sampling;
  SampledPosterior posterior;
  try {
    posterior = sampling.run(session.problem(), settings);
  } catch (const SearchSetupError& error) {
    err << "quorrel-cli: " << error.what() << '\n';
    return kFailure;
  }
  PrintSummary(posterior, out);
  const std::string warning = ChainLengthWarning(posterior);
  if (!warning.empty()) err << "quorrel-cli: warning: " << warning << '\n';
  if (const std::optional<std::string> chain = args.value("--chain")) {
    const SampleChain& c = posterior.result.chain;
    WriteChainFile(*chain, {"Quorrel " QUORREL_VERSION, posterior.problem.names, c.walkers,
                            c.steps, c.thinning, c.samples, c.logProbabilities});
  }
  if (const std::optional<std::string> path = args.value("-o")) {
    if (!IsProjectPath(*path)) throw UsageError("-o takes a project, PROJECT.qproj");
    Project project = ProjectOf(inputs, session, std::nullopt);
    project.sampling = RecordOfSampling(posterior, UtcNow());
    WriteProjectFile(*path, project);
  }
  return kSuccess;
}

}  // namespace

const Command kSampleCommand{
    "sample", "the posterior of fit entries, by an ensemble sampler",
    "usage: quorrel-cli sample MODEL.par|PROJECT.qproj [DATA.dat|DATA.ort ...] --vary LIST\n"
    "                          --bounds N=LO:HI[,...] [--walkers W] [--steps S] [--burn B]\n"
    "                          [--thin T] [--seed S] [--chain CHAIN.txt|CHAIN.npy]\n"
    "                          [-o PROJECT.qproj] [the entry and data options of fit]\n"
    "Samples the posterior probability of the entries of LIST (as for fit) with the\n"
    "affine-invariant ensemble sampler: the log-likelihood is -chi-square / 2 with every\n"
    "point weighted by its measured error (a data set with a point without one is refused),\n"
    "the prior is uniform between the bounds, which every entry of LIST needs on both sides.\n"
    "The walkers start in a small ball around the model's values (a project's last fit).\n"
    "  --walkers W    an even number of at least twice the entries (default max(32, 8 x entries))\n"
    "  --burn B       steps run and discarded first (default 400)\n"
    "  --steps S      steps kept after them (default 1000)\n"
    "  --thin T       keep every T-th of those steps (default 1)\n"
    "  --seed S       seed of the sampler (default 0); the same seed gives the same chain\n"
    "  --chain FILE   write the chain: FILE.npy as NumPy's .npy, any other name as text with\n"
    "                 a header naming the columns (see the help page on the posterior)\n"
    "  -o PROJECT.qproj  write a project that keeps the sampling's summary\n"
    "Prints, for every entry, its number, name, median and the distances to the 15.87 % and\n"
    "84.13 % percentiles (-err +err), the 95 % interval and the rounded \"median +err -err\";\n"
    "then the acceptance fraction, the integrated autocorrelation time of every entry in\n"
    "steps, the effective samples, the correlations, the curves calculated (evaluations) and\n"
    "the wall time. A chain shorter than 50 autocorrelation times is warned about.\n"
    "Exit status: 0 success, 1 unreadable input or a refused sampling, 2 usage error.\n",
    RunSample};

}  // namespace quorrel::cli
