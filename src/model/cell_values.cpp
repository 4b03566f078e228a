#include "model/cell_values.h"

#include "common/error.h"
#include "common/number_conversion.h"

namespace quorrel {

double CellNumber(const TextGrid& grid, const char* gridName, int row, int column) {
  const std::string& text = grid.cell(row, column);
  if (const auto value = LocaleToDouble(text)) return *value;
  throw CellError(gridName, row, column, text);
}

}  // namespace quorrel
