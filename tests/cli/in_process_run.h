#pragma once
// Runs one quorrel-cli subcommand inside the test process.

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "cli/command.h"

namespace quorrel::cli {

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

//! The subcommand `name` with `args`, its exit status and what it printed.
inline Outcome RunCommand(const std::string& name, const std::vector<std::string>& args) {
  const auto commands = Commands();
  const auto command = std::find_if(commands.begin(), commands.end(),
                                    [&](const Command& c) { return c.name == name; });
  if (command == commands.end()) return {-1, "", "no command " + name};
  std::ostringstream out, err;
  const int status = command->run(args, out, err);
  return {status, out.str(), err.str()};
}

}  // namespace quorrel::cli
