// The ORSO model language: a header's text built into a model or refused with QuorrelError;
// a built model fits the layer stack and every number cell it has reads back as a number.

#include <cmath>
#include <cstdlib>

#include "common/error.h"
#include "files/orso_model.h"
#include "fuzz_support.h"
#include "model/cell_values.h"

using namespace quorrel;

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

//! Knows Si and Ni by name; refuses the formula "Xx"; any other formula gets a density.
class Catalogue : public MaterialCatalogue {
 public:
  std::optional<LayerSld> byName(const std::string& name, Radiation) const override {
    if (name == "Si") return LayerSld{2.07e-6, 1e-10};
    if (name == "Ni") return LayerSld{9.4e-6, 0};
    return std::nullopt;
  }
  LayerSld byFormula(const std::string& formula, FormulaDensity density,
                     Radiation) const override {
    if (formula == "Xx") throw QuorrelError("the element Xx is not in the material table");
    return {density.value * 1e-6, 0};
  }
};

void RequireNumbers(const TextGrid& grid, int firstRow, int lastRow) {
  for (int row = firstRow; row <= lastRow; ++row) {
    for (int column = kColThickness; column <= kColMagIm; ++column) {
      const std::string& text = grid.cell(row, column);
      if (text == "N/A") continue;
      try {
        (void)CellNumber(grid, "grid", row, column);
      } catch (const CellError&) {
        // Only a value beyond the double range prints as INF or NAN.
        Require(text.find("INF") != std::string::npos || text.find("NAN") != std::string::npos);
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  static const Catalogue catalogue;
  OrsoModel built;
  try {
    built = BuildOrsoModel(fuzz::AsText(bytes, size), catalogue);
  } catch (const QuorrelError& error) {
    Require(*error.what() != '\0');
    return 0;
  }
  const SampleModel& model = built.model;
  Require(model.type == SampleType::IndependentLayers || model.type == SampleType::MultipleLayers);
  Require(model.edtLayers >= 0 && CalcLayerCount(model) <= 9998);
  Require(model.baseGrid.cell(1, kColLabel) == "air" &&
          model.baseGrid.cell(model.lastRow(), kColLabel) == "bulk");
  RequireNumbers(model.baseGrid, 1, model.lastRow());
  if (model.type == SampleType::MultipleLayers) {
    Require(model.edtStackedLayers >= 1 && model.edtStackedLayers <= 99);
    Require(model.edtRepts >= 2 && model.edtRepts <= 99);
    Require(model.edtInsertLayer >= 0 && model.edtInsertLayer <= model.edtLayers);
    RequireNumbers(model.mlGrid, 1, model.edtStackedLayers);
  }
  return 0;
}
