#pragma once
// The options that say what a fit does with its entries: --vary, --scale, --background,
// --bounds and --link, entries named by number or by name.

#include <string>

#include "cli/arguments.h"
#include "model/sample_model.h"
#include "shell/fit_session.h"

namespace quorrel::cli {

//! Varies each measurement's constant background. --background keeps its meaning of adding
//! the backgrounds; this switch adds and fits them.
inline constexpr const char* kFitBackground = "--fit-background";

//! The value options and switches of this file, for a command's rules.
void AddEntryOptionRules(ArgumentRules& rules);

//! The parameter set index of the model entry that `text` names: its number, or its name as
//! the fit list labels it ("d_1", "rho_bulk"). UsageError for anything else.
int ModelEntryNamed(const SampleModel& model, const std::string& text);

//! The list position of the open session's entry that `text` names: its number (see
//! quorrel-cli params) or its name ("d_1", "scale [D2O]"). UsageError naming `option`.
int SessionEntry(const FitSession& session, const std::string& text, const std::string& option);

//! Ticks the entries of --vary ("3,6-7,d_1,scale [D2O]"), each measurement's scale with
//! --scale and its background y0 with --fit-background, sets --bounds "N=LO:HI,..." (an empty
//! side is unbounded) and links --link "N=EXPRESSION" (repeatable). UsageError for an entry
//! that is not there or a link that is refused, with the reason.
void ApplyEntryOptions(const Arguments& args, FitSession& session);

}  // namespace quorrel::cli
