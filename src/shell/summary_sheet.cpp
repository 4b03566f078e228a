#include "shell/summary_sheet.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "common/number_format.h"
#include "parser/builtin_profiles.h"

namespace quorrel {

namespace {

constexpr int kTableColumns = 5;  // layer, d, rho, Im(rho), sigma: the magnetic ones are left out

int RoundToInt(double value) { return static_cast<int>(std::lround(value)); }

//! Appends the texts of the left part top to bottom; `lineStep` is the room of one line of
//! the 8-point font.
class SheetWriter {
 public:
  SheetWriter(SummarySheet& sheet, int x0, int lineHeight, int graphsLeft)
      : sheet_(sheet), x0_(x0), lineStep_(lineHeight + 10), graphsLeft_(graphsLeft) {}

  //! A text that may reach `rightEnd` (the graphs when 0), less a gap of half a margin.
  void put(int x, int y, std::string text, int rightEnd = 0) {
    const int room = std::max((rightEnd > 0 ? rightEnd : graphsLeft_) - x0_ / 2 - x, 1);
    sheet_.texts.push_back(PlacedText{x, y, kSheetTextPointSize, std::move(text), room});
  }

  //! Every row of the grid, the header included, one line step further down each.
  void putTable(const TextGrid& grid, int& y) {
    for (int row = 0; row < grid.rowCount(); ++row) {
      y += lineStep_;
      for (int column = 0; column < kTableColumns; ++column) {
        const bool last = column + 1 == kTableColumns;
        put(5 * x0_ * (column + 1), y, grid.cell(row, column), last ? 0 : 5 * x0_ * (column + 2));
      }
    }
  }

  void putFunction(const FunctionSettings& function, int y) {
    if (function.kind == FunctionKind::UserDefined) {
      put(5 * x0_, y, "f(z) = " + function.expression);
      for (int i = 0; i < function.numParameters && i < 5; ++i) {
        y += lineStep_;
        put(10 * x0_, y,
            function.parameterNames[i] + " = " + FormatGeneral(function.parameters[i]));
      }
      return;
    }
    const auto catalogue = BuiltInProfiles();
    if (function.builtInIndex < 0 || function.builtInIndex >= static_cast<int>(catalogue.size())) {
      return;
    }
    const BuiltInProfile& profile = catalogue[function.builtInIndex];
    put(5 * x0_, y, profile.formulaText);
    const auto names = ParameterNamesFromComment(profile.comment, profile.parameterCount);
    for (int k = 1; k <= profile.parameterCount; ++k) {
      put(10 * x0_, y + k * lineStep_,
          names[k - 1] + " = " + FormatPattern(function.parameters[k - 1], "0.#####"));
    }
  }

  int lineStep() const { return lineStep_; }

 private:
  SummarySheet& sheet_;
  int x0_;
  int lineStep_;
  int graphsLeft_;
};

}  // namespace

const char* WeightingWord(Weighting weighting) {
  switch (weighting) {
    case Weighting::GivenErrors:
      return "error weighted ";
    case Weighting::Statistical:
      return "statistically weighted ";
    case Weighting::Logarithmic:
      return "logarithmically weighted ";
    case Weighting::None:
      return "unweighted ";
  }
  return "unweighted ";
}

std::vector<std::string> ParameterNamesFromComment(const std::string& comment, int count) {
  std::vector<std::string> names;
  std::string_view rest = comment;
  for (int k = 0; k < count; ++k) {
    if (k > 0) {
      // Only the part after the comma goes on, so the blank after it stays in the name.
      const auto comma = rest.find(',');
      if (comma != std::string_view::npos) rest.remove_prefix(comma + 1);
    }
    names.emplace_back(rest.substr(0, rest.find(':')));
  }
  return names;
}

SummarySheet LayOutSummarySheet(const SampleModel& model, const SummaryInputs& inputs,
                                int pageWidth, int pageHeight, const TextMeasure& measure) {
  SummarySheet sheet;

  const std::string title = "Quorrel data output sheet";
  const TextExtent titleExtent = measure.measure(title, kSheetTitlePointSize);
  const int ty = 10 * RoundToInt(pageHeight / 100.0);
  sheet.texts.push_back(
      PlacedText{pageWidth / 2 - titleExtent.width / 2, ty, kSheetTitlePointSize, title});

  // Every line below is spaced by the height of the 8-point date line.
  const TextExtent dateExtent = measure.measure(inputs.dateText, kSheetTextPointSize);
  const int h = dateExtent.height;
  const int x0 = RoundToInt(pageWidth / 80.0);
  // Title and date stand above the graphs and need no limit.
  sheet.texts.push_back(PlacedText{pageWidth / 2 - dateExtent.width / 2, ty + titleExtent.height,
                                   kSheetTextPointSize, inputs.dateText});
  const int graphsLeftPct = std::min(sheet.reflectivity.xOffsetPct, sheet.profile.xOffsetPct);
  SheetWriter writer(sheet, x0, h, pageWidth * graphsLeftPct / 100);

  const int y0 = RoundToInt(pageHeight / 100.0 * 15);
  if (inputs.dataFile) writer.put(x0, y0, "Datafile: " + *inputs.dataFile);
  if (inputs.acceptedFit) {
    writer.put(x0, y0 + 2 * h + 20,
               std::string("The ") + WeightingWord(inputs.acceptedFit->weighting) +
                   "chi^2 of the fit is: " + inputs.acceptedFit->chiSquareText);
  }

  int y = y0 + 4 * h + 40;
  writer.put(x0, y, "sample parameters are:");
  writer.putTable(model.baseGrid, y);

  if (model.type == SampleType::IndependentLayers) return sheet;
  y += 2 * h + 20;
  switch (model.type) {
    case SampleType::ProfileFunction:
      writer.put(x0, y,
                 "Function appended to layer no. " + std::to_string(model.edtFunctionLayer) +
                     " with " + std::to_string(model.edtNumCalcLayers) + " steps" + " of " +
                     std::to_string(model.edtLayerThickness) + " Å thickness.");
      writer.putFunction(model.function, y + writer.lineStep());
      break;
    case SampleType::MultipleLayers:
      writer.put(x0, y,
                 "Multilayer stack appended to layer no. " + std::to_string(model.edtInsertLayer) +
                     " with " + std::to_string(model.edtRepts) + " repetitions.");
      writer.putTable(model.mlGrid, y);
      break;
    case SampleType::IndependentLayers:
    case SampleType::SymmetricFilm:
      break;
  }
  return sheet;
}

}  // namespace quorrel
