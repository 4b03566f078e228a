#include "cli/fit_entry_options.h"

#include <algorithm>
#include <limits>

#include "cli/command.h"
#include "common/number_conversion.h"
#include "fit/parameter_labels.h"
#include "shell/measurement_texts.h"

namespace quorrel::cli {

namespace {

//! The entry's name: its label up to " =", without the blanks around it.
std::string NameOf(const std::string& label) {
  std::string name = label.substr(0, label.find(" ="));
  while (!name.empty() && name.back() == ' ') name.pop_back();
  return name;
}

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> items;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find(separator, start), text.size());
    items.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return items;
}

double Bound(const std::string& text, double infinite, const std::string& whole) {
  const std::string t = Trimmed(text);
  if (t.empty()) return infinite;
  std::optional<double> value = ReadNumber(t);
  if (!value) value = LocaleToDouble(t, '.');
  if (!value) throw UsageError("--bounds takes N=LO:HI, not '" + whole + "'");
  return *value;
}

void Tick(FitSession& session, int position) {
  if (!session.entries()[static_cast<std::size_t>(position)].vary) session.toggleVary(position);
}

//! Ticks every entry whose name starts with `prefix`: "scale [", "background y0 [".
void TickEvery(FitSession& session, const std::string& prefix) {
  const std::vector<FitParameter> entries = session.entries();
  for (std::size_t e = 0; e < entries.size(); ++e) {
    if (entries[e].label.rfind(prefix, 0) == 0) Tick(session, static_cast<int>(e));
  }
}

}  // namespace

void AddEntryOptionRules(ArgumentRules& rules) {
  rules.valueOptions.insert({"--vary", "--bounds", "--link"});
  rules.repeatable.insert("--link");
  rules.switches.insert({"--scale", kFitBackground});
}

int ModelEntryNamed(const SampleModel& model, const std::string& text) {
  const std::optional<int> entry = ModelEntryOfName(model, text);
  if (!entry) throw UsageError("the model has no entry '" + Trimmed(text) + "' (see quorrel-cli params)");
  return *entry;
}

int SessionEntry(const FitSession& session, const std::string& text, const std::string& option) {
  const std::string wanted = Trimmed(text);
  const std::vector<FitParameter> entries = session.entries();
  for (std::size_t e = 0; e < entries.size(); ++e) {
    if (std::to_string(entries[e].index) == wanted || NameOf(entries[e].label) == wanted) {
      return static_cast<int>(e);
    }
  }
  throw UsageError(option + ": the fit has no entry '" + wanted + "' (see quorrel-cli params)");
}

void ApplyEntryOptions(const Arguments& args, FitSession& session) {
  if (const std::optional<std::string> vary = args.value("--vary")) {
    for (const std::string& item : Split(*vary, ',')) {
      // "6-7" is a range of numbers; a name may hold a dash only after its first character.
      const std::size_t dash = item.find('-', 1);
      const std::optional<int> first = ReadInteger(item.substr(0, dash));
      const std::optional<int> last =
          dash == std::string::npos ? first : ReadInteger(item.substr(dash + 1));
      if (first && last) {
        if (*last < *first) throw UsageError("--vary: '" + item + "' is an empty range");
        for (int n = *first; n <= *last; ++n) {
          Tick(session, SessionEntry(session, std::to_string(n), "--vary"));
        }
      } else {
        Tick(session, SessionEntry(session, item, "--vary"));
      }
    }
  }
  if (args.has("--scale")) TickEvery(session, "scale [");
  if (args.has(kFitBackground)) TickEvery(session, "background y0 [");
  if (const std::optional<std::string> bounds = args.value("--bounds")) {
    for (const std::string& item : Split(*bounds, ',')) {
      const std::size_t equals = item.find('=');
      const std::size_t colon = item.find(':', equals == std::string::npos ? 0 : equals);
      if (equals == std::string::npos || colon == std::string::npos) {
        throw UsageError("--bounds takes N=LO:HI[,N=LO:HI...], not '" + item + "'");
      }
      const int entry = SessionEntry(session, item.substr(0, equals), "--bounds");
      const Bounds range{
          Bound(item.substr(equals + 1, colon - equals - 1),
                -std::numeric_limits<double>::infinity(), item),
          Bound(item.substr(colon + 1), std::numeric_limits<double>::infinity(), item)};
      if (!session.setBounds(entry, range)) {
        throw UsageError("--bounds: the lower bound of '" + item + "' exceeds the upper");
      }
    }
  }
  for (const std::string& link : args.values("--link")) {
    const std::size_t equals = link.find('=');
    if (equals == std::string::npos) throw UsageError("--link takes N=EXPRESSION, not '" + link + "'");
    const int entry = SessionEntry(session, link.substr(0, equals), "--link");
    const std::string refusal = session.setLink(entry, link.substr(equals + 1));
    if (!refusal.empty()) throw UsageError("--link: " + refusal);
  }
}

}  // namespace quorrel::cli
