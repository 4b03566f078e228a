#pragma once
// The printed data output sheet: where each text of the page stands, and where the two graphs
// go. Kept free of the toolkit so that the placement can be checked with any text measure.

#include <optional>
#include <string>
#include <vector>

#include "fit/chi_square.h"
#include "model/sample_model.h"

namespace quorrel {

struct TextExtent {
  int width = 0;
  int height = 0;
};

//! Measures a text in the sheet's font ("MS Sans Serif") at a point size, in device units.
class TextMeasure {
 public:
  virtual ~TextMeasure() = default;
  virtual TextExtent measure(const std::string& text, int pointSize) const = 0;
};

//! One text of the sheet; x, y: its top-left corner in device units.
struct PlacedText {
  int x = 0;
  int y = 0;
  int pointSize = 8;
  std::string text;
  //! The room before the next column or the graphs; a wider text is drawn narrower so that
  //! it does not run into them. 0: no limit.
  int maxWidth = 0;
};

//! A graph's place on the page, in per cent of the page.
struct SheetGraph {
  int xOffsetPct;
  int yOffsetPct;
  int scalePct;
};

//! What the sheet shows besides the model.
struct SummaryInputs {
  std::string dateText;                 // the current date and time in the user's locale
  std::optional<std::string> dataFile;  // when measured data are loaded: the full path
  struct FitLine {
    Weighting weighting;
    std::string chiSquareText;  // the fit dialog's chi-square read-out
  };
  std::optional<FitLine> acceptedFit;  // when a fit was accepted since the data were loaded
};

struct SummarySheet {
  std::vector<PlacedText> texts;
  SheetGraph reflectivity{55, 15, 40};
  SheetGraph profile{55, 55, 40};
};

inline constexpr int kSheetTitlePointSize = 12;
inline constexpr int kSheetTextPointSize = 8;

//! The weighting's word in the fit line, such as "statistically weighted ".
const char* WeightingWord(Weighting weighting);

//! The names of a built-in function's parameters as its comment lists them
//! ("A: amplitude, lam: wavelength" gives "A" and " lam"), `count` of them.
std::vector<std::string> ParameterNamesFromComment(const std::string& comment, int count);

//! Lays out the sheet on a printable page of `pageWidth` x `pageHeight` device units: title,
//! date, data file, fit result, the layer table, and the function or multilayer settings.
SummarySheet LayOutSummarySheet(const SampleModel& model, const SummaryInputs& inputs,
                                int pageWidth, int pageHeight, const TextMeasure& measure);

}  // namespace quorrel
