#include "files/orso_analysis.h"

#include <cmath>

#include <yaml-cpp/yaml.h>

#include "common/number_format.h"
#include "files/orso_file.h"
#include "files/orso_model_values.h"

namespace quorrel {

namespace {


std::optional<double> OptionalNumber(const YAML::Node& node) {
  if (!node.IsDefined() || !node.IsScalar()) return std::nullopt;
  return ReadPlainNumber(node.Scalar());
}

OrsoFitSummary ReadSummary(const YAML::Node& analysis) {
  OrsoFitSummary fit;
  fit.method = TextOf(analysis["method"]);
  fit.weighting = TextOf(analysis["weighting"]);
  fit.chiSquare = OptionalNumber(analysis["chi_square"]).value_or(NAN);
  fit.reducedChiSquare = OptionalNumber(analysis["reduced_chi_square"]);
  if (const std::optional<double> dof = OptionalNumber(analysis["degrees_of_freedom"])) {
    fit.degreesOfFreedom = static_cast<int>(*dof);
  }
  const YAML::Node values = analysis["fitted_values"];
  if (values.IsDefined() && values.IsSequence()) {
    for (const YAML::Node& entry : values) {
      if (!entry.IsMap()) continue;
      fit.values.push_back({TextOf(entry["name"]), OptionalNumber(entry["value"]).value_or(NAN),
                            OptionalNumber(entry["error"])});
    }
  }
  return fit;
}

}  // namespace

std::string OrsoAnalysisText(const OrsoFitSummary& fit, const std::string& software) {
  std::string text = "analysis:\n  software: {name: Quorrel, version: " + QuotedYaml(software) + "}\n";
  text += "  method: " + QuotedYaml(fit.method) + "\n  weighting: " + QuotedYaml(fit.weighting) + "\n";
  text += "  chi_square: " + YamlNumber(fit.chiSquare) + "\n";
  if (fit.reducedChiSquare) text += "  reduced_chi_square: " + YamlNumber(*fit.reducedChiSquare) + "\n";
  if (fit.degreesOfFreedom) text += "  degrees_of_freedom: " + std::to_string(*fit.degreesOfFreedom) + "\n";
  text += "  fitted_values:\n";
  for (const OrsoFittedValue& value : fit.values) {
    text += "  - {name: " + QuotedYaml(value.name) + ", value: " + YamlNumber(value.value);
    if (value.error) text += ", error: " + YamlNumber(*value.error);
    text += "}\n";
  }
  return text;
}

std::optional<OrsoFitSummary> ReadOrsoFitSummary(const std::filesystem::path& path) {
  std::string yaml;
  for (const std::string& line : OrsoFirstHeader(path).lines) yaml.append(line).append("\n");
  try {
    const YAML::Node header = YAML::Load(yaml);
    if (!header.IsMap()) return std::nullopt;
    const YAML::Node analysis = header["analysis"];
    if (!analysis.IsDefined() || !analysis.IsMap()) return std::nullopt;
    return ReadSummary(analysis);
  } catch (const YAML::Exception&) {
    return std::nullopt;  // the data reader reports a header that is not YAML
  }
}

std::vector<std::string> OrsoFitSummaryLines(const OrsoFitSummary& fit) {
  std::vector<std::string> lines{
      "Fitted with " + fit.method + ", weighting " + fit.weighting,
      "chi-square " + FormatGeneral(fit.chiSquare)};
  if (fit.reducedChiSquare) {
    lines.back() += ", reduced " + FormatGeneral(*fit.reducedChiSquare);
    if (fit.degreesOfFreedom) {
      lines.back() += " (" + std::to_string(*fit.degreesOfFreedom) + " degrees of freedom)";
    }
  }
  for (const OrsoFittedValue& value : fit.values) {
    lines.push_back(value.name + " = " + FormatGeneral(value.value) +
                    (value.error ? " ± " + FormatGeneral(*value.error) : ""));
  }
  return lines;
}

}  // namespace quorrel
