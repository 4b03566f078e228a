#include "fit/write_back.h"

#include <cmath>
#include <stdexcept>

#include "common/number_conversion.h"
#include "common/number_format.h"

namespace quorrel {

namespace {

//! The patterns of one group of rows. A null pattern leaves the cell alone.
struct RowPatterns {
  const char* airRho;
  const char* airImRho;
  const char* d;
  const char* rho;
  const char* imRho;
  const char* sigma;
  const char* bulkRho;
  const char* bulkImRho;
  const char* bulkSigma;
};

constexpr RowPatterns kPlain{"0.###E+0", "0.###E+00", "##0.##",   "0.###E+0", "0.###E+00",
                             "##0.###",  "0.###E+0",  "0.###E+00", "##0.###"};
// The analytical profile's layers below the graded region.
constexpr RowPatterns kBelowFunction{nullptr,  nullptr,     "##0.##", "0.###E+0", "0.###E+00",
                                     "0.###",  nullptr,     nullptr,  nullptr};
constexpr RowPatterns kMultilayer{"0.###E+00", "0.###E+00", "0.##",     "0.###E+00", "0.###E+00",
                                  "0.###",     "0.###E-0",  "0.###E-00", "##0.###"};
constexpr RowPatterns kSymmetric{"0.###E+0", "0.###E+00", "##0.##", "0.###E+0", "0.###E+00",
                                 "##0.###",  nullptr,     nullptr,  nullptr};

void Write(TextGrid& grid, int row, int column, double value, const char* pattern) {
  if (pattern != nullptr) grid.setCell(row, column, FormatPattern(value, pattern));
}

//! d, rho, Im(rho), sigma at indices first .. first + 3 into one grid row.
void WriteLayer(const ParameterSet& set, int first, TextGrid& grid, int row,
                const RowPatterns& patterns) {
  Write(grid, row, kColThickness, std::fabs(set[first]), patterns.d);
  Write(grid, row, kColRho, set[first + 1], patterns.rho);
  Write(grid, row, kColImRho, set[first + 2], patterns.imRho);
  Write(grid, row, kColSigma, std::fabs(set[first + 3]), patterns.sigma);
}

void WriteAir(const ParameterSet& set, TextGrid& grid, const RowPatterns& patterns) {
  Write(grid, 1, kColRho, set[1], patterns.airRho);
  Write(grid, 1, kColImRho, set[2], patterns.airImRho);
}

void WriteBulk(const ParameterSet& set, TextGrid& grid, const RowPatterns& patterns) {
  const ParameterLayout& layout = set.layout();
  const int row = layout.layers + 2;
  Write(grid, row, kColRho, set[layout.bulkIndex(Quantity::Rho)], patterns.bulkRho);
  Write(grid, row, kColImRho, set[layout.bulkIndex(Quantity::ImRho)], patterns.bulkImRho);
  Write(grid, row, kColSigma, std::fabs(set[layout.bulkIndex(Quantity::Sigma)]),
        patterns.bulkSigma);
}

void WriteLayers(const ParameterSet& set, int first, int last, TextGrid& grid,
                 const RowPatterns& patterns) {
  const ParameterLayout& layout = set.layout();
  for (int k = first; k <= last; ++k) {
    WriteLayer(set, layout.layerIndex(k, Quantity::Thickness), grid, k + 1, patterns);
  }
}

//! The field receives the value rounded as the pattern shows it.
double RoundedParameter(double value) {
  const std::string text = FormatPattern(value, "0.###E+00");
  const std::optional<double> rounded = LocaleToDouble(text);
  if (!rounded) throw std::logic_error("a formatted parameter does not read back: " + text);
  return *rounded;
}

}  // namespace

void WriteBackFit(const ParameterSet& set, SampleModel& model) {
  const ParameterLayout& layout = set.layout();
  const int l = layout.layers;
  TextGrid& grid = model.baseGrid;
  switch (layout.type) {
    case SampleType::IndependentLayers:
      WriteAir(set, grid, kPlain);
      WriteLayers(set, 1, l, grid, kPlain);
      WriteBulk(set, grid, kPlain);
      break;
    case SampleType::ProfileFunction:
      WriteAir(set, grid, kPlain);
      WriteLayers(set, 1, layout.functionLayer, grid, kPlain);
      WriteLayers(set, layout.functionLayer + 1, l, grid, kBelowFunction);
      WriteBulk(set, grid, kPlain);
      for (int i = 1; i <= layout.functionParameters; ++i) {
        model.function.parameters[static_cast<std::size_t>(i - 1)] =
            RoundedParameter(set[layout.functionParameterIndex(i)]);
      }
      break;
    case SampleType::MultipleLayers:
      WriteAir(set, grid, kMultilayer);
      WriteLayers(set, 1, l, grid, kMultilayer);
      WriteBulk(set, grid, kMultilayer);
      for (int j = 1; j <= layout.stackedLayers; ++j) {
        WriteLayer(set, layout.stackedIndex(j, Quantity::Thickness), model.mlGrid, j,
                   kMultilayer);
      }
      break;
    case SampleType::SymmetricFilm:
      WriteAir(set, grid, kSymmetric);
      // The core is the row below layer L and takes the layers' patterns.
      WriteLayers(set, 1, l + 1, grid, kSymmetric);
      break;
  }
}

}  // namespace quorrel
