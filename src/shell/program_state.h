#pragma once
// What the program holds while it runs: the model, the settings, the measured data and the
// state values that several windows read.

#include <optional>
#include <string>
#include <vector>

#include "files/project_file.h"
#include "model/calc_settings.h"
#include "model/editor_state.h"
#include "model/measured_data.h"
#include "model/measurement.h"
#include "model/sample_model.h"
#include "shell/persisted_settings.h"

namespace quorrel {

struct ProgramState {
  SampleModel model;
  EditorState editor;
  CalcSettings settings;
  MeasuredData data;  //!< data.loaded() is the program's "data loaded" state
  //! The measurements fitted together: empty while `data` is the one data set, otherwise
  //! the first one's points are `data` (Document keeps them so).
  std::vector<Measurement> measurements;
  //! What the fit dialog keeps between openings while a project is open, and its last fit.
  ProjectFitSetup fitSetup;
  std::optional<FitRecord> lastFit;
  std::optional<SamplingRecord> sampling;  //!< the summary of the last posterior sampling

  bool showSplash = true;
  //! Whether the material table is loaded at start-up; once false ("nodatabase") it becomes
  //! true at the first edit of the table.
  bool materialTableLoaded = true;
  //! The user asked not to see the tips at start-up.
  bool expertMode = false;
  std::string sldDatabasePath;
  WebAddresses addresses;
};

}  // namespace quorrel
