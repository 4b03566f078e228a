#pragma once
// The sample model that an ORSO header describes in the community's model language
// (data_source: sample: model: stack: "air | 25 ( Si 7 | Fe 7 ) | Si", with layers, sub_stacks,
// materials, composits and globals), built into a model of ours.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "model/calc_settings.h"
#include "model/material_catalogue.h"
#include "model/sample_model.h"

namespace quorrel {

//! A model built from a header, the radiation its densities are for, and what the user
//! should know about how it was built.
struct OrsoModel {
  SampleModel model;
  Radiation radiation = Radiation::Neutrons;
  std::vector<std::string> notes;
};

//! Builds the model of a header given as YAML text. The stack's first item becomes "air", its
//! last "bulk"; a stack whose one repeated block holds at most 99 layers repeated at most 99
//! times becomes multiple layers, any other independent layers with the repetitions written
//! out. Lengths are in the language's nm unless `globals` or the value name another unit;
//! a layer without a roughness has the language's 0.3 nm. Densities come from the header
//! (sld, or a formula with a mass or number density), else from `catalogue` by name. What
//! the model cannot hold (a gradient, a matrix material, a magnetic moment, a material without
//! a density) throws QuorrelError naming the item and the line of the text (from 1).
OrsoModel BuildOrsoModel(std::string_view headerYaml, const MaterialCatalogue& catalogue);

//! Whether the first header of an ORSO file describes a sample model. Throws FileError when
//! the file cannot be read as an ORSO file.
bool OrsoFileHasModel(const std::filesystem::path& path);

//! BuildOrsoModel on the first header of an ORSO file; FileError names the file and its line.
OrsoModel ReadOrsoModel(const std::filesystem::path& path, const MaterialCatalogue& catalogue);

}  // namespace quorrel
