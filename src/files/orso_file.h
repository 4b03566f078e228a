#pragma once
// Reading the community's ORSO reflectivity files (.ort, format 1.x): a YAML header on lines
// that start with "# ", then rows of whitespace-separated numbers; further data sets follow,
// each after a header of its own that starts with "# data_set:".

#include <filesystem>
#include <string>
#include <vector>

#include "files/measured_data_file.h"
#include "files/orso_header.h"
#include "model/measured_data.h"

namespace quorrel {

//! The names of the file's data sets, in order. Throws FileError naming the file and the
//! line when it is not an ORSO 1.x file or a header cannot be read.
std::vector<std::string> OrsoDataSetNames(const std::filesystem::path& path);

//! The first header's lines, as ReadOrsoLayouts takes them. Throws FileError naming the file
//! when it is not an ORSO 1.x file.
OrsoHeaderText OrsoFirstHeader(const std::filesystem::path& path);

//! Reads data set `index` (from 0) into `data`, as LoadMeasuredData does a data file: Qz in
//! Å⁻¹, R, dR and sQz as one standard deviation (sQz only when every point has one). A row that
//! cannot be read is asked about, naming the line; Abort leaves `data` as it was, Ignore drops
//! the row. Rows whose R is not above 0 are dropped without a question. `notes` receives what
//! the user should know (a missing error column, an unusable resolution, the count of rows
//! dropped and the first one's line). Throws FileError as OrsoDataSetNames does, for an
//! index the file does not have and for more than MeasuredData::kMaxPoints points.
LoadOutcome LoadOrsoData(const std::filesystem::path& path, int index, MeasuredData& data,
                         LoadQuestions& questions, std::vector<std::string>& notes,
                         const LoadProgress& progress = {});

//! One data set of a file, loaded, under its name.
struct OrsoDataSet {
  std::string name;
  std::string polarization;  //!< as OrsoLayout has it
  MeasuredData data;
  std::vector<std::string> notes;
};

//! Reads every data set of the file, in order, as LoadOrsoData reads one (the spin channels
//! of a polarised measurement, for instance). Abort at any row leaves `sets` as it was.
LoadOutcome LoadOrsoDataSets(const std::filesystem::path& path, std::vector<OrsoDataSet>& sets,
                             LoadQuestions& questions);

}  // namespace quorrel
