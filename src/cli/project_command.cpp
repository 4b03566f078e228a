// quorrel-cli project: a project made from a model, measurements and a fit setup, without
// fitting, so that scripts can prepare what the window and quorrel-cli fit then fit.

#include "cli/commands.h"
#include "cli/fit_entry_options.h"
#include "cli/fit_inputs.h"
#include "shell/fit_project.h"

namespace quorrel::cli {

namespace {

int RunProject(const std::vector<std::string>& rawArgs, std::ostream& out, std::ostream& err) {
  ArgumentRules rules = FitArgumentRules({"--method", "--tolerance", "-o"});
  AddEntryOptionRules(rules);
  const Arguments args(rawArgs, rules);
  const std::optional<std::string> path = args.value("-o");
  if (!path || !IsProjectPath(*path)) throw UsageError("project needs -o PROJECT.qproj");
  FitInputs inputs = LoadFitInputs(args.positional(), args, err);
  FitSession session;
  if (inputs.project) ApplyFitSetup(inputs.project->fit, session);
  ApplyFitOptions(args, session);
  if (const std::optional<FitMethod> method = MethodOption(args)) session.setMethod(*method);
  if (const std::optional<double> tolerance = args.number("--tolerance")) {
    if (!session.setTolerance(*tolerance)) throw UsageError("--tolerance takes 1e-37 to 1");
  }
  ApplyFitBackgroundOption(args, session, inputs);
  OpenFitSession(session, inputs, err);
  ApplyEntryOptions(args, session);
  WriteProjectFile(*path, ProjectOf(inputs, session, std::nullopt));
  out << *path << ": " << session.measurements().size() << " measurements, "
      << session.setup().size() << " entries set up\n";
  return kSuccess;
}

}  // namespace

const Command kProjectCommand{
    "project", "a project of a model, measurements and a fit setup",
    "usage: quorrel-cli project MODEL.par|PROJECT.qproj [DATA ...] -o PROJECT.qproj\n"
    "                           [the options of fit but --seed and --correlations]\n"
    "Writes a project that holds the model, the data sets (their points embedded, their\n"
    "files named relative to the project) and the fit setup that the options give: the\n"
    "ticked entries (--vary, --scale, --fit-background), --bounds, --link, --override,\n"
    "--weighting, --resolution, --background, --method and --tolerance. Nothing is fitted;\n"
    "quorrel-cli fit PROJECT.qproj and the program's fit dialog take the setup from it.\n"
    "Exit status: 0 success, 1 unreadable input, 2 usage error.\n",
    RunProject};

}  // namespace quorrel::cli
