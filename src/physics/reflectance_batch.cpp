#include "physics/reflectance_batch.h"

#include <cmath>
#include <stdexcept>
#include <vector>

#include "common/error.h"
#include "physics/accurate_smearing.h"
#include "physics/fast/fast_reflectance.h"

namespace quorrel {

void ReflectanceBatch(const LayerStack& stack, std::span<const double> qz, std::span<double> out,
                      KernelKind kind) {
  if (out.size() != qz.size()) throw std::invalid_argument("batch sizes differ");
  if (kind == KernelKind::Fast) {
    fast::FastReflectance(stack, qz, out);
    return;
  }
  ReflectanceWorkspace workspace;
  workspace.reserve(stack.layerCount());
  for (std::size_t i = 0; i < qz.size(); ++i) {
    try {
      out[i] = Reflectance(stack, qz[i], workspace);
    } catch (const ArithmeticFault& fault) {
      throw fault.atQz(qz[i]);
    }
  }
}

void PointReflectivityBatch(const LayerStack& stack, PointOptions options,
                            std::span<const double> background, std::span<const double> resolution,
                            std::span<const double> qz, std::span<double> out, KernelKind kind) {
  const std::size_t n = qz.size();
  if (out.size() != n || (options.addBackground && background.size() != n) ||
      (options.smear && resolution.size() != n)) {
    throw std::invalid_argument("batch sizes differ");
  }
  if (!options.smear) {
    ReflectanceBatch(stack, qz, out, kind);
  } else if (options.kernel == SmearingKernel::Accurate) {
    AccurateSmearedBatch(stack, resolution, qz, out, kind);
  } else {
    // The nine kernel samples of every point, in the order they are accumulated.
    constexpr int kSamples = 9;
    constexpr double kWeights[kSamples] = {1, 0.135, 0.135, 0.325, 0.325, 0.605, 0.605, 0.88, 0.88};
    std::vector<double> samples(n * kSamples);
    for (std::size_t i = 0; i < n; ++i) {
      const double b = resolution[i];
      const double positions[kSamples] = {qz[i],          qz[i] - b,      qz[i] + b,
                                          qz[i] - 0.75 * b, qz[i] + 0.75 * b, qz[i] - b / 2,
                                          qz[i] + b / 2,  qz[i] - b / 4,  qz[i] + b / 4};
      for (int s = 0; s < kSamples; ++s) samples[i * kSamples + static_cast<std::size_t>(s)] = positions[s];
    }
    std::vector<double> values(samples.size());
    ReflectanceBatch(stack, samples, values, kind);
    for (std::size_t i = 0; i < n; ++i) {
      double value = values[i * kSamples];
      for (int s = 1; s < kSamples; ++s) {
        value += kWeights[s] * values[i * kSamples + static_cast<std::size_t>(s)];
      }
      out[i] = value / 4.89;
    }
  }
  for (std::size_t i = 0; i < n; ++i) {
    if (options.addBackground) out[i] += background[i];
    if (!std::isfinite(out[i])) throw ArithmeticFault("overflow in the reflectivity", qz[i]);
  }
}

}  // namespace quorrel
