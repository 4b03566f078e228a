#include "fit/entry_links.h"

#include <cmath>
#include <functional>
#include <map>
#include <utility>

#include <muParser.h>

#include "fit/symmetry_ties.h"

namespace quorrel {

struct EntryLinks::Compiled {
  // One value per set index (index 0 unused), bound to every parser's variables.
  std::vector<double> values;
  // Parsers in evaluation order, with the index each one writes.
  std::vector<std::pair<int, std::unique_ptr<mu::Parser>>> parsers;
};

namespace {

std::string EntryNameOf(const std::vector<std::string>& names, int index) {
  return names.at(static_cast<std::size_t>(index - 1));
}

//! "p12": an entry by its number in the list.
std::string NumberName(int number) {
  std::string name = std::to_string(number);
  name.insert(name.begin(), 'p');
  return name;
}

}  // namespace

EntryLinks::EntryLinks() = default;

EntryLinks::EntryLinks(std::vector<EntryLink> links, std::vector<std::string> names)
    : links_(std::move(links)), names_(std::move(names)) {
  compile();
}

EntryLinks::EntryLinks(const EntryLinks& other)
    : links_(other.links_), names_(other.names_) {
  compile();
}

EntryLinks& EntryLinks::operator=(const EntryLinks& other) {
  if (this != &other) *this = EntryLinks(other);
  return *this;
}

EntryLinks::EntryLinks(EntryLinks&&) noexcept = default;
EntryLinks& EntryLinks::operator=(EntryLinks&&) noexcept = default;
EntryLinks::~EntryLinks() = default;

bool EntryLinks::linked(int index) const {
  for (const EntryLink& link : links_) {
    if (link.index == index) return true;
  }
  return false;
}

void EntryLinks::compile() {
  compiled_.reset();
  if (links_.empty()) return;
  auto compiled = std::make_unique<Compiled>();
  compiled->values.assign(names_.size() + 1, 0.0);
  std::map<int, std::unique_ptr<mu::Parser>> byIndex;
  std::map<int, std::vector<int>> reads;
  for (const EntryLink& link : links_) {
    if (link.index < 1 || link.index > static_cast<int>(names_.size())) {
      throw LinkError("there is no entry " + std::to_string(link.index) + " to link");
    }
    const std::string entry = EntryNameOf(names_, link.index);
    if (byIndex.count(link.index) != 0) throw LinkError(entry + " is linked twice");
    auto parser = std::make_unique<mu::Parser>();
    try {
      for (std::size_t k = 0; k < names_.size(); ++k) {
        double* value = &compiled->values[k + 1];
        if (names_[k].empty()) continue;
        parser->DefineVar(NumberName(static_cast<int>(k) + 1), value);
        try {
          parser->DefineVar(names_[k], value);
        } catch (const mu::Parser::exception_type&) {
          // A name that is not an identifier (a function parameter's, say) is known by number.
        }
      }
      parser->SetExpr(link.expression);
      parser->Eval();  // compiles, and reports unknown names and syntax errors now
      for (const auto& [name, address] : parser->GetUsedVar()) {
        reads[link.index].push_back(static_cast<int>(address - compiled->values.data()));
      }
    } catch (const mu::Parser::exception_type& error) {
      throw LinkError("the link of " + entry + " (\"" + link.expression +
                      "\") cannot be read: " + error.GetMsg());
    }
    byIndex.emplace(link.index, std::move(parser));
  }
  // Depth-first order; a link met again while it is being ordered closes a cycle.
  std::map<int, int> state;  // 1 being ordered, 2 ordered
  const std::function<void(int, int)> visit = [&](int index, int from) {
    if (byIndex.count(index) == 0 || state[index] == 2) return;
    if (state[index] == 1) {
      throw LinkError("the link of " + EntryNameOf(names_, from) + " depends on itself through " +
                      EntryNameOf(names_, index));
    }
    state[index] = 1;
    for (const int read : reads[index]) visit(read, index);
    state[index] = 2;
    compiled->parsers.emplace_back(index, std::move(byIndex[index]));
  };
  for (const EntryLink& link : links_) visit(link.index, link.index);
  compiled_ = std::move(compiled);
}

void EntryLinks::apply(ParameterSet& set) const {
  if (!compiled_) return;
  std::vector<double>& values = compiled_->values;
  const int count = std::min(set.entryCount(), static_cast<int>(values.size()) - 1);
  for (int index = 1; index <= count; ++index) values[static_cast<std::size_t>(index)] = set[index];
  for (const auto& [index, parser] : compiled_->parsers) {
    double value = 0.0;
    try {
      value = parser->Eval();
    } catch (const mu::Parser::exception_type& error) {
      throw ArithmeticFault("the link of " + EntryNameOf(names_, index) + ": " + error.GetMsg());
    }
    if (!std::isfinite(value)) {
      throw ArithmeticFault("the link of " + EntryNameOf(names_, index) + " is not a number");
    }
    values[static_cast<std::size_t>(index)] = value;
    SetTiedValue(set, index, value);
  }
}

}  // namespace quorrel
