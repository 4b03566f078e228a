#pragma once
// What the fitting subcommands share: their options, and the model and measured data with
// the reflectivity run over the measured points that gives each point's resolution and
// background.

#include <cstdint>
#include <ostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/command_inputs.h"
#include "files/project_file.h"
#include "shell/fit_session.h"

namespace quorrel::cli {

//! The options of chisq and fit: --weighting, --resolution, --background, --region,
//! --override, --label, --channel and the data options.
ArgumentRules FitArgumentRules(std::set<std::string> moreValueOptions);

//! The model (or project) of a fit and its measurements with each point's resolution.
struct FitInputs {
  ModelInput model;
  std::vector<FitData> data;
  //! The project the model came from; its fit setup then applies.
  std::optional<Project> project;
};

//! Reads the model or project `positional[0]` and the data files after it (a project without
//! them brings its own measurements), applies --label, --channel, --region and --override
//! and gives each data set its points' resolution, as the program does before it opens the
//! fit dialog. Each data file is labelled by its name without the folder and extension.
FitInputs LoadFitInputs(const std::vector<std::string>& positional, const Arguments& args,
                        std::ostream& err);

//! Opens `session` on the inputs (which it takes) and, for a project, ticks, bounds and
//! links its entries as the project's fit setup says; what cannot be taken is a warning.
void OpenFitSession(FitSession& session, FitInputs& inputs, std::ostream& err);

//! The project of a session: the inputs' project (or a new one) with the session's model,
//! measurements and fit setup, and `record` as its last fit.
Project ProjectOf(const FitInputs& inputs, const FitSession& session,
                  std::optional<FitRecord> record);

//! --method search, lm or de; nothing without the option. UsageError for another name.
std::optional<FitMethod> MethodOption(const Arguments& args);

//! --seed S as a whole number from 0; nothing without the option.
std::optional<std::uint64_t> SeedOption(const Arguments& args);

//! With --fit-background: each measurement's background is added and fitted, one without a
//! background getting a constant one. Before the session opens on `inputs`.
void ApplyFitBackgroundOption(const Arguments& args, FitSession& session, FitInputs& inputs);

//! Sets the weighting and the two switches of the session from the options.
void ApplyFitOptions(const Arguments& args, FitSession& session);

}  // namespace quorrel::cli
