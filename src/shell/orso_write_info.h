#pragma once
// Who writes an .ort file and when, as the header names them, for the program and the tool.

#include <string>

#include "files/orso_file_writer.h"

namespace quorrel {

//! The user's login name (else "unknown"), this computer's name, the local time now, and the
//! given version, sample and data file names and radiation.
OrsoWriteInfo CurrentOrsoWriteInfo(const std::string& softwareVersion,
                                   const std::string& sampleName, const std::string& dataFile,
                                   Radiation radiation);

}  // namespace quorrel
