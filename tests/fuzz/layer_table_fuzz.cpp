// The layer table reader, and the four spin channels of every table it reads, by the scalar and
// the vectorised kernel: each either reports an ArithmeticFault or gives finite, non-negative
// reflectivities. (Their safe ranges differ at absurd densities, so they may differ in which
// of the two they do.)

#include <cmath>
#include <cstdlib>
#include <vector>

#include "common/error.h"
#include "files/layer_table_file.h"
#include "fuzz_support.h"
#include "physics/spin_flip_reflectance.h"

using namespace quorrel;

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

//! The channels at `qz`, or false when the kernel reports a fault.
bool Channels(const SpinFlipStack& stack, const std::vector<double>& qz, KernelKind kind,
              std::vector<SpinReflectances>& out) {
  out.assign(qz.size(), {});
  try {
    SpinFlipReflectanceBatch(stack, qz, out, kind);
  } catch (const ArithmeticFault&) {
    return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  static fuzz::ScratchFile scratch(".layers");
  const std::filesystem::path& path = scratch.write(fuzz::AsText(bytes, size));
  LayerTable table;
  try {
    table = ReadLayerTable(path);
  } catch (const FileError&) {
    return 0;
  }
  Require(table.stack.media.size() >= 2);
  if (table.stack.media.size() > 64) return 0;  // the kernels' cost, not their correctness
  // The guide field's angle and strength from the first numbers, so that they vary too.
  table.stack.aguide = table.stack.media.front().thetaM;
  table.stack.field = std::fmod(std::fabs(table.stack.media.back().sigma), 10.0);
  const std::vector<double> qz = {0, 0.004, 0.011, 0.03, 0.1, 0.25, -0.02, 0.5, 1e-6};
  for (const KernelKind kind : {KernelKind::Reference, KernelKind::Fast}) {
    std::vector<SpinReflectances> out;
    if (!Channels(table.stack, qz, kind, out)) continue;
    for (const SpinReflectances& r : out) {
      for (double value : {r.downDown, r.downUp, r.upDown, r.upUp}) {
        Require(std::isfinite(value) && value >= 0);
      }
    }
  }
  return 0;
}
