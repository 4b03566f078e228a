#pragma once
// The accurate resolution kernel: the Gaussian average of the reflectance by Gauss-Legendre
// quadrature, with as many nodes as the stack's fringes need under the kernel and panels that
// end at the critical edges, where the reflectance has a kink.

#include <span>
#include <vector>

#include "physics/layer_stack.h"
#include "physics/reflectance_batch.h"

namespace quorrel {

//! The kernel reaches this many standard deviations to either side of a point, as the
//! community's reference quadrature does.
inline constexpr double kAccurateReach = 3.5;

//! The Qz at which the kernel samples one point and the weights of the samples (sum 1).
struct KernelSamples {
  std::vector<double> qz;
  std::vector<double> weights;
};

//! The critical edges 4·√(π·(ρ_j − ρ_0)) of the media denser than the ambient, ascending and
//! mirrored to negative Qz, where the kernel may reach.
std::vector<double> CriticalEdges(const LayerStack& stack);

//! The nodes a point takes: enough for the fastest fringe of a stack `thickness` Å thick
//! under a Gaussian of `sigma` Å⁻¹, from 24 up to 2048.
int AccurateNodeCount(double sigma, double thickness);

//! The samples of the Gaussian of standard deviation `sigma` around `qz`, cut at
//! ±kAccurateReach standard deviations, in Gauss-Legendre panels split at the `edges`
//! (ascending) that fall inside, at most eight of them, those nearest `qz`.
KernelSamples AccurateSamples(double qz, double sigma, double thickness,
                              std::span<const double> edges);

//! out[i] = the reflectance averaged over a Gaussian of standard deviation resolution[i] / 2
//! around qz[i] (the half-width b of the nine-point kernel is two standard deviations).
void AccurateSmearedBatch(const LayerStack& stack, std::span<const double> resolution,
                          std::span<const double> qz, std::span<double> out, KernelKind kind,
                          fast::Threading threading = fast::Threading::SharedPool);

}  // namespace quorrel
