#pragma once
// The flat, numbered vector of model values that a fit varies, and its exchange with the
// layer stack.

#include <array>
#include <functional>
#include <utility>
#include <vector>

#include "fit/parameter_layout.h"
#include "model/sample_model.h"
#include "physics/layer_stack.h"

namespace quorrel {

//! The density of the graded region at depth `z` below its start, between the density
//! `rhoStart` of the layer it follows and `rhoEnd` of the row after it, for the parameters A..E.
//! May raise ArithmeticFault, as the profile function does in a stack build.
using ProfileEvaluator = std::function<double(double z, double rhoStart, double rhoEnd,
                                              const std::array<double, 5>& parameters)>;

//! Values indexed from 1 in the layout of one model. For the analytical profile type the five
//! function parameters A..E are all kept (those beyond the function's count unlisted), so that
//! a trial evaluates the function with the same hidden values as a stack build does.
class ParameterSet {
 public:
  //! The most values a set holds: the layer stack's values after the five unused ones.
  static constexpr int kCapacity = LayerStack::kValueCount - 1;

  //! An all-zero set of the layout; refuses a layout beyond the capacity.
  explicit ParameterSet(ParameterLayout layout = {});

  const ParameterLayout& layout() const { return layout_; }
  //! The model's values: indices 1 .. count().
  int count() const { return layout_.count(); }
  //! The model's values and the entries after them (a measurement's scale, background and
  //! overrides): indices 1 .. entryCount().
  int entryCount() const { return count() + static_cast<int>(extras_.size()); }

  //! Entry `index`, 1 .. entryCount() (and, for the profile type without entries after the
  //! model's, the unlisted parameters A..E).
  double operator[](int index) const { return const_cast<ParameterSet&>(*this)[index]; }
  double& operator[](int index);

  //! Whether a fit may vary entry `index`: a listed model value or an entry after them.
  bool variable(int index) const {
    return (index >= 1 && index <= layout_.listedCount()) ||
           (index > count() && index <= entryCount());
  }

  //! Replaces the entries after the model's by `values`, numbered count() + 1 on.
  void setExtraEntries(std::vector<double> values) { extras_ = std::move(values); }
  const std::vector<double>& extraEntries() const { return extras_; }

  //! The profile function parameters A..E.
  std::array<double, 5> functionParameters() const;

 private:
  ParameterLayout layout_;
  std::vector<double> values_;  // index 0 unused
  std::vector<double> extras_;  // entry count() + 1 at 0
};

//! The set of the model from its layer stack, built with spin state 0 (and, for the profile
//! type, the function parameters from the model's fields).
ParameterSet CollectParameterSet(const SampleModel& model, const LayerStack& stack);

//! Writes the whole set into the stack, regenerating the function steps and the multilayer
//! periods. `profile` is needed for the analytical profile type only.
void ApplyParameterSet(const ParameterSet& set, LayerStack& stack,
                       const ProfileEvaluator& profile = {});

}  // namespace quorrel
