#include "physics/reflectance_batch.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "common/error.h"
#include "physics/accurate_smearing.h"
#include "physics/fast/fast_reflectance.h"
#include "physics/resolution_samples.h"

namespace quorrel {

namespace {

//! out[k][i] = Reflectance(*stacks[k], qz[i]).
void ReflectanceOfStacks(std::span<const LayerStack* const> stacks, std::span<const double> qz,
                         std::span<const std::span<double>> out, KernelKind kind,
                         fast::Threading threading) {
  if (kind == KernelKind::Fast) {
    fast::FastReflectance(stacks, qz, out, {.threading = threading});
    return;
  }
  if (out.size() != stacks.size()) throw std::invalid_argument("batch sizes differ");
  ReflectanceWorkspace workspace;
  for (std::size_t k = 0; k < stacks.size(); ++k) {
    if (out[k].size() != qz.size()) throw std::invalid_argument("batch sizes differ");
    workspace.reserve(stacks[k]->layerCount());
    for (std::size_t i = 0; i < qz.size(); ++i) {
      try {
        out[k][i] = Reflectance(*stacks[k], qz[i], workspace);
      } catch (const ArithmeticFault& fault) {
        throw fault.atQz(qz[i]);
      }
    }
  }
}

}  // namespace

void ReflectanceBatch(const LayerStack& stack, std::span<const double> qz, std::span<double> out,
                      KernelKind kind, fast::Threading threading) {
  if (out.size() != qz.size()) throw std::invalid_argument("batch sizes differ");
  const LayerStack* const stacks[] = {&stack};
  const std::span<double> outs[] = {out};
  ReflectanceOfStacks(stacks, qz, outs, kind, threading);
}

void PointReflectivityBatch(const LayerStack& stack, PointOptions options,
                            std::span<const double> background, std::span<const double> resolution,
                            std::span<const double> qz, std::span<double> out, KernelKind kind,
                            fast::Threading threading) {
  const LayerStack* const stacks[] = {&stack};
  const std::span<double> outs[] = {out};
  PointReflectivityBatch(stacks, options, background, resolution, qz, outs, kind, threading);
}

void PointReflectivityBatch(std::span<const LayerStack* const> stacks, PointOptions options,
                            std::span<const double> background, std::span<const double> resolution,
                            std::span<const double> qz, std::span<const std::span<double>> out,
                            KernelKind kind, fast::Threading threading) {
  const std::size_t n = qz.size();
  bool sizesDiffer = out.size() != stacks.size() ||
                     (options.addBackground && background.size() != n) ||
                     (options.smear && resolution.size() != n);
  for (const std::span<double> values : out) sizesDiffer = sizesDiffer || values.size() != n;
  if (sizesDiffer) throw std::invalid_argument("batch sizes differ");
  if (!options.smear) {
    ReflectanceOfStacks(stacks, qz, out, kind, threading);
  } else if (options.kernel == SmearingKernel::Accurate) {
    for (std::size_t k = 0; k < stacks.size(); ++k) {
      AccurateSmearedBatch(*stacks[k], resolution, qz, out[k], kind, threading);
    }
  } else {
    // The nine kernel samples of every point, in the order they are accumulated.
    constexpr auto kSamples = static_cast<std::size_t>(kStandardSamples);
    // Kept per thread between calls, so that a fit's small curves allocate nothing.
    thread_local std::vector<double> samples, values;
    thread_local std::vector<std::span<double>> valueRows;
    samples.resize(n * kSamples);
    for (std::size_t i = 0; i < n; ++i) {
      const auto positions = StandardSamplePositions(qz[i], resolution[i]);
      std::copy(positions.begin(), positions.end(),
                samples.begin() + static_cast<std::ptrdiff_t>(i * kSamples));
    }
    values.resize(stacks.size() * samples.size());
    valueRows.clear();
    for (std::size_t k = 0; k < stacks.size(); ++k) {
      valueRows.emplace_back(values.data() + k * samples.size(), samples.size());
    }
    ReflectanceOfStacks(stacks, samples, valueRows, kind, threading);
    for (std::size_t k = 0; k < stacks.size(); ++k) {
      for (std::size_t i = 0; i < n; ++i) {
        out[k][i] = StandardSmearedValue(valueRows[k].data() + i * kSamples);
      }
    }
  }
  for (std::size_t k = 0; k < stacks.size(); ++k) {
    for (std::size_t i = 0; i < n; ++i) {
      if (options.addBackground) out[k][i] += background[i];
      if (!std::isfinite(out[k][i])) throw ArithmeticFault("overflow in the reflectivity", qz[i]);
    }
  }
}

}  // namespace quorrel
