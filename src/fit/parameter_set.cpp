#include "fit/parameter_set.h"

#include <stdexcept>
#include <string>
#include <utility>

#include "common/error.h"

namespace quorrel {

namespace {

//! The highest index a set of this layout holds.
int StorageEnd(const ParameterLayout& layout) {
  if (layout.type == SampleType::ProfileFunction) return layout.functionParameterIndex(5);
  return layout.count();
}

void RequireFits(const ParameterLayout& layout) {
  const auto require = [](bool ok, const char* what) {
    if (!ok) throw QuorrelError(std::string("the fit cannot hold the model: ") + what);
  };
  require(layout.layers >= 0, "negative number of layers");
  require(layout.functionParameters >= 0 && layout.functionParameters <= 5,
          "the function uses more than five parameters");
  require(layout.stackedLayers >= 0 && layout.repetitions >= 0, "negative multilayer counts");
  require(StorageEnd(layout) <= ParameterSet::kCapacity &&
              layout.stackLayerCount() <= LayerStack::kMaxLayers,
          CapacityExceeded::kMessage);
}

//! d, rho, Im(rho), sigma at indices first .. first + 3 from a medium of the stack.
void MediumFromStack(ParameterSet& set, int first, const LayerStack& stack, int medium) {
  set[first] = stack.thickness(medium);
  set[first + 1] = stack.rho(medium);
  set[first + 2] = stack.imRho(medium);
  set[first + 3] = stack.sigma(medium);
}

void MediumToStack(const ParameterSet& set, int first, LayerStack& stack, int medium) {
  stack.setThickness(medium, set[first]);
  stack.setRho(medium, set[first + 1]);
  stack.setImRho(medium, set[first + 2]);
  stack.setSigma(medium, set[first + 3]);
}

int LayerFirst(const ParameterSet& set, int k) {
  return set.layout().layerIndex(k, Quantity::Thickness);
}
int StackedFirst(const ParameterSet& set, int j) {
  return set.layout().stackedIndex(j, Quantity::Thickness);
}

//! Air and bulk, which every type except the symmetric film keeps at the same indices.
void EndsFromStack(ParameterSet& set, const LayerStack& stack) {
  const ParameterLayout& layout = set.layout();
  const int substrate = stack.layerCount() + 1;
  set[1] = stack.rho(0);
  set[2] = stack.imRho(0);
  set[layout.bulkIndex(Quantity::Rho)] = stack.rho(substrate);
  set[layout.bulkIndex(Quantity::ImRho)] = stack.imRho(substrate);
  set[layout.bulkIndex(Quantity::Sigma)] = stack.sigma(substrate);
}

void EndsToStack(const ParameterSet& set, LayerStack& stack) {
  const ParameterLayout& layout = set.layout();
  const int substrate = stack.layerCount() + 1;
  stack.setRho(0, set[1]);
  stack.setImRho(0, set[2]);
  stack.setRho(substrate, set[layout.bulkIndex(Quantity::Rho)]);
  stack.setImRho(substrate, set[layout.bulkIndex(Quantity::ImRho)]);
  stack.setSigma(substrate, set[layout.bulkIndex(Quantity::Sigma)]);
}

//! Basic layers `first`..`last` are stack layers first + shift .. last + shift.
void LayersFromStack(ParameterSet& set, int first, int last, int shift, const LayerStack& stack) {
  for (int k = first; k <= last; ++k) MediumFromStack(set, LayerFirst(set, k), stack, k + shift);
}
void LayersToStack(const ParameterSet& set, int first, int last, int shift, LayerStack& stack) {
  for (int k = first; k <= last; ++k) MediumToStack(set, LayerFirst(set, k), stack, k + shift);
}

void RequireStackOf(const ParameterLayout& layout, const LayerStack& stack) {
  if (stack.layerCount() != layout.stackLayerCount()) {
    throw std::invalid_argument("the layer stack does not belong to this parameter set");
  }
}

void ApplyProfileFunction(const ParameterSet& set, LayerStack& stack,
                          const ProfileEvaluator& profile) {
  const ParameterLayout& layout = set.layout();
  const int f = layout.functionLayer;
  const int l = layout.layers;
  const int m = layout.functionSteps;
  LayersToStack(set, 1, f, 0, stack);
  const double rhoStart = f == 0 ? set[1] : set[layout.layerIndex(f, Quantity::Rho)];
  const double rhoEnd =
      f < l ? set[layout.layerIndex(f + 1, Quantity::Rho)] : set[layout.bulkIndex(Quantity::Rho)];
  if (m > 0 && !profile) throw std::invalid_argument("no profile function to evaluate");
  const std::array<double, 5> parameters = set.functionParameters();
  const double t = static_cast<double>(layout.stepThickness);
  for (int step = 1; step <= m; ++step) {
    const int medium = f + step;
    stack.setThickness(medium, t);
    stack.setRho(medium, profile(step * t, rhoStart, rhoEnd, parameters));
    stack.setImRho(medium, 0.0);
    stack.setSigma(medium, 0.0);
  }
  LayersToStack(set, f + 1, l, m, stack);
  EndsToStack(set, stack);
}

void ApplyMultipleLayers(const ParameterSet& set, LayerStack& stack) {
  const ParameterLayout& layout = set.layout();
  const int insert = layout.insertLayer;
  const int s = layout.stackedLayers;
  stack.reset(layout.stackLayerCount());
  LayersToStack(set, 1, insert, 0, stack);
  for (int period = 0; period < layout.repetitions; ++period) {
    for (int j = 1; j <= s; ++j) {
      MediumToStack(set, StackedFirst(set, j), stack, insert + period * s + j);
    }
  }
  LayersToStack(set, insert + 1, layout.layers, layout.repetitions * s, stack);
  EndsToStack(set, stack);
}

}  // namespace

ParameterSet::ParameterSet(ParameterLayout layout) : layout_(std::move(layout)) {
  RequireFits(layout_);
  values_.assign(static_cast<std::size_t>(StorageEnd(layout_)) + 1, 0.0);
}

double& ParameterSet::operator[](int index) {
  // The unlisted function parameters share their numbers with the entries after the model's;
  // those entries win, and functionParameters() reads the hidden ones directly.
  if (index > count() && !extras_.empty()) {
    return extras_.at(static_cast<std::size_t>(index - count() - 1));
  }
  return values_.at(static_cast<std::size_t>(index));
}

std::array<double, 5> ParameterSet::functionParameters() const {
  if (layout_.type != SampleType::ProfileFunction) return {0, 0, 0, 0, 0};
  std::array<double, 5> parameters{};
  for (int i = 1; i <= 5; ++i) {
    parameters[static_cast<std::size_t>(i - 1)] =
        values_.at(static_cast<std::size_t>(layout_.functionParameterIndex(i)));
  }
  return parameters;
}

ParameterSet CollectParameterSet(const SampleModel& model, const LayerStack& stack) {
  ParameterSet set(LayoutOf(model));
  const ParameterLayout& layout = set.layout();
  RequireStackOf(layout, stack);
  switch (layout.type) {
    case SampleType::IndependentLayers:
    case SampleType::SymmetricFilm: {
      const auto values = stack.values();
      for (int i = 1; i <= layout.count(); ++i) set[i] = values[static_cast<std::size_t>(i) + 5];
      break;
    }
    case SampleType::ProfileFunction:
      LayersFromStack(set, 1, layout.functionLayer, 0, stack);
      LayersFromStack(set, layout.functionLayer + 1, layout.layers, layout.functionSteps, stack);
      EndsFromStack(set, stack);
      for (int i = 1; i <= 5; ++i) {
        set[layout.functionParameterIndex(i)] =
            model.function.parameters[static_cast<std::size_t>(i - 1)];
      }
      break;
    case SampleType::MultipleLayers: {
      const int periods = layout.repetitions * layout.stackedLayers;
      LayersFromStack(set, 1, layout.insertLayer, 0, stack);
      LayersFromStack(set, layout.insertLayer + 1, layout.layers, periods, stack);
      EndsFromStack(set, stack);
      for (int j = 1; j <= layout.stackedLayers; ++j) {
        MediumFromStack(set, StackedFirst(set, j), stack, layout.insertLayer + j);
      }
      break;
    }
  }
  return set;
}

void ApplyParameterSet(const ParameterSet& set, LayerStack& stack,
                       const ProfileEvaluator& profile) {
  const ParameterLayout& layout = set.layout();
  switch (layout.type) {
    case SampleType::IndependentLayers:
    case SampleType::SymmetricFilm: {
      if (stack.layerCount() != layout.stackLayerCount()) stack.reset(layout.stackLayerCount());
      const auto values = stack.values();
      for (int i = 1; i <= layout.count(); ++i) values[static_cast<std::size_t>(i) + 5] = set[i];
      break;
    }
    case SampleType::ProfileFunction:
      if (stack.layerCount() != layout.stackLayerCount()) stack.reset(layout.stackLayerCount());
      ApplyProfileFunction(set, stack, profile);
      break;
    case SampleType::MultipleLayers:
      ApplyMultipleLayers(set, stack);
      break;
  }
}

}  // namespace quorrel
