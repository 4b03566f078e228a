#include "cli/command.h"

#include "cli/commands.h"

namespace quorrel::cli {

std::span<const Command> Commands() {
  static const Command kCommands[] = {
      kReflectivityCommand,
      kProfileCommand,
      kParamsCommand,
      kChiSquareCommand,
      kFitCommand,
      kSampleCommand,
      kProjectCommand,
      kSldCommand,
      kMaterialsCommand,
      kImportModelCommand,
  };
  return kCommands;
}

}  // namespace quorrel::cli
