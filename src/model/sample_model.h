#pragma once
// The model editor's content: sample type, grids of text cells, counts and settings.

#include <string>

#include "model/function_settings.h"
#include "model/text_grid.h"
#include "model/user_function.h"

namespace quorrel {

enum class SampleType {
  IndependentLayers = 1,
  ProfileFunction = 2,
  MultipleLayers = 3,
  SymmetricFilm = 4,
};

//! Columns of BaseGrid and MLGrid.
enum GridColumn {
  kColLabel = 0,
  kColThickness = 1,
  kColRho = 2,
  kColImRho = 3,
  kColSigma = 4,
  kColMagRe = 5,
  kColMagIm = 6,
  kGridColumns = 7,
};

//! The in-plane angle of a row's magnetisation in degrees, kept in the grids beside the
//! magnetic columns but after the columns that the model file holds: only the spin-flip
//! calculation reads it. An empty cell is the default angle.
inline constexpr int kColThetaM = kGridColumns;
inline constexpr const char* kThetaMHeader = "theta(mag)";
inline constexpr double kDefaultThetaM = 90.0;

//! Numbers stay text, exactly as typed, and are converted whenever they are used. Field names
//! follow the editor's controls.
struct SampleModel {
  //! The model the editor shows when it is created (independent layers, one 25 Å layer).
  SampleModel();

  SampleType type = SampleType::IndependentLayers;
  int edtLayers = 1;                  // 0 .. 9999
  TextGrid baseGrid;                  // rows: 0 header, 1 air, 2..N+1 layers, N+2 bulk/core
  bool identicalSigmas = false;       // cbIdenticalSigmas

  // Analytical profile function.
  int edtFunctionLayer = 0;           // F, 0 .. edtLayers
  unsigned edtLayerThickness = 0;     // h, the step thickness
  int edtNumCalcLayers = 0;           // M, 0 .. 199
  FunctionSettings function;
  UserFunction userFunction;          // function.expression compiled (CompileUserFunction)

  // Multiple layers.
  int edtInsertLayer = 0;             // 0 .. edtLayers
  int edtStackedLayers = 2;           // K, 1 .. 99
  int edtRepts = 1;                   // P, 1 .. 99
  TextGrid mlGrid;                    // rows: 0 header, 1..K the layers of one period

  //! The row of the substrate (or core) in baseGrid.
  int lastRow() const { return edtLayers + 2; }
};

//! Sets the layer columns of `row` (d to I(mag)) to "0" and its angle to the default.
void ZeroLayerRow(TextGrid& grid, int row);
//! Copies the layer columns and the angle of row `from` into row `to`.
void CopyLayerRow(TextGrid& grid, int from, int to);

//! Number of calculation layers N of the model's layer stack.
int CalcLayerCount(const SampleModel& model);

}  // namespace quorrel
