#pragma once
// The lookup that writes a material's name, rho and Im(rho) into a row of a model grid.

#include <filesystem>

#include "database/material_record.h"
#include "model/calc_settings.h"
#include "model/text_grid.h"

namespace quorrel {

//! Writes the record into `row`: the name into the label column, then rho and Im(rho) as
//! "0.000E+00" into their columns; thickness, roughness and magnetic cells are untouched.
//! A quantity that does not convert throws MaterialValueError before anything is written;
//! a zero weight or density throws ArithmeticFault after the name is written.
void ApplyMaterial(const MaterialRecord& record, Radiation radiation, TextGrid& grid, int row);

//! Reads the record at `position` of the kind's list from the table file and applies it.
//! Table failures throw DatabaseError and leave the row unchanged.
void LookUpMaterial(const std::filesystem::path& tablePath, MaterialKind kind, int position,
                    Radiation radiation, TextGrid& grid, int row);

}  // namespace quorrel
