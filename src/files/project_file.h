#pragma once
// The project file (.qproj): one sample model with its settings, the measurements fitted to
// it (their points embedded, so that a project opened elsewhere still works), the fit's setup
// and the last fit's results. YAML with a format number:
//
//   format: 1
//   creator: Quorrel 0.9
//   model: |          the model parameter file's text, every cell as the editor holds it
//   settings: {...}   the calculation settings the model file does not keep
//   measurements:
//     - label, file (relative to the project), file_hash, scale, background, resolution,
//       channel (R--, R-+, R+- or R++; only for a polarised measurement), region,
//       overrides, points: | "Qz R dR [sQz]" lines
//   fit: method, weighting, resolution, background, tolerance, entries (entry, name, vary,
//        lower, upper, link)
//   last_fit: date, method, weighting, chi_square, values (entry, name, value, error),
//             measurements (chi-square of each)
//   sampling: date, walkers, burn_in, steps, thinning, seed, acceptance, values (entry, name,
//             median, minus, plus, lower_95, upper_95)   (optional: the last posterior)

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "fit/entry_setup.h"
#include "fit/fit_data.h"
#include "model/calc_settings.h"
#include "model/measurement.h"
#include "model/sample_model.h"

namespace quorrel {

//! The project format this program writes and the highest it reads.
inline constexpr int kProjectFormat = 1;

//! What a fit is set up to do between openings of the dialog.
struct ProjectFitSetup {
  FitMethod method = FitMethod::LevenbergMarquardt;
  Weighting weighting = Weighting::Statistical;
  bool includeResolution = false;
  bool includeBackground = false;
  double tolerance = 1e-6;
  std::vector<EntrySetup> entries;  //!< those with a check mark, bounds or a link
};

//! One entry's result of a fit.
struct FittedValue {
  int index = 0;
  std::string name;
  double value = 0.0;
  std::optional<double> error;
};

//! The last accepted fit.
struct FitRecord {
  std::string date;  //!< ISO 8601, UTC
  FitMethod method = FitMethod::LevenbergMarquardt;
  Weighting weighting = Weighting::Statistical;
  double chiSquare = 0.0;
  std::vector<FittedValue> values;
  std::vector<std::optional<double>> measurementChiSquares;
};

//! One entry's marginal of the last posterior sampling.
struct SampledValue {
  int index = 0;
  std::string name;
  double median = 0.0;
  double minus = 0.0;  //!< median - the 15.87 % percentile
  double plus = 0.0;   //!< the 84.13 % percentile - median
  double lower95 = 0.0;
  double upper95 = 0.0;
};

//! The summary of the last posterior sampling; its chain goes to a chain file of its own.
struct SamplingRecord {
  std::string date;  //!< ISO 8601, UTC
  int walkers = 0;
  int burnInSteps = 0;
  int steps = 0;  //!< production steps run
  int thinning = 1;
  std::uint64_t seed = 0;
  double acceptance = 0.0;
  std::vector<SampledValue> values;
};

struct Project {
  SampleModel model;
  CalcSettings settings;
  std::vector<Measurement> measurements;  //!< data.fileName: the file's full path
  ProjectFitSetup fit;
  std::optional<FitRecord> lastFit;
  std::optional<SamplingRecord> sampling;
};

//! A project read, with notes for the user: a data file whose content differs from the copy
//! in the project, or that is no longer there (the project's copy is used either way).
struct ProjectRead {
  Project project;
  std::vector<std::string> notes;
};

//! Whether a text names the data files' content by hash (for a file) or not (for comparing
//! two projects, without reading the files).
enum class DataFileHashes { Written, Left };

//! The file's text; data file names are written relative to `folder` (the project's).
std::string ProjectText(const Project& project, const std::filesystem::path& folder,
                        DataFileHashes hashes = DataFileHashes::Written);

//! Writes the project atomically; FileError names the file when it fails.
void WriteProjectFile(const std::filesystem::path& path, const Project& project);

//! Reads a project. Throws FileError naming the file (and the line where YAML knows it) for
//! a file that is not a project, of a format this program does not know, or damaged.
ProjectRead ReadProjectFile(const std::filesystem::path& path);
//! The same from the text of a file at `path` (whose folder the data paths are relative to).
ProjectRead ReadProjectText(const std::string& text, const std::filesystem::path& path);

//! FNV-1a of a file's bytes as 16 hex digits; empty when it cannot be read.
std::string FileHash(const std::filesystem::path& path);

}  // namespace quorrel
