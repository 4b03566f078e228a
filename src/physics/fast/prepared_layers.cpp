#include "physics/fast/prepared_layers.h"

#include <cmath>
#include <numbers>

namespace quorrel::fast {

namespace {
constexpr double kFourPi = 4 * std::numbers::pi;
// Below three periods the power saves nothing over walking the layers.
constexpr int kFewestPoweredRepeats = 3;
}  // namespace

void PreparedLayers::prepare(const LayerStack& stack) {
  const int n = stack.layerCount();
  const auto media = static_cast<std::size_t>(n) + 2;
  fourPiRho_.resize(media);
  fourPiImRho_.resize(media);
  twoThickness_.resize(media);
  roughnessFactor_.resize(media);
  for (int j = 0; j <= n + 1; ++j) {
    const auto at = static_cast<std::size_t>(j);
    // The products the scalar kernel forms, so both start from the same numbers.
    fourPiRho_[at] = kFourPi * stack.rho(j);
    fourPiImRho_[at] = kFourPi * stack.imRho(j);
    twoThickness_[at] = 2 * std::fabs(stack.thickness(j));
    const double sigma = stack.sigma(j);
    roughnessFactor_[at] = -2 * (sigma * sigma);
  }
  view_ = PreparedStack{};
  view_.layerCount = n;
  view_.fourPiRho = fourPiRho_.data();
  view_.fourPiImRho = fourPiImRho_.data();
  view_.twoThickness = twoThickness_.data();
  view_.roughnessFactor = roughnessFactor_.data();
  if (stack.repeatedBlock()) adoptRepeatedBlock(*stack.repeatedBlock());
}

bool PreparedLayers::sameMedium(int a, int b) const {
  const auto i = static_cast<std::size_t>(a);
  const auto j = static_cast<std::size_t>(b);
  return fourPiRho_[i] == fourPiRho_[j] && fourPiImRho_[i] == fourPiImRho_[j] &&
         twoThickness_[i] == twoThickness_[j] && roughnessFactor_[i] == roughnessFactor_[j];
}

void PreparedLayers::adoptRepeatedBlock(const RepeatedBlock& block) {
  const long long first = block.firstLayer;
  const long long k = block.layersPerPeriod;
  const long long repeats = block.repetitions;
  if (repeats < kFewestPoweredRepeats || k < 1 || first < 1 ||
      first + (repeats - 1) * k > view_.layerCount) {
    return;
  }
  // The power replaces the steps through media first .. first + (repeats - 1)·k, which must
  // repeat with period k; the block may have been edited since it was recorded.
  const int last = static_cast<int>(first + (repeats - 2) * k);
  for (int m = static_cast<int>(first); m <= last; ++m) {
    if (!sameMedium(m, m + static_cast<int>(k))) return;
  }
  view_.periodFirst = static_cast<int>(first);
  view_.periodLayers = static_cast<int>(k);
  view_.periodRepeats = static_cast<int>(repeats);
}

}  // namespace quorrel::fast
