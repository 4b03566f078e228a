#include "cli/arguments.h"

#include "cli/command.h"
#include "common/number_conversion.h"

namespace quorrel::cli {

Arguments::Arguments(const std::vector<std::string>& args, const ArgumentRules& rules) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.size() < 2 || arg[0] != '-') {
      positional_.push_back(arg);
    } else if (rules.switches.contains(arg)) {
      if (!switches_.insert(arg).second) throw UsageError(arg + " is given twice");
    } else if (rules.valueOptions.contains(arg)) {
      if (i + 1 >= args.size()) throw UsageError(arg + " needs a value");
      repeated_[arg].push_back(args[i + 1]);
      if (!values_.emplace(arg, args[++i]).second && !rules.repeatable.contains(arg)) {
        throw UsageError(arg + " is given twice");
      }
    } else {
      throw UsageError("unknown option " + arg);
    }
  }
}

bool Arguments::has(const std::string& option) const {
  return switches_.contains(option) || values_.contains(option);
}

std::optional<std::string> Arguments::value(const std::string& option) const {
  const auto found = values_.find(option);
  if (found == values_.end()) return std::nullopt;
  return found->second;
}

std::vector<std::string> Arguments::values(const std::string& option) const {
  const auto found = repeated_.find(option);
  return found == repeated_.end() ? std::vector<std::string>() : found->second;
}

std::optional<double> Arguments::number(const std::string& option) const {
  const std::optional<std::string> text = value(option);
  if (!text) return std::nullopt;
  std::optional<double> number = ReadNumber(*text);
  if (!number) number = LocaleToDouble(*text, '.');
  if (!number) throw UsageError(option + " takes a number, not '" + *text + "'");
  return number;
}

std::optional<int> Arguments::integer(const std::string& option) const {
  const std::optional<std::string> text = value(option);
  if (!text) return std::nullopt;
  const std::optional<int> number = ReadInteger(*text);
  if (!number) throw UsageError(option + " takes a whole number, not '" + *text + "'");
  return number;
}

}  // namespace quorrel::cli
