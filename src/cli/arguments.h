#pragma once
// The arguments of one subcommand: positional words, options with a value and switches.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace quorrel::cli {

//! What a subcommand accepts: the options that take a value and the switches.
struct ArgumentRules {
  std::set<std::string> valueOptions;
  std::set<std::string> switches;
  //! Value options that may be given more than once (each also in valueOptions).
  std::set<std::string> repeatable = {};
};

//! The arguments taken apart. Throws UsageError for an unknown option, a missing value or an
//! option given twice.
class Arguments {
 public:
  Arguments(const std::vector<std::string>& args, const ArgumentRules& rules);

  const std::vector<std::string>& positional() const { return positional_; }
  bool has(const std::string& option) const;
  std::optional<std::string> value(const std::string& option) const;
  //! Every value of a repeatable option, in the order given.
  std::vector<std::string> values(const std::string& option) const;

  //! The option's value as a number (the user's separator, or a point when that fails to
  //! convert), or nothing when the option is absent; UsageError when it is not a number.
  std::optional<double> number(const std::string& option) const;
  //! The option's value as a whole number; UsageError when it is not one.
  std::optional<int> integer(const std::string& option) const;

 private:
  std::vector<std::string> positional_;
  std::map<std::string, std::string> values_;
  std::map<std::string, std::vector<std::string>> repeated_;
  std::set<std::string> switches_;
};

}  // namespace quorrel::cli
