// quorrel-cli profile: the density profile of a model file, as a profile file.

#include "calc/profile_run.h"
#include "cli/arguments.h"
#include "cli/command_inputs.h"
#include "cli/commands.h"
#include "cli/curve_output.h"

namespace quorrel::cli {

namespace {

const ArgumentRules kRules{
    .valueOptions = {"--zmin", "--zmax", "--points", kOutputOption, kPrecisionOption},
    .switches = {},
};

int RunProfile(const std::vector<std::string>& rawArgs, std::ostream& out, std::ostream& err) {
  const Arguments args(rawArgs, kRules);
  if (args.positional().size() != 1) throw UsageError("profile takes one model file");
  if (args.has("--zmin") != args.has("--zmax")) {
    throw UsageError("--zmin and --zmax go together");
  }
  const Precision precision = PrecisionOption(args);
  const std::optional<int> zMin = args.integer("--zmin");
  const std::optional<int> zMax = args.integer("--zmax");
  const std::optional<int> points = args.integer("--points");

  ModelInput input = LoadModelInput(args.positional()[0], err);
  CalcSettings& settings = input.settings;
  if (zMin && zMax) {
    settings.cbUserZ = true;
    settings.edtMinZ = *zMin;
    settings.edtMaxZ = *zMax;
  }
  settings.edtNumPointsZ = points.value_or(settings.edtNumPointsZ);

  BuildNotes notes;
  ProfileCurve profile;
  try {
    profile = RunProfileCalculation(input.model, settings, {}, &notes);
  } catch (const QuorrelError&) {
    RethrowAtModelFile(args.positional()[0], input.model);
  }
  if (!notes.statusText.empty()) err << "quorrel-cli: " << notes.statusText << '\n';
  DeliverOutput(ProfileText(profile, precision), args, out);
  return kSuccess;
}

}  // namespace

const Command kProfileCommand{
    "profile", "the density profile of a model file",
    "usage: quorrel-cli profile MODEL.par [--zmin Z --zmax Z] [--points N]\n"
    "                           [--precision file|full] [-o FILE]\n"
    "Computes the scattering length density profile rho(z) of the model and writes it in the\n"
    "profile file format (z, rho per line) to FILE, or to standard output without -o.\n"
    "  --zmin, --zmax    the depth range in whole A (default: the automatic range, a quarter\n"
    "                    of the total thickness beyond either side)\n"
    "  --points N        steps across the range (default 100, so 101 points)\n"
    "  --precision full  write every number with 17 significant digits in the same columns\n"
    "                    (default: file, the file format's \"0.000e-00\")\n"
    "  -o FILE           write to FILE; nothing is written there when the run fails\n"
    "Exit status: 0 success, 1 unreadable input or failed calculation, 2 usage error.\n",
    RunProfile};

}  // namespace quorrel::cli
