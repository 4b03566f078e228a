#pragma once
// Reading the layer tables of the reflectometry community's validation suite (.layers): one
// row per medium, fronting first, densities in 1e-6 Å⁻².

#include <filesystem>
#include <string>

#include "model/sample_model.h"
#include "physics/spin_flip_stack.h"

namespace quorrel {

//! Which form a table has.
enum class LayerTableForm {
  Unpolarised,  //!< thickness, sld, isld, roughness
  Polarised,    //!< thickness, sld, mu, thetaM, sldm, roughness
};

//! The media of a layer table, and its form.
struct LayerTable {
  SpinFlipStack stack;  //!< AGUIDE 90 and no field; the unpolarised form has no magnetisation
  LayerTableForm form = LayerTableForm::Unpolarised;
};

//! Reads a table of rows of four or six numbers (blank- or TAB-separated, written with a
//! point); lines starting with "#" and blank lines are passed over. The roughness of a row is
//! that of the interface on top of its medium; the fronting medium's thickness, roughness and
//! absorption and the backing's thickness are not read. Throws FileError naming the file and
//! the line for a row that is not four or six numbers, for rows of both widths, and for fewer
//! than two rows.
LayerTable ReadLayerTable(const std::filesystem::path& path);

//! The media of `stack` as the editor's independent layers: the fronting medium in the air
//! row, the backing in the bulk row, each row with its densities, roughness, magnetic density
//! in R(mag) and angle in theta(mag), written as numbers in the editor's form. The spin-flip
//! stack of the model is `stack` again.
SampleModel ModelOfLayerTable(const SpinFlipStack& stack);

}  // namespace quorrel
