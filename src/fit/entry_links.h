#pragma once
// Links between fit entries: an entry made an expression of others ("d_3 = d_1",
// "rho_2 = 0.9*rho_core + 0.1*rho_bulk"), evaluated before every curve of a fit.

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "common/error.h"
#include "fit/parameter_set.h"

namespace quorrel {

//! A link that cannot be compiled or evaluated, or links that depend on each other in a
//! cycle; the message names the entry.
class LinkError : public QuorrelError {
 public:
  using QuorrelError::QuorrelError;
};

//! Entry `index` (a parameter set index) takes the value of `expression`.
struct EntryLink {
  int index = 0;
  std::string expression;
};

//! Compiled links in an order where every link follows those it reads.
class EntryLinks {
 public:
  EntryLinks();
  //! `names[k]` is the name of set index k + 1 in expressions (see EntryVariableName), empty
  //! for an entry that the fit list does not show; every named entry is also known as p<number>
  //! by its number, p12 for index 12.
  //! Throws LinkError for an expression that does not compile, names an unknown entry,
  //! links an entry twice or takes part in a cycle.
  EntryLinks(std::vector<EntryLink> links, std::vector<std::string> names);
  EntryLinks(const EntryLinks& other);
  EntryLinks& operator=(const EntryLinks& other);
  EntryLinks(EntryLinks&&) noexcept;
  EntryLinks& operator=(EntryLinks&&) noexcept;
  ~EntryLinks();

  bool empty() const { return links_.empty(); }
  const std::vector<EntryLink>& links() const { return links_; }
  //! Whether entry `index` is linked, and therefore not varied.
  bool linked(int index) const;

  //! Evaluates every link on `set`'s values and writes the results into it, with their ties.
  //! Throws ArithmeticFault when a link evaluates to a value that is not finite. Not for two
  //! threads at once: the links share one store of values; each run keeps its own copy.
  void apply(ParameterSet& set) const;

 private:
  struct Compiled;
  void compile();

  std::vector<EntryLink> links_;
  std::vector<std::string> names_;
  std::unique_ptr<Compiled> compiled_;
};

}  // namespace quorrel
