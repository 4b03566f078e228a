#pragma once
// The subcommands of quorrel-cli: each one a function over its own arguments.

#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "common/error.h"

namespace quorrel::cli {

//! Wrong use of the command line; the tool exits with status 2.
class UsageError : public QuorrelError {
 public:
  using QuorrelError::QuorrelError;
};

//! Exit statuses of the tool.
enum ExitStatus { kSuccess = 0, kFailure = 1, kUsage = 2 };

//! One subcommand: its name, a line for the overview, the text of its --help, and its body.
//! The body gets the arguments after the subcommand's name (global options removed) and
//! returns an exit status; it throws UsageError for bad arguments.
struct Command {
  const char* name;
  const char* summary;
  const char* help;
  int (*run)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
};

//! Every subcommand, in the order the overview lists them.
std::span<const Command> Commands();

}  // namespace quorrel::cli
