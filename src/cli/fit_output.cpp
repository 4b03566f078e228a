#include "cli/fit_output.h"

#include <algorithm>
#include <iterator>

#include "common/number_format.h"

namespace quorrel::cli {

namespace {

constexpr std::size_t kColumn = 8;

}  // namespace

std::string RightAligned(const std::string& text, std::size_t width) {
  return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string EntryLine(const FitParameter& entry) {
  return RightAligned(std::to_string(entry.index), 5) + "  " + entry.label;
}

std::string FittedEntryLine(const FitParameter& entry, double value,
                            const FitUncertainties* uncertainties) {
  std::string line = EntryLine(entry) + "  (" + FormatGeneral(value);
  if (uncertainties) {
    const auto& varied = uncertainties->varied;
    const auto at = std::find(varied.begin(), varied.end(), entry.index);
    if (at != varied.end()) {
      line += " \u00b1 " + FormatGeneral(uncertainties->standardErrors[static_cast<std::size_t>(
                               std::distance(varied.begin(), at))]);
    }
  }
  return line + ")";
}

std::string ReducedChiSquareLine(const FitUncertainties& uncertainties) {
  return "reduced chi-square: " + FormatGeneral(uncertainties.reducedChiSquare) + " (" +
         std::to_string(uncertainties.degreesOfFreedom) + " degrees of freedom)";
}

std::string CorrelationTable(const FitUncertainties& uncertainties) {
  return CorrelationTable(uncertainties.varied, uncertainties.correlations);
}

std::string CorrelationTable(std::span<const int> varied, std::span<const double> correlations) {
  const std::size_t p = varied.size();
  std::string table = "correlations:\n" + std::string(5, ' ');
  for (const int index : varied) table += RightAligned(std::to_string(index), kColumn);
  table += '\n';
  for (std::size_t a = 0; a < p; ++a) {
    table += RightAligned(std::to_string(varied[a]), 5);
    for (std::size_t b = 0; b < p; ++b) {
      table += RightAligned(FormatPattern(correlations[a * p + b], "0.000"), kColumn);
    }
    table += '\n';
  }
  return table;
}

}  // namespace quorrel::cli
