// quorrel-cli: Quorrel's calculations from the shell.

#include <iostream>
#include <string>
#include <vector>

#include "cli/command.h"
#include "common/decimal_separator.h"

namespace quorrel::cli {
namespace {

void PrintOverview(std::ostream& out) {
  out << "usage: quorrel-cli [--decimal . | --decimal ,] COMMAND [ARGS]\n"
         "       quorrel-cli COMMAND --help\n\ncommands:\n";
  for (const Command& command : Commands()) {
    out << "  " << command.name << std::string(14 - std::string(command.name).size(), ' ')
        << command.summary << '\n';
  }
  out << "\n--decimal sets the decimal separator of numbers read and written; the default is\n"
         "the system locale's.\n";
}

int Run(std::vector<std::string> args) {
  SetDecimalSeparator(SystemDecimalSeparator());
  // Global options come before or after the command name; they are taken out here.
  for (std::size_t i = 0; i < args.size();) {
    if (args[i] == "--decimal") {
      if (i + 1 >= args.size() || (args[i + 1] != "." && args[i + 1] != ",")) {
        throw UsageError("--decimal takes '.' or ','");
      }
      SetDecimalSeparator(args[i + 1][0]);
      args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                 args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
    } else {
      ++i;
    }
  }
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    PrintOverview(std::cout);
    return args.empty() ? kUsage : kSuccess;
  }
  for (const Command& command : Commands()) {
    if (args[0] != command.name) continue;
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    for (const std::string& arg : rest) {
      if (arg == "--help" || arg == "-h") {
        std::cout << command.help;
        return kSuccess;
      }
    }
    return command.run(rest, std::cout, std::cerr);
  }
  throw UsageError("unknown command '" + args[0] + "'; see quorrel-cli --help");
}

}  // namespace
}  // namespace quorrel::cli

int main(int argc, char** argv) {
  using namespace quorrel::cli;
  try {
    return Run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const UsageError& error) {
    std::cerr << "quorrel-cli: " << error.what() << '\n';
    return kUsage;
  } catch (const std::exception& error) {
    std::cerr << "quorrel-cli: " << error.what() << '\n';
    return kFailure;
  }
}
