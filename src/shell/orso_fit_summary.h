#pragma once
// A fit's results as the header of an .ort file keeps them.

#include <optional>

#include "files/orso_analysis.h"
#include "shell/fit_session.h"

namespace quorrel {

//! The session's last run: its method and weighting as the fit dialog names them, the
//! chi-square, and each varied value by its name ("d_1") with its standard error when the run
//! gave one. Nothing before the first run.
std::optional<OrsoFitSummary> FitSessionSummary(const FitSession& session);

}  // namespace quorrel
