#include "physics/fast/fast_reflectance.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <numbers>
#include <stdexcept>
#include <vector>

#include "common/error.h"
#include "physics/cxmath.h"
#include "physics/fast/compute_pool.h"
#include "physics/fast/prepared_layers.h"
#include "physics/reflectance.h"

namespace quorrel::fast {

namespace {

constexpr double kFourPi = 4 * std::numbers::pi;
// A chunk of a split batch is at least this many layer-points: about 70 µs of the set's work
// on one core. Measured by BM_SplitBreakEven on a shared two-core AVX-512 machine: two chunks
// of 35 µs lost against one thread, two of 70 µs won (310 against 204 µs) while the second
// core had room; when other processes kept both cores busy, a split only broke even at any
// size. The sets differ in speed (at two layers generic 28, AVX2 10 and AVX-512 6 ns per
// layer-point), not in the cost of the hand-off.
std::size_t ChunkWork(InstructionSet set) {
  switch (set) {
    case InstructionSet::Avx512:
      return 12288;
    case InstructionSet::Avx2:
      return 6656;
    case InstructionSet::Generic:
      break;
  }
  return 2560;
}
// Chunks are whole blocks of the widest lanes.
constexpr std::size_t kChunkGranule = 8;

//! k² of the vacuum wave number at `qz` as Reflectance forms it; false where forming it would
//! fault.
bool VacuumWaveNumberSquared(const LayerStack& stack, double qz, double& kSquared) {
  const Complex ambient{qz * qz / 4 + kFourPi * stack.rho(0), kFourPi * stack.imRho(0)};
  double k = 0;
  if (ambient.im == 0.0 && ambient.re >= 1e-298 && std::isfinite(ambient.re)) {
    // The root of a positive real is exact in both branches of the scalar operations.
    k = std::sqrt(ambient.re);
  } else {
    try {
      k = CAbs(CSqrt(ambient));
    } catch (const ArithmeticFault&) {
      return false;
    }
  }
  kSquared = k * k;
  return std::isfinite(kSquared);
}

std::size_t PointsPerChunk(int layerCount, std::size_t chunkWork) {
  const std::size_t perPoint = static_cast<std::size_t>(layerCount) + 1;
  const std::size_t points = (chunkWork + perPoint - 1) / perPoint;
  return (points + kChunkGranule - 1) / kChunkGranule * kChunkGranule;
}

}  // namespace

void FastReflectance(const LayerStack& stack, std::span<const double> qz, std::span<double> out,
                     const FastOptions& options) {
  const LayerStack* const stacks[] = {&stack};
  const std::span<double> outs[] = {out};
  FastReflectance(stacks, qz, outs, options);
}

namespace {

//! What one batch works with besides its inputs and outputs, kept per thread between calls so
//! that a batch of a small model allocates nothing.
struct BatchStorage {
  std::vector<PreparedLayers> layers;
  std::vector<double> kSquared;
  std::vector<unsigned char> needsReference;
  std::vector<std::size_t> chunkPoints, firstChunk;
};

//! The chunks of one batch, as the pool's workers see them.
struct Batch {
  std::span<const double> qz;
  std::span<const std::span<double>> out;
  BatchStorage& storage;
  LaneKernel kernel;
  PowerCounts counts;
  std::mutex countsMutex;

  void evaluate(std::size_t chunk) {
    const std::size_t n = qz.size();
    const auto& firstChunk = storage.firstChunk;
    const std::size_t k = static_cast<std::size_t>(
        std::upper_bound(firstChunk.begin(), firstChunk.end(), chunk) - firstChunk.begin() - 1);
    const std::size_t begin = (chunk - firstChunk[k]) * storage.chunkPoints[k];
    const std::size_t count = std::min(storage.chunkPoints[k], n - begin);
    const PreparedStack& stack = storage.layers[k].view();
    // A real ambient medium: the lanes form k² themselves.
    const double* kSquared =
        stack.fourPiImRho[0] == 0.0 ? nullptr : storage.kSquared.data() + k * n + begin;
    PowerCounts chunkCounts;
    kernel(stack,
           {qz.data() + begin, kSquared, out[k].data() + begin,
            storage.needsReference.data() + k * n + begin, count},
           chunkCounts);
    if (chunkCounts.powered + chunkCounts.walked == 0) return;
    const std::lock_guard lock(countsMutex);
    counts.powered += chunkCounts.powered;
    counts.walked += chunkCounts.walked;
  }
};

}  // namespace

void FastReflectance(std::span<const LayerStack* const> stacks, std::span<const double> qz,
                     std::span<const std::span<double>> out, const FastOptions& options) {
  const std::size_t n = qz.size();
  if (out.size() != stacks.size()) throw std::invalid_argument("batch sizes differ");
  for (const std::span<double> values : out) {
    if (values.size() != n) throw std::invalid_argument("batch sizes differ");
  }
  if (n == 0 || stacks.empty()) return;
  if (!Supports(options.instructionSet)) {
    throw std::invalid_argument(std::string("this processor does not run the ") +
                                Name(options.instructionSet) + " kernel");
  }
  const std::size_t stackCount = stacks.size();
  thread_local BatchStorage storage;
  if (storage.layers.size() < stackCount) storage.layers.resize(stackCount);
  storage.needsReference.assign(stackCount * n, 0);
  storage.chunkPoints.resize(stackCount);
  storage.firstChunk.assign(stackCount + 1, 0);
  for (std::size_t k = 0; k < stackCount; ++k) {
    const LayerStack& stack = *stacks[k];
    storage.layers[k].prepare(stack);
    if (stack.imRho(0) != 0.0) {
      // k² depends on the ambient medium, which a fit may vary: one row of points per stack.
      if (storage.kSquared.size() < stackCount * n) storage.kSquared.resize(stackCount * n);
      for (std::size_t i = 0; i < n; ++i) {
        double& kSquared = storage.kSquared[k * n + i];
        if (!VacuumWaveNumberSquared(stack, qz[i], kSquared)) {
          storage.needsReference[k * n + i] = 1;
          kSquared = 0;
        }
      }
    }
    storage.chunkPoints[k] = PointsPerChunk(
        stack.layerCount(),
        options.chunkWork ? options.chunkWork : ChunkWork(options.instructionSet));
    storage.firstChunk[k + 1] = storage.firstChunk[k] +
                                (n + storage.chunkPoints[k] - 1) / storage.chunkPoints[k];
  }

  Batch batch{qz, out, storage, KernelFor(options.instructionSet), {}, {}};
  const std::size_t chunks = storage.firstChunk[stackCount];
  if (options.threading == Threading::SharedPool) {
    // Even a single chunk takes a computing slot, so that concurrent calculations share the cores.
    ComputePool::Shared().run(chunks, [&batch](std::size_t chunk) { batch.evaluate(chunk); });
  } else {
    for (std::size_t chunk = 0; chunk < chunks; ++chunk) batch.evaluate(chunk);
  }
  if (options.powerCounts) *options.powerCounts = batch.counts;

  // Points the lanes left alone, stack by stack in ascending order, so that a fault names the
  // first of them.
  const auto first = std::find(storage.needsReference.begin(), storage.needsReference.end(), 1);
  if (first == storage.needsReference.end()) return;
  ReflectanceWorkspace workspace;
  for (std::size_t k = 0; k < stackCount; ++k) {
    for (std::size_t i = 0; i < n; ++i) {
      if (!storage.needsReference[k * n + i]) continue;
      try {
        out[k][i] = Reflectance(*stacks[k], qz[i], workspace);
      } catch (const ArithmeticFault& fault) {
        throw fault.atQz(qz[i]);
      }
    }
  }
}

}  // namespace quorrel::fast
