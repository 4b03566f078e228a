#pragma once
// Reflectance and the plotted point value over many Qz of one stack, or of several stacks,
// at once.

#include <span>

#include "physics/fast/fast_reflectance.h"
#include "physics/layer_stack.h"
#include "physics/reflectance.h"

namespace quorrel {

//! Which kernel evaluates a batch: the scalar reference recursion, or the fast one that
//! computes the same numbers.
enum class KernelKind { Reference, Fast };

//! out[i] = Reflectance(stack, qz[i]) for every i. ArithmeticFault carries the Qz at which it
//! happened. `threading` says whether the fast kernel may split the batch over the shared pool.
void ReflectanceBatch(const LayerStack& stack, std::span<const double> qz, std::span<double> out,
                      KernelKind kind = KernelKind::Fast,
                      fast::Threading threading = fast::Threading::SharedPool);

//! out[i] = PointReflectivity(stack, options, background[i], resolution[i], qz[i]) for every i,
//! with the kernel's samples accumulated in the same order; with the accurate kernel the
//! smeared value is AccurateSmearedBatch's. `background` may be empty when
//! options.addBackground is off, `resolution` when options.smear is off.
void PointReflectivityBatch(const LayerStack& stack, PointOptions options,
                            std::span<const double> background, std::span<const double> resolution,
                            std::span<const double> qz, std::span<double> out,
                            KernelKind kind = KernelKind::Fast,
                            fast::Threading threading = fast::Threading::SharedPool);

//! PointReflectivityBatch of every stack over the same points, out[k] for *stacks[k]. The fast
//! kernel computes all stacks as one batch, so that several small stacks (the trial stacks of a
//! fit's derivatives) share the compute pool at little more than their kernel time. A fault is
//! that of the first stack that faults.
void PointReflectivityBatch(std::span<const LayerStack* const> stacks, PointOptions options,
                            std::span<const double> background, std::span<const double> resolution,
                            std::span<const double> qz, std::span<const std::span<double>> out,
                            KernelKind kind = KernelKind::Fast,
                            fast::Threading threading = fast::Threading::SharedPool);

}  // namespace quorrel
