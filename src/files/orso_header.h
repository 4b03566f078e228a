#pragma once
// The header of one data set of an ORSO reflectivity file: its name, its polarisation and the
// columns that hold Qz, R and their errors, with the factors that bring them to Å⁻¹ and one
// standard deviation.

#include <optional>
#include <string>
#include <vector>

namespace quorrel {

//! The "# "-lines of one header, without their marker, and where each stands in the file.
struct OrsoHeaderText {
  std::vector<std::string> lines;
  std::vector<int> fileLines;
};

//! A column read from the data rows: its index and the factor its numbers are multiplied by.
struct OrsoColumn {
  int index = -1;
  double factor = 1.0;
};

//! What the reader takes from a data set's header.
struct OrsoLayout {
  std::string name;        //!< "data_set", or the set's number from 0
  int describedColumns = 0;
  OrsoColumn qz;           //!< to Å⁻¹
  OrsoColumn r;
  std::optional<OrsoColumn> dr;    //!< to one standard deviation
  std::optional<OrsoColumn> sqz;   //!< to one standard deviation in Å⁻¹
  //! data_source: measurement: instrument_settings: polarization ("pp", "po" ...); "" when
  //! the header names none.
  std::string polarization;
  std::vector<std::string> notes;  //!< what the reader left aside, for the user
};

//! Reads the headers of a file's data sets in order: the first stands alone, every later one
//! overrides what it names of the first. Throws FileError naming `file` and the line for a
//! header that is not YAML or describes no Qz or R column, or a unit or width it cannot read.
std::vector<OrsoLayout> ReadOrsoLayouts(const std::string& file,
                                        const std::vector<OrsoHeaderText>& headers);

}  // namespace quorrel
