#pragma once
// Reading the community's ORSO reflectivity files (.ort, format 1.x): a YAML header on lines
// that start with "# ", then rows of whitespace-separated numbers; further data sets follow,
// each after a header of its own that starts with "# data_set:".

#include <filesystem>
#include <string>
#include <vector>

#include "files/measured_data_file.h"
#include "model/measured_data.h"

namespace quorrel {

//! The names of the file's data sets, in order. Throws FileError naming the file and the
//! line when it is not an ORSO 1.x file or a header cannot be read.
std::vector<std::string> OrsoDataSetNames(const std::filesystem::path& path);

//! Reads data set `index` (from 0) into `data`, as LoadMeasuredData does a data file: Qz in
//! Å⁻¹, R, dR and sQz as one standard deviation (sQz only when every point has one). A row that
//! cannot be read and an R not above 0 are asked about, naming the line; Abort leaves `data`
//! as it was, Ignore drops the row. `notes` receives what the user should know (a missing
//! error column, an unusable resolution). Throws FileError as OrsoDataSetNames does, for an
//! index the file does not have and for more than MeasuredData::kMaxPoints points.
LoadOutcome LoadOrsoData(const std::filesystem::path& path, int index, MeasuredData& data,
                         LoadQuestions& questions, std::vector<std::string>& notes,
                         const LoadProgress& progress = {});

}  // namespace quorrel
