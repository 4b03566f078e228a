#include "fit/symmetry_ties.h"

namespace quorrel {

void ApplySymmetryTies(ParameterSet& set, int index) {
  const ParameterLayout& layout = set.layout();
  const int n = layout.count();  // 8L + 9
  // The entries after the model's (a measurement's) have no ties.
  if (layout.type != SampleType::SymmetricFilm || index > n) return;
  const double value = set[index];
  if (index == 1) {
    set[n - 2] = value;
    return;
  }
  if (index == 2) {
    set[n - 1] = value;
    return;
  }
  const ParameterRole role = layout.role(index);
  if (role.medium != ParameterMedium::Layer && role.medium != ParameterMedium::Core) return;
  const int k = role.number;  // the core counts as layer L + 1
  if (role.quantity != Quantity::Sigma) {
    // The core has no mirror.
    if (role.medium == ParameterMedium::Layer) set[n + index - 9 - 8 * (k - 1)] = value;
    return;
  }
  if (layout.identicalSigmas) {
    for (int i = 6; i < n; i += 4) set[i] = value;
  } else if (k > 1) {
    // This roughness is the lower interface of the mirror of layer k - 1.
    set[n + index - 5 - 8 * (k - 1)] = value;
  }
  set[n] = set[6];
}

void SetTiedValue(ParameterSet& set, int index, double value) {
  set[index] = value;
  ApplySymmetryTies(set, index);
}

}  // namespace quorrel
