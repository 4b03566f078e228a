#include "model/cell_values.h"

#include "common/error.h"
#include "common/number_conversion.h"

#include <cmath>
#include <string_view>

#include "common/number_format.h"
#include "model/sample_model.h"

namespace quorrel {

double CellNumber(const TextGrid& grid, const char* gridName, int row, int column) {
  const std::string& text = grid.cell(row, column);
  if (const auto value = LocaleToDouble(text)) return *value;
  throw CellError(gridName, row, column, text, CellPlace(grid, gridName, row, column));
}

std::optional<std::string> TunedCellText(const std::string& text, int notches,
                                         double fraction) {
  const std::optional<double> value = LocaleToDouble(text);
  if (!value) return std::nullopt;
  const double tuned = *value * std::pow(1.0 + fraction, notches);
  if (!std::isfinite(tuned)) return std::nullopt;
  return FormatGeneral(tuned);
}

std::string CellPlace(const TextGrid& grid, const char* gridName, int row, int column) {
  const std::string table =
      std::string_view(gridName) == "MLGrid" ? "Multilayer table" : "Layer table";
  const std::string& label = grid.cell(row, 0);
  const bool numbered =
      label.empty() || label.find_first_not_of("0123456789") == std::string::npos;
  const std::string rowName = numbered ? "row " + (label.empty() ? std::to_string(row) : label)
                                       : label;
  // A grid made elsewhere may lack the heading of the angle column, which no file holds.
  const std::string& header = grid.cell(0, column);
  return table + ", " + rowName + ", " +
         (header.empty() && column == kColThetaM ? std::string(kThetaMHeader) : header);
}

}  // namespace quorrel
