#include "physics/fast/spin_flip_fast.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/error.h"
#include "physics/fast/compute_pool.h"
#include "physics/fast/spin_flip_lane_kernel.h"
#include "physics/spin_flip_reflectance.h"

namespace quorrel::fast {

namespace {

// As for the non-magnetic kernel: a chunk is about 0.1 ms of work, in whole blocks of lanes. A
// spin-flip layer-point costs several non-magnetic ones.
constexpr std::size_t kChunkWork = 8192;
constexpr std::size_t kChunkGranule = 8;

SpinFlipLaneKernel SpinFlipKernelFor(InstructionSet set) {
  switch (set) {
    case InstructionSet::Avx512:
      return spin_avx512::EvaluateSpinFlipSlice;
    case InstructionSet::Avx2:
      return spin_avx2::EvaluateSpinFlipSlice;
    case InstructionSet::Generic:
      break;
  }
  return spin_generic::EvaluateSpinFlipSlice;
}

//! SpinFlipIncidentEnergy; false where forming it faults.
bool IncidentEnergy(const PreparedSpinFlip& p, double qz, int spin, double& kSquared) {
  try {
    kSquared = SpinFlipIncidentEnergy(p, qz, spin);
  } catch (const ArithmeticFault&) {
    return false;
  }
  return true;
}

}  // namespace

void FastSpinFlipReflectance(const PreparedSpinFlip& stack, std::span<const double> qz,
                             std::span<SpinReflectances> out, const FastOptions& options) {
  const std::size_t n = qz.size();
  if (out.size() != n) throw std::invalid_argument("batch sizes differ");
  if (n == 0) return;
  if (!Supports(options.instructionSet)) {
    throw std::invalid_argument(std::string("this processor does not run the ") +
                                Name(options.instructionSet) + " kernel");
  }
  // One row of points per incident energy: one when the ambient has no field, else one per
  // incident spin.
  const std::size_t passes = stack.zeemanSplit ? 2 : 1;
  std::vector<double> kSquared(passes * n, 0.0);
  std::vector<unsigned char> needsReference(n, 0);
  for (std::size_t pass = 0; pass < passes; ++pass) {
    for (std::size_t i = 0; i < n; ++i) {
      if (!IncidentEnergy(stack, qz[i], static_cast<int>(pass), kSquared[pass * n + i])) {
        needsReference[i] = 1;
      }
    }
  }
  std::vector<double> intensities(4 * passes * n);
  std::vector<unsigned char> referRows(passes * n, 0);
  std::vector<double> overlap;
  for (const SpinMatrix& m : stack.overlap) {
    for (const Complex& z : m) {
      overlap.push_back(z.re);
      overlap.push_back(z.im);
    }
  }
  const SpinFlipView view{
      stack.layerCount,         stack.fourPiRhoUp.data(), stack.fourPiRhoDown.data(),
      stack.fourPiImRho.data(), stack.thickness.data(),   stack.roughnessFactor.data(),
      overlap.data(),           stack.aligned.data()};
  const std::size_t perPoint = static_cast<std::size_t>(stack.layerCount) + 1;
  const std::size_t chunkPoints =
      ((kChunkWork + perPoint - 1) / perPoint + kChunkGranule - 1) / kChunkGranule * kChunkGranule;
  const std::size_t chunksPerPass = (n + chunkPoints - 1) / chunkPoints;
  const SpinFlipLaneKernel kernel = SpinFlipKernelFor(options.instructionSet);
  const auto evaluateChunk = [&](std::size_t chunk) {
    const std::size_t pass = chunk / chunksPerPass;
    const std::size_t begin = (chunk % chunksPerPass) * chunkPoints;
    const std::size_t row = pass * n + begin;
    kernel(view, {kSquared.data() + row, intensities.data() + 4 * row, referRows.data() + row,
                  std::min(chunkPoints, n - begin)});
  };
  const std::size_t chunks = passes * chunksPerPass;
  if (options.threading == Threading::SharedPool) {
    ComputePool::Shared().run(chunks, evaluateChunk);
  } else {
    for (std::size_t chunk = 0; chunk < chunks; ++chunk) evaluateChunk(chunk);
  }

  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t pass = 0; pass < passes; ++pass) needsReference[i] |= referRows[pass * n + i];
    if (needsReference[i]) continue;
    // X[s][t] row-major: 0 ++, 1 reflected up from down, 2 reflected down from up, 3 --.
    const double* a = intensities.data() + 4 * i;
    const double* b = intensities.data() + 4 * ((passes - 1) * n + i);
    out[i] = {b[3], b[1], a[2], a[0]};
  }
  // Points the lanes left alone, in ascending order, so that a fault names the first of them.
  for (std::size_t i = 0; i < n; ++i) {
    if (!needsReference[i]) continue;
    try {
      out[i] = SpinFlipReflectance(stack, qz[i]);
    } catch (const ArithmeticFault& fault) {
      throw fault.atQz(qz[i]);
    }
  }
}

}  // namespace quorrel::fast
