#pragma once
// What the fitting subcommands share: their options, and the model and measured data with
// the reflectivity run over the measured points that gives each point's resolution and
// background.

#include <ostream>
#include <string>

#include "cli/arguments.h"
#include "cli/command_inputs.h"
#include "shell/fit_session.h"

namespace quorrel::cli {

//! The options of chisq and fit: --weighting, --resolution, --background, --region and the
//! data options.
ArgumentRules FitArgumentRules(std::set<std::string> moreValueOptions);

//! The model file and the measured data of a fit, and what the run over the points left.
struct FitInputs {
  ModelInput model;
  FitData data;
};

//! Reads both files, applies --region and runs the reflectivity calculation over the
//! measured points, as the program does before it opens the fit dialog.
FitInputs LoadFitInputs(const std::string& modelPath, const std::string& dataPath,
                        const Arguments& args, std::ostream& err);

//! Sets the weighting and the two switches of the session from the options.
void ApplyFitOptions(const Arguments& args, FitSession& session);

}  // namespace quorrel::cli
