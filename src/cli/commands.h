#pragma once
// The subcommands, each defined in its own file.

#include "cli/command.h"

namespace quorrel::cli {

extern const Command kReflectivityCommand;
extern const Command kProfileCommand;
extern const Command kParamsCommand;
extern const Command kChiSquareCommand;
extern const Command kFitCommand;
extern const Command kSampleCommand;
extern const Command kProjectCommand;
extern const Command kSldCommand;
extern const Command kMaterialsCommand;
extern const Command kImportModelCommand;

}  // namespace quorrel::cli
