#include "physics/spin_flip_point.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <vector>

#include "common/error.h"
#include "physics/accurate_smearing.h"
#include "physics/resolution_samples.h"
#include "physics/spin_flip_reflectance.h"

namespace quorrel {

namespace {

//! One point's samples: where, and with which weight.
struct Samples {
  std::vector<double> qz, weights;
  std::vector<std::size_t> ends;  // one past each point's last sample
};

//! The critical edges that incident spin `sign` (+1 up, −1 down) meets: those of the densities
//! ρ ± the magnetisation's projection on the guide field, exactly the spin states' edges when
//! the magnetisation is collinear. They only place the accurate kernel's panels.
std::vector<double> SpinStateEdges(const SpinFlipStack& stack, double sign) {
  LayerStack states(stack.layerCount());
  const double guide = std::sin(stack.aguide * std::numbers::pi / 180);
  for (int j = 0; j <= stack.layerCount() + 1; ++j) {
    const MagneticMedium& m = stack.media[static_cast<std::size_t>(j)];
    const double along =
        j == 0 ? 0.0 : m.magneticRho * std::sin(m.thetaM * std::numbers::pi / 180) * guide;
    states.setRho(j, m.rho + sign * along);
  }
  return CriticalEdges(states);
}

//! Channel c of r: R--, R-+, R+-, R++.
double Channel(const SpinReflectances& r, std::size_t c) {
  switch (c) {
    case 0:
      return r.downDown;
    case 1:
      return r.downUp;
    case 2:
      return r.upDown;
    default:
      return r.upUp;
  }
}

Samples KernelSamplesOf(const SpinFlipStack& stack, PointOptions options,
                        std::span<const double> resolution, std::span<const double> qz,
                        double sign) {
  Samples samples;
  if (!options.smear) {
    samples.qz.assign(qz.begin(), qz.end());
    for (std::size_t i = 0; i < qz.size(); ++i) samples.ends.push_back(i + 1);
    return samples;
  }
  if (options.kernel == SmearingKernel::Standard) {
    for (std::size_t i = 0; i < qz.size(); ++i) {
      const auto positions = StandardSamplePositions(qz[i], resolution[i]);
      samples.qz.insert(samples.qz.end(), positions.begin(), positions.end());
      samples.ends.push_back(samples.qz.size());
    }
    return samples;
  }
  double thickness = 0;
  for (int j = 1; j <= stack.layerCount(); ++j) {
    thickness += std::fabs(stack.media[static_cast<std::size_t>(j)].thickness);
  }
  const std::vector<double> edges = SpinStateEdges(stack, sign);
  for (std::size_t i = 0; i < qz.size(); ++i) {
    const double sigma = std::fabs(resolution[i] / 2);
    if (sigma == 0) {
      samples.qz.push_back(qz[i]);
      samples.weights.push_back(1.0);
    } else {
      const KernelSamples point = AccurateSamples(qz[i], sigma, thickness, edges);
      samples.qz.insert(samples.qz.end(), point.qz.begin(), point.qz.end());
      samples.weights.insert(samples.weights.end(), point.weights.begin(), point.weights.end());
    }
    samples.ends.push_back(samples.qz.size());
  }
  return samples;
}

}  // namespace

void SpinFlipPointBatch(const SpinFlipStack& stack, PointOptions options,
                        std::span<const double> background, std::span<const double> resolution,
                        std::span<const double> qz, std::span<SpinReflectances> out,
                        KernelKind kind, fast::Threading threading) {
  const std::size_t n = qz.size();
  if (out.size() != n || (options.addBackground && background.size() != n) ||
      (options.smear && resolution.size() != n)) {
    throw std::invalid_argument("batch sizes differ");
  }
  // The accurate kernel places its panels at the edges that each incident spin meets, so its
  // channels are smeared over the samples of their incident spin.
  const bool perSpin = options.smear && options.kernel == SmearingKernel::Accurate;
  const Samples up = KernelSamplesOf(stack, options, resolution, qz, 1.0);
  std::vector<SpinReflectances> upValues(up.qz.size());
  SpinFlipReflectanceBatch(stack, up.qz, upValues, kind, threading);
  Samples down;
  std::vector<SpinReflectances> downValues;
  if (perSpin) {
    down = KernelSamplesOf(stack, options, resolution, qz, -1.0);
    downValues.resize(down.qz.size());
    SpinFlipReflectanceBatch(stack, down.qz, downValues, kind, threading);
  }
  const bool standard = options.smear && options.kernel == SmearingKernel::Standard;
  std::size_t firstUp = 0, firstDown = 0;
  for (std::size_t i = 0; i < n; ++i) {
    std::array<double, 4> smeared{};
    for (std::size_t c = 0; c < smeared.size(); ++c) {
      // Channels 0 and 1 (R--, R-+) have the incident spin down.
      const bool fromDown = perSpin && c < 2;
      const Samples& samples = fromDown ? down : up;
      const std::vector<SpinReflectances>& values = fromDown ? downValues : upValues;
      const std::size_t first = fromDown ? firstDown : firstUp;
      if (standard) {
        std::array<double, kStandardSamples> channel;
        for (std::size_t s = 0; s < channel.size(); ++s) channel[s] = Channel(values[first + s], c);
        smeared[c] = StandardSmearedValue(channel.data());
      } else if (samples.weights.empty()) {
        smeared[c] = Channel(values[first], c);
      } else {
        for (std::size_t s = first; s < samples.ends[i]; ++s) {
          smeared[c] += samples.weights[s] * Channel(values[s], c);
        }
      }
      if (options.addBackground) smeared[c] += background[i];
      if (!std::isfinite(smeared[c])) throw ArithmeticFault("overflow in the reflectivity", qz[i]);
    }
    out[i] = {smeared[0], smeared[1], smeared[2], smeared[3]};
    firstUp = up.ends[i];
    if (perSpin) firstDown = down.ends[i];
  }
}

}  // namespace quorrel
