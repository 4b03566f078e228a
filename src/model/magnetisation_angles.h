#pragma once
// The in-plane angles of the magnetisation, read from the grids' theta(mag) column in the
// order in which the layer stack builder lays out the rows.

#include <vector>

#include "model/sample_model.h"

namespace quorrel {

//! The angle of `row` in degrees: kDefaultThetaM for an empty cell, else its number (a
//! CellError naming the cell when it is not one).
double ThetaMCell(const TextGrid& grid, const char* gridName, int row);

//! Empties the angle cells of both grids, hidden rows included: every angle is the default.
void ResetMagnetisationAngles(SampleModel& model);

//! The grid row that a medium of the layer stack takes its magnetisation from.
struct MagnetisationRow {
  enum class Grid { None, Base, Multilayer };
  Grid grid = Grid::None;  //!< None: the profile function's media, which read no magnetic column
  int row = 0;

  friend bool operator==(const MagnetisationRow&, const MagnetisationRow&) = default;
};

//! One row per medium of the model's layer stack, 0 (ambient) .. N + 1 (substrate), in the
//! order in which the layer stack builder lays out the rows.
std::vector<MagnetisationRow> MagnetisationRows(const SampleModel& model);

//! The angle of one medium's row: kDefaultThetaM for Grid::None.
double ThetaMOfRow(const SampleModel& model, MagnetisationRow row);

//! One angle per medium of the model's layer stack, 0 (ambient) .. N + 1 (substrate), each
//! taken from the row that the build takes the medium from. The profile function's build
//! reads no magnetic column, so all its media have the default angle. Counts as
//! BuildLayerStack checks them.
std::vector<double> MagnetisationAngles(const SampleModel& model);

}  // namespace quorrel
