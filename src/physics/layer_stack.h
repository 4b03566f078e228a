#pragma once
// The expanded sample that the kernel computes with: ambient, N calculation layers,
// substrate, each with thickness, density, absorption and roughness.

#include <optional>
#include <span>
#include <vector>

namespace quorrel {

//! Where a multilayer sits in the stack: `layersPerPeriod` layers from medium `firstLayer` on,
//! repeated `repetitions` times.
struct RepeatedBlock {
  int firstLayer = 1;
  int layersPerPeriod = 1;
  int repetitions = 1;
};

//! Flat value layout of the stack (fit parameter i is value i + 5):
//! 6, 7 ambient rho, Im(rho); 4j+4 .. 4j+7 d, rho, Im(rho), sigma of layer j = 1..N;
//! 4N+8 .. 4N+10 rho, Im(rho), sigma of the substrate. Media are numbered 0 (ambient),
//! 1..N (layers), N+1 (substrate); the accessors hide the offsets.
class LayerStack {
 public:
  //! Number of values the layout of the most layers holds (indices 0 .. 40006); a stack
  //! holds 4N + 11 of them, up to the substrate's sigma.
  static constexpr int kValueCount = 40007;
  //! The largest number of calculation layers that the recursion accepts.
  static constexpr int kMaxLayers = 9998;

  //! An all-zero stack of `layerCount` layers (0 .. kMaxLayers).
  explicit LayerStack(int layerCount = 0);

  int layerCount() const { return layerCount_; }
  //! Zeroes every value and sets the layer count.
  void reset(int layerCount);

  //! Medium j: 0 ambient, 1..N layers, N+1 substrate. Thickness and sigma of the ambient are
  //! always 0 and the substrate's thickness is 0; writing them is an error.
  double thickness(int medium) const;
  double rho(int medium) const;
  double imRho(int medium) const;
  double sigma(int medium) const;
  void setThickness(int medium, double value);
  void setRho(int medium, double value);
  void setImRho(int medium, double value);
  void setSigma(int medium, double value);

  //! The multilayer the stack was built with, if any. A hint for the fast kernel, which checks
  //! that the media really repeat before it evaluates the block as a power of one period.
  const std::optional<RepeatedBlock>& repeatedBlock() const { return repeatedBlock_; }
  void setRepeatedBlock(std::optional<RepeatedBlock> block) { repeatedBlock_ = block; }

  //! The raw layout, for the fit's parameter numbering.
  std::span<const double> values() const { return values_; }
  std::span<double> values() { return values_; }

 private:
  int index(int medium, int quantity) const;

  int layerCount_ = 0;
  std::vector<double> values_;
  std::optional<RepeatedBlock> repeatedBlock_;
};

}  // namespace quorrel
