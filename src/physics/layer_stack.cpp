#include "physics/layer_stack.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace quorrel {

namespace {
enum Quantity { kThickness = 0, kRho = 1, kImRho = 2, kSigma = 3 };
}

LayerStack::LayerStack(int layerCount) { reset(layerCount); }

void LayerStack::reset(int layerCount) {
  if (layerCount < 0 || layerCount > kMaxLayers) {
    throw std::out_of_range("layer count " + std::to_string(layerCount) + " outside 0.." +
                            std::to_string(kMaxLayers));
  }
  layerCount_ = layerCount;
  repeatedBlock_.reset();
  // As many values as the layout of this layer count uses, up to the substrate's sigma.
  values_.assign(static_cast<std::size_t>(4 * layerCount + 11), 0.0);
}

int LayerStack::index(int medium, int quantity) const {
  const int n = layerCount_;
  if (medium < 0 || medium > n + 1) throw std::out_of_range("no medium " + std::to_string(medium));
  if (medium == 0) {
    if (quantity == kRho) return 6;
    if (quantity == kImRho) return 7;
    return -1;
  }
  if (medium == n + 1) {
    if (quantity == kThickness) return -1;
    return 4 * n + 7 + quantity;  // rho 4N+8, Im(rho) 4N+9, sigma 4N+10
  }
  return 4 * medium + 4 + quantity;
}

double LayerStack::thickness(int medium) const {
  const int i = index(medium, kThickness);
  return i < 0 ? 0.0 : values_[static_cast<std::size_t>(i)];
}
double LayerStack::rho(int medium) const {
  return values_[static_cast<std::size_t>(index(medium, kRho))];
}
double LayerStack::imRho(int medium) const {
  return values_[static_cast<std::size_t>(index(medium, kImRho))];
}
double LayerStack::sigma(int medium) const {
  const int i = index(medium, kSigma);
  return i < 0 ? 0.0 : values_[static_cast<std::size_t>(i)];
}

namespace {
void Store(std::vector<double>& values, int i, double value, const char* what) {
  if (i < 0) throw std::out_of_range(std::string("this medium has no ") + what);
  values[static_cast<std::size_t>(i)] = value;
}
}  // namespace

void LayerStack::setThickness(int medium, double value) {
  Store(values_, index(medium, kThickness), value, "thickness");
}
void LayerStack::setRho(int medium, double value) {
  Store(values_, index(medium, kRho), value, "rho");
}
void LayerStack::setImRho(int medium, double value) {
  Store(values_, index(medium, kImRho), value, "Im(rho)");
}
void LayerStack::setSigma(int medium, double value) {
  Store(values_, index(medium, kSigma), value, "sigma");
}

}  // namespace quorrel
