#pragma once
// The input files of the calculating subcommands: a model parameter file and measured data.

#include <ostream>
#include <string>
#include <vector>

#include "cli/data_options.h"
#include "files/project_file.h"

#include "model/calc_settings.h"
#include "model/measured_data.h"
#include "model/measurement.h"
#include "model/sample_model.h"

namespace quorrel::cli {

//! A model with the background and resolution settings of its file.
struct ModelInput {
  SampleModel model;
  CalcSettings settings;
};

//! Reads the model file at `path`, or the model and settings of a project. A file that stops in its background or resolution part
//! (the older layout) gives a warning on `err` and the settings read so far; one that stops
//! earlier, or cannot be read, throws FileError naming the file and the line, as does a user
//! function that does not compile.
ModelInput LoadModelInput(const std::string& path, std::ostream& err);

//! Whether `path` names a project (.qproj).
bool IsProjectPath(const std::string& path);

//! Reads the project at `path`; its notes (a data file that changed on disk) go to `err` as
//! warnings. Throws FileError naming the file.
Project LoadProjectInput(const std::string& path, std::ostream& err);

//! Rethrows the exception in flight with the model file's name in front, and for a cell that
//! is not a number also the line of the file that holds it.
[[noreturn]] void RethrowAtModelFile(const std::string& path, const SampleModel& model);

//! How a bad line of measured data is handled.
enum class DataLineRule { ReportAndSkip, Fatal };

//! Reads measured data: a plain text table with --columns, data set `options.dataSet` of an
//! ORSO file (.ort), otherwise the tab-separated data file. Every bad line is reported on `err`
//! with its message, as are the reader's notes; with DataLineRule::Fatal the first bad line
//! ends the load with FileError.
MeasuredData LoadDataInput(const std::string& path, const DataOptions& options,
                           DataLineRule rule, std::ostream& err);

//! Every data set of the ORSO file at `path` as a measurement (LoadOrsoMeasurements), its bad
//! lines and notes reported on `err` as LoadDataInput does.
std::vector<Measurement> LoadOrsoMeasurementsInput(const std::string& path,
                                                   const CalcSettings& settings,
                                                   DataLineRule rule, std::ostream& err);

}  // namespace quorrel::cli
