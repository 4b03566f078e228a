#include "files/orso_file_writer.h"

#include <cmath>

#include "files/atomic_file.h"
#include "files/curve_table.h"
#include "files/orso_model_values.h"
#include "files/orso_model_writer.h"

namespace quorrel {

namespace {

//! `prefix` before every line of `yaml`.
std::string Prefixed(const std::string& yaml, const std::string& prefix) {
  std::string text;
  std::size_t at = 0;
  while (at < yaml.size()) {
    const std::size_t end = std::min(yaml.find('\n', at), yaml.size());
    text += prefix + yaml.substr(at, end - at) + "\n";
    at = end + 1;
  }
  return text;
}

//! A number of a data row; numpy's "nan" where a curve has no point.
std::string RowNumber(double value) { return std::isnan(value) ? "nan" : YamlNumber(value); }

std::string Header(const SampleModel& model, bool magnetization, bool transmission,
                   const OrsoWriteInfo& info, const std::optional<OrsoFitSummary>& fit) {
  const std::string sample = info.sampleName.empty() ? "model" : info.sampleName;
  std::string yaml = "data_source:\n";
  yaml += "  owner: {name: " + QuotedYaml(info.creator) + ", affiliation: null}\n";
  yaml += "  experiment: {title: calculated reflectivity, instrument: none, start_date: " +
          QuotedYaml(info.timestamp) + ", probe: " +
          (info.radiation == Radiation::Xrays ? "x-ray" : "neutron") + "}\n";
  yaml += "  sample:\n    name: " + QuotedYaml(sample) + "\n";
  if (const std::optional<std::string> orso = OrsoModelText(model)) {
    yaml += "    model:\n" + Prefixed(*orso, "      ");
  } else {
    yaml += "    comment: an analytical profile function, which the ORSO model language cannot "
            "describe\n";
  }
  yaml += "  measurement:\n    instrument_settings: {incident_angle: {magnitude: null}, "
          "wavelength: {magnitude: null}}\n";
  yaml += "    data_files: [" + (info.dataFile.empty() ? "" : QuotedYaml(info.dataFile)) + "]\n";
  yaml += "reduction:\n  software: {name: Quorrel, version: " + QuotedYaml(info.softwareVersion) +
          "}\n  timestamp: " + QuotedYaml(info.timestamp) + "\n  computer: " +
          QuotedYaml(info.computer) + "\n  creator: {name: " + QuotedYaml(info.creator) +
          ", affiliation: null}\n";
  if (fit) yaml += OrsoAnalysisText(*fit, info.softwareVersion);
  yaml += "columns:\n"
          "- {name: Qz, unit: 1/angstrom, physical_quantity: normal_wavevector_transfer}\n"
          "- {name: R, physical_quantity: reflectivity}\n"
          "- {name: sR, error_of: R, error_type: uncertainty, value_is: sigma}\n"
          "- {name: sQz, unit: 1/angstrom, error_of: Qz, error_type: resolution, value_is: sigma}\n";
  if (magnetization) {
    yaml += "- {name: R_up, physical_quantity: reflectivity, comment: spin state +1}\n"
            "- {name: R_down, physical_quantity: reflectivity, comment: spin state -1}\n";
  }
  if (transmission) yaml += "- {name: T, physical_quantity: transmission}\n";

  std::string text = "# # ORSO reflectivity data file | 1.1 standard | YAML encoding | "
                     "https://www.reflectometry.org/\n";
  text += "# # " + sample + " | " + info.timestamp + " | calculated by Quorrel | R(q_z)\n";
  text += Prefixed(yaml, "# ");
  text += "# # Qz (1/angstrom)  R  sR  sQz" + std::string(magnetization ? "  R_up  R_down" : "") +
          (transmission ? "  T" : "") + "\n";
  return text;
}

}  // namespace

std::string OrsoFileText(const SampleModel& model, const ReflectivityResult& result,
                         bool magnetization, bool transmission, const OrsoWriteInfo& info,
                         const std::optional<OrsoFitSummary>& fit) {
  // The nine-point kernel's half-width b is two standard deviations.
  std::vector<double> sqz;
  for (const double b : result.pointResolution) sqz.push_back(b / 2);
  CurveTable table("Qz", "R", result.plain);
  table.addText("sR", "0");
  table.addValues("sQz", std::move(sqz));
  if (magnetization) {
    table.addCurve("R_up", result.spinUp);
    table.addCurve("R_down", result.spinDown);
  }
  if (transmission) table.addCurve("T", result.transmission);
  TableFormat format;
  format.number = RowNumber;
  format.missing = "nan";  // as numpy writes it
  format.separator = ' ';
  format.lineEnd = "\n";
  return Header(model, magnetization, transmission, info, fit) + table.text(format);
}

void WriteOrsoFile(const std::filesystem::path& path, const SampleModel& model,
                   const ReflectivityResult& result, bool magnetization, bool transmission,
                   const OrsoWriteInfo& info, const std::optional<OrsoFitSummary>& fit) {
  WriteFileAtomically(path, OrsoFileText(model, result, magnetization, transmission, info, fit));
}

}  // namespace quorrel
