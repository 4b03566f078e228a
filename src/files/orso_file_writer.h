#pragma once
// Writing calculated curves as an ORSO reflectivity file (.ort, format 1.1): a header with the
// creator, the model in the ORSO model language and, after a fit, its results; then the
// columns Qz, R, sR, sQz and the further curves.

#include <filesystem>
#include <optional>
#include <string>

#include "calc/curves.h"
#include "files/orso_analysis.h"
#include "model/calc_settings.h"
#include "model/sample_model.h"

namespace quorrel {

//! Who writes the file, when and from what.
struct OrsoWriteInfo {
  std::string creator;          //!< the user's name
  std::string computer;
  std::string timestamp;        //!< ISO 8601, local time, e.g. 2026-12-09T01:30:00
  std::string softwareVersion;
  std::string sampleName;       //!< the model file's name, or ""
  std::string dataFile;         //!< the measured data the curve was fitted to, or ""
  Radiation radiation = Radiation::Neutrons;
};

//! The file's text. Columns: Qz (1/angstrom), R, sR (0), sQz (one standard deviation, half the
//! resolution width b of each point); with `magnetization` R_up and R_down (spin states +1
//! and -1), with `transmission` T ("nan" where the transmission has no point). Numbers have
//! the shortest text that reads back as the same
//! double; lines end in LF. A model cell that is not a number
//! throws CellError.
std::string OrsoFileText(const SampleModel& model, const ReflectivityResult& result,
                         bool magnetization, bool transmission, const OrsoWriteInfo& info,
                         const std::optional<OrsoFitSummary>& fit);

//! Writes OrsoFileText to `path` atomically; FileError names the file.
void WriteOrsoFile(const std::filesystem::path& path, const SampleModel& model,
                   const ReflectivityResult& result, bool magnetization, bool transmission,
                   const OrsoWriteInfo& info, const std::optional<OrsoFitSummary>& fit);

}  // namespace quorrel
