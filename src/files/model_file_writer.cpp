#include "files/model_file_writer.h"

#include <string_view>

#include "common/number_format.h"
#include "files/atomic_file.h"
#include "files/model_file_format.h"
#include "model/layer_stack_builder.h"

namespace quorrel {

namespace {

BackgroundCode CodeOf(const CalcSettings& settings) {
  if (!settings.cbBackground) return BackgroundCode::None;
  switch (settings.background) {
    case BackgroundKind::Constant:
      return BackgroundCode::Constant;
    case BackgroundKind::Linear:
      return BackgroundCode::Linear;
    case BackgroundKind::Gaussian:
      return BackgroundCode::Gaussian;
    case BackgroundKind::Lorentzian:
      return BackgroundCode::Lorentzian;
  }
  return BackgroundCode::None;
}

//! Collects the file's lines.
class LineWriter {
 public:
  void text(std::string_view line) {
    for (char c : line) text_.push_back(c == '\r' || c == '\n' ? ' ' : c);
    text_ += kLineEnd;
  }
  void integer(long long value) { text(std::to_string(value)); }
  void real(double value) { text(FormatFixedReal(value)); }
  //! Every cell of `grid`, row by row, each row from column 0 to its last column.
  void cells(const TextGrid& grid) {
    for (int row = 0; row < grid.rowCount(); ++row) {
      for (int column = 0; column < grid.columnCount(); ++column) text(grid.cell(row, column));
    }
  }
  std::string take() { return std::move(text_); }

 private:
  std::string text_;
};

void WriteFunctionBlock(const SampleModel& model, LineWriter& out) {
  const FunctionSettings& function = model.function;
  out.integer(static_cast<int>(function.kind));
  if (function.kind == FunctionKind::BuiltIn) {
    out.integer(function.builtInIndex);
  } else {
    out.text(function.expression);
    out.text(function.comment);
  }
  out.integer(function.numParameters);
  for (std::size_t i = 0; i < function.parameters.size(); ++i) {
    out.text(function.parameterNames[i]);
    out.real(function.parameters[i]);
  }
  out.integer(model.edtLayerThickness);
  out.integer(model.edtNumCalcLayers);
  out.integer(model.edtFunctionLayer);
}

void WriteMultilayerBlock(const SampleModel& model, LineWriter& out) {
  out.integer(model.edtStackedLayers);
  out.cells(model.mlGrid);
  out.integer(model.edtRepts);
  out.integer(model.edtInsertLayer);
}

void WriteBackground(const CalcSettings& settings, LineWriter& out) {
  const BackgroundCode code = CodeOf(settings);
  out.integer(static_cast<int>(code));
  const double values[] = {settings.edtY0, settings.edtM, settings.edtPeakA, settings.edtPeakW,
                           settings.edtPeakXC};
  for (int i = 0; i < BackgroundValueCount(code); ++i) out.real(values[i]);
}

void WriteResolution(const CalcSettings& settings, LineWriter& out) {
  if (settings.cbVSelector) {
    out.integer(0);
    out.text(FormatPattern(settings.edtConstantRes, kConstantResPattern));
    out.text(FormatPattern(settings.edtDistribution, kDistributionPattern));
    return;
  }
  out.integer(settings.edtRegions);
  for (int row = 1; row <= settings.edtRegions; ++row) {
    out.text(settings.resltnGrid.cell(row, 0));
    out.text(settings.resltnGrid.cell(row, 1));
  }
}

}  // namespace

std::string ModelFileText(const SampleModel& model, const CalcSettings& settings) {
  LineWriter out;
  out.integer(static_cast<int>(model.type));
  out.text(std::to_string(model.baseGrid.columnCount()) + " " +
           std::to_string(model.baseGrid.rowCount()));
  out.cells(model.baseGrid);
  if (model.type == SampleType::ProfileFunction) WriteFunctionBlock(model, out);
  if (model.type == SampleType::MultipleLayers) WriteMultilayerBlock(model, out);
  WriteBackground(settings, out);
  WriteResolution(settings, out);
  return out.take();
}

std::optional<int> ModelFileLineOfCell(const SampleModel& model, std::string_view grid, int row,
                                       int column) {
  const auto inside = [&](const TextGrid& cells) {
    return row >= 0 && row < cells.rowCount() && column >= 0 && column < cells.columnCount();
  };
  // Line 1 the sample type, line 2 the grid size, then BaseGrid row by row.
  const int baseStart = 3;
  if (grid == kBaseGridName && inside(model.baseGrid)) {
    return baseStart + row * model.baseGrid.columnCount() + column;
  }
  if (grid == kMLGridName && model.type == SampleType::MultipleLayers && inside(model.mlGrid)) {
    const int stackStart =
        baseStart + model.baseGrid.rowCount() * model.baseGrid.columnCount() + 1;
    return stackStart + row * model.mlGrid.columnCount() + column;
  }
  return std::nullopt;
}

void WriteModelFile(const std::filesystem::path& path, const SampleModel& model,
                    const CalcSettings& settings) {
  WriteFileAtomically(path, ModelFileText(model, settings));
}

}  // namespace quorrel
