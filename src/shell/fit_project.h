#pragma once
// What a project keeps of a fit session, and a session set up again from a project.

#include <string>

#include "files/project_file.h"
#include "shell/fit_session.h"
#include "shell/sampling_session.h"

namespace quorrel {

//! The session's options and entry setup as a project stores them.
ProjectFitSetup FitSetupOf(const FitSession& session);

//! Sets the session's options from `setup` and, once it is open, its entries' check marks,
//! bounds and links. Returns what could not be taken (an entry the list does not hold, a
//! link that no longer compiles), or "".
std::string ApplyFitSetup(const ProjectFitSetup& setup, FitSession& session);

//! The results of the session's last run for the project's record, dated `date`.
FitRecord RecordOfFit(const FitSession& session, const std::string& date);

//! The summary of a sampling run for the project, dated `date`.
SamplingRecord RecordOfSampling(const SampledPosterior& posterior, const std::string& date);

//! The current time as ISO 8601 in UTC, "2026-12-09T04:00:00Z".
std::string UtcNow();

}  // namespace quorrel
