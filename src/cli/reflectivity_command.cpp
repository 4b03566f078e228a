// quorrel-cli reflectivity: the reflectivity run of a model file, as a reflectivity file.

#include "calc/reflectivity_run.h"
#include "cli/arguments.h"
#include "cli/command_inputs.h"
#include "cli/commands.h"
#include "cli/curve_output.h"
#include "cli/spin_flip_output.h"
#include "files/file_kind.h"
#include "files/orso_file_writer.h"
#include "model/settings_rules.h"
#include "shell/orso_write_info.h"

namespace quorrel::cli {

namespace {

//! --kernel fast (the default) or reference, the scalar kernel kept for comparison.
KernelKind KernelOption(const Arguments& args) {
  const std::string kernel = args.value("--kernel").value_or("fast");
  if (kernel == "fast") return KernelKind::Fast;
  if (kernel == "reference") return KernelKind::Reference;
  throw UsageError("--kernel takes fast or reference, not '" + kernel + "'");
}

ArgumentRules Rules() {
  ArgumentRules rules{
      .valueOptions = {"--data", "--qmin", "--qmax", "--points", "--wavelength", "--thickness",
                       "--kernel", "--aguide", "--field", kOutputOption, kPrecisionOption},
      .switches = {"--magnetic", "--spin-flip", "--transmission", "--strict", "--xray",
                   kResolutionFromData},
  };
  rules.valueOptions.merge(DataValueOptions());
  return rules;
}

//! The options that change the settings, read before any file so that a usage error comes
//! first.
struct ReflectivityOptions {
  std::optional<double> qMin, qMax, wavelength, thickness;
  std::optional<int> points;
  bool magnetic = false;
  bool transmission = false;

  explicit ReflectivityOptions(const Arguments& args)
      : qMin(args.number("--qmin")),
        qMax(args.number("--qmax")),
        wavelength(args.number("--wavelength")),
        thickness(args.number("--thickness")),
        points(args.integer("--points")),
        magnetic(args.has("--magnetic")),
        transmission(args.has("--transmission")) {}

  //! After --data the measured points, unless a Q range is given; then the transmission.
  void apply(const MeasuredData& data, CalcSettings& settings) const {
    if (data.loaded()) SetUserQRange(settings, false, data);
    if (qMin || qMax || points) {
      SetUserQRange(settings, true, data);
      settings.edtminQ = qMin.value_or(settings.edtminQ);
      settings.edtMaxQ = qMax.value_or(settings.edtMaxQ);
      settings.edtNumPoints = points.value_or(settings.edtNumPoints);
    }
    settings.cbMagnet = magnetic;
    settings.cbTransmission = transmission;
    settings.edtWavelength = wavelength.value_or(settings.edtWavelength);
    settings.edtSampleThickness = thickness.value_or(settings.edtSampleThickness);
  }
};

//! The measured data of --data, or none.
MeasuredData LoadRunData(const Arguments& args, const DataOptions& dataOptions, std::ostream& err) {
  const std::optional<std::string> dataPath = args.value("--data");
  if (!dataPath) return MeasuredData();
  const DataLineRule rule = args.has("--strict") ? DataLineRule::Fatal
                                                 : DataLineRule::ReportAndSkip;
  return LoadDataInput(*dataPath, dataOptions, rule, err);
}

//! The options of --spin-flip: refused without it, and the options it does not combine with
//! refused with it.
void CheckSpinFlipOptions(const Arguments& args) {
  const bool spinFlip = args.has("--spin-flip");
  for (const char* option : {"--aguide", "--field"}) {
    if (args.has(option) && !spinFlip) throw UsageError(std::string(option) + " needs --spin-flip");
  }
  for (const char* option : {"--magnetic", "--transmission"}) {
    if (args.has(option) && spinFlip) {
      throw UsageError(std::string(option) + " does not go with --spin-flip");
    }
  }
  if (!spinFlip && FileKindOf(args.positional()[0]) == FileKind::LayerTable) {
    throw UsageError("a layer table (.layers) is calculated with --spin-flip");
  }
}

//! The four spin channels of the model file or layer table.
void RunSpinFlip(const Arguments& args, const ReflectivityOptions& options,
                 const DataOptions& dataOptions, Precision precision, KernelKind kernel,
                 std::ostream& out, std::ostream& err) {
  const std::string& path = args.positional()[0];
  SpinFlipInput input =
      LoadSpinFlipInput(path, args.number("--aguide"), args.number("--field"), err);
  const MeasuredData data = LoadRunData(args, dataOptions, err);
  options.apply(data, input.settings);
  ApplyDataOptions(dataOptions, data, args.value("--data").value_or(""), input.settings);
  SpinFlipResult result;
  try {
    result = RunSpinFlipCalculation(input.stack, input.settings, data, kernel);
  } catch (const QuorrelError&) {
    if (input.fromModelFile) RethrowAtModelFile(path, input.model);
    throw;
  }
  DeliverOutput(SpinFlipText(result, precision), args, out);
}

int RunReflectivity(const std::vector<std::string>& rawArgs, std::ostream& out,
                    std::ostream& err) {
  const Arguments args(rawArgs, Rules());
  if (args.positional().size() != 1) throw UsageError("reflectivity takes one model file");
  CheckSpinFlipOptions(args);
  if (!args.has("--transmission") && (args.has("--wavelength") || args.has("--thickness"))) {
    throw UsageError("--wavelength and --thickness belong to --transmission");
  }
  if (args.has("--strict") && !args.has("--data")) throw UsageError("--strict needs --data");
  for (const std::string& option : DataValueOptions()) {
    if (option != "--smearing" && args.has(option) && !args.has("--data")) {
      throw UsageError(option + " needs --data");
    }
  }
  const DataOptions dataOptions = ReadDataOptions(args);
  const Precision precision = PrecisionOption(args);
  const KernelKind kernel = KernelOption(args);
  const ReflectivityOptions options(args);
  if (args.has("--spin-flip")) {
    RunSpinFlip(args, options, dataOptions, precision, kernel, out, err);
    return kSuccess;
  }

  ModelInput input = LoadModelInput(args.positional()[0], err);
  const MeasuredData data = LoadRunData(args, dataOptions, err);
  CalcSettings& settings = input.settings;
  options.apply(data, settings);
  ApplyDataOptions(dataOptions, data, args.value("--data").value_or(""), settings);

  ReflectivityResult result;
  try {
    result = RunReflectivityCalculation(input.model, settings, data, kernel);
  } catch (const QuorrelError&) {
    RethrowAtModelFile(args.positional()[0], input.model);
  }
  if (!result.notes.statusText.empty()) err << "quorrel-cli: " << result.notes.statusText << '\n';
  const std::optional<std::string> output = args.value(kOutputOption);
  if (output && FileKindOf(*output) == FileKind::Orso) {
    const std::string model = std::filesystem::path(args.positional()[0]).filename().string();
    WriteOrsoFile(*output, input.model, result, settings.cbMagnet, settings.cbTransmission,
                  CurrentOrsoWriteInfo(QUORREL_VERSION, model, args.value("--data").value_or(""),
                                       args.has("--xray") ? Radiation::Xrays : Radiation::Neutrons),
                  std::nullopt);
    return kSuccess;
  }
  if (args.has("--xray")) throw UsageError("--xray belongs to -o FILE.ort");
  DeliverOutput(ReflectivityText(result, settings.cbMagnet, settings.cbTransmission, precision),
                args, out);
  return kSuccess;
}

}  // namespace

const Command kReflectivityCommand{
    "reflectivity", "the reflectivity curve of a model file",
    "usage: quorrel-cli reflectivity MODEL.par|LAYERS.layers\n"
    "                                [--data DATA.dat|DATA.ort [--strict]]\n"
    "                                [--dataset N | --columns LIST [--q-unit A|nm] [--sqz sigma|fwhm]\n"
    "                                 [--xray-wavelength L]] [--resolution-from-data]\n"
    "                                [--smearing standard|accurate]\n"
    "                                [--qmin Q] [--qmax Q] [--points N] [--magnetic]\n"
    "                                [--transmission [--wavelength L] [--thickness MM]]\n"
    "                                [--spin-flip [--aguide DEG] [--field TESLA]]\n"
    "                                [--kernel fast|reference] [--precision file|full]\n"
    "                                [-o FILE | -o FILE.ort [--xray]]\n"
    "Computes the reflectivity of the model with the background and resolution stored in\n"
    "MODEL.par and writes it in the reflectivity file format (Qz, R, 0 per line; with\n"
    "--magnetic also the spin-up and spin-down curves, with --transmission the\n"
    "transmission) to FILE, or to standard output without -o.\n"
    "  --data DATA.dat   calculate at the measured Qz values (tab-separated Qz, R, dR, or an\n"
    "                    ORSO file .ort); a line that cannot be read is reported on standard\n"
    "                    error and skipped\n"
    "  --strict          make the first bad data line fatal instead\n"
    "  --qmin, --qmax, --points\n"
    "                    calculate from qmin in steps of (qmax - qmin)/points instead; those\n"
    "                    not given stay at 0, 0.25 and 100, or with --data at the measured\n"
    "                    range and count; without them and without --data the points are\n"
    "                    0, 0.0025, ..., 0.2475 (qmax itself is not a point)\n"
    QUORREL_DATA_OPTIONS_HELP
    "  --magnetic        include the magnetization: the two spin-state curves\n"
    "  --transmission    add the transmission through a substrate of --thickness mm (default\n"
    "                    0) at --wavelength A (default 4.66)\n"
    "  --spin-flip       the four spin channels instead: Qz, R--, R-+, R+-, R++ per line (the\n"
    "                    first sign the incident spin, the second the reflected one); a model\n"
    "                    file's magnetic densities R(mag) lie along the guide field, a layer\n"
    "                    table (.layers: thickness, sld, mu, thetaM, sldm, roughness, or\n"
    "                    thickness, sld, isld, roughness; densities in 1e-6 A^-2) gives each\n"
    "                    layer's angle; a layer table is computed without resolution or\n"
    "                    background\n"
    "  --aguide DEG      the guide field's angle to the surface normal (default: a project's,\n"
    "                    otherwise 90, in the sample plane); a project's layers keep their angles\n"
    "  --field TESLA     the applied field, for the Zeeman splitting of the spin-flip channels\n"
    "                    (default: a project's, otherwise 0)\n"
    "  --kernel reference\n"
    "                    compute with the scalar reference kernel instead of the fast one\n"
    "                    (same numbers to rounding; for comparing results and timings)\n"
    "  --precision full  write every number with 17 significant digits in the same columns\n"
    "                    (default: file, the file format's \"0.000e-00\")\n"
    "  -o FILE           write to FILE; nothing is written there when the run fails\n"
    "  -o FILE.ort       write an ORSO file instead: a header with the creator and the model\n"
    "                    in the ORSO model language, then Qz, R, sR (0), sQz (one standard\n"
    "                    deviation of the resolution) and with --magnetic R_up and R_down,\n"
    "                    with --transmission T, every number exact to the last digit\n"
    "  --xray            with -o FILE.ort: the header's probe is x-ray (default neutron)\n"
    "Exit status: 0 success, 1 unreadable input or failed calculation, 2 usage error.\n",
    RunReflectivity};

}  // namespace quorrel::cli
