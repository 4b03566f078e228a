#pragma once
// The one place that tells a file's kind from its name.

#include <string_view>

namespace quorrel {

//! What a file holds, as the ending of its name says.
enum class FileKind {
  Unknown,
  Data,        //!< .dat: a table of Qz, R, dR (measured, or a calculated reflectivity file)
  Orso,        //!< .ort: an ORSO reflectivity file
  LayerTable,  //!< .layers: a layer table of the polarised reference cases
  Model,       //!< .par: a model parameter file
  Profile,     //!< .pro: a density profile file
  Project,     //!< .qproj: a project file
};

//! The kind that `path` ends in, compared without the case of ASCII letters; Unknown for any
//! other ending.
FileKind FileKindOf(std::string_view path);

}  // namespace quorrel
