#pragma once
// The figure of merit of a fit: the weighted chi-square of the calculated against the measured
// reflectivity over the fitting region.

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "calc/curves.h"
#include "model/measured_data.h"
#include "model/measurement.h"
#include "physics/layer_stack.h"
#include "physics/reflectance_batch.h"
#include "physics/spin_flip_stack.h"

namespace quorrel {

//! The weighting of each point's squared difference; the numbers are the stored setting.
enum class Weighting {
  GivenErrors = 1,  //!< "use given errors": ((R - R_fit) / dR)²
  Statistical = 2,  //!< "use 1/y": ((R - R_fit) / R)²
  None = 3,         //!< "no weight at all": (R - R_fit)²
  Logarithmic = 4,  //!< "use (log(R_exp)-log(R_fit))^2"
};

//! The message of an evaluation that met an arithmetic fault.
inline constexpr const char* kOutOfBoundsMessage = "one of the parameters ran out of bounds...";

//! The fitting region as measured point numbers first .. last, counted from 1 as the file's
//! lines; empty when last < first.
struct PointRange {
  int first = 1;
  int last = 0;
  bool empty() const { return last < first; }
};

//! The region of `data`: all points when both bounds are -1.0, otherwise from the point at
//! the lower bound to the point at the upper bound, by a walk over ascending Qz.
PointRange RegionPoints(const MeasuredData& data);

//! How the points are calculated and weighted.
struct ChiSquareOptions {
  Weighting weighting = Weighting::Statistical;
  bool includeResolution = false;
  bool includeBackground = false;
  KernelKind kernel = KernelKind::Fast;
  SmearingKernel smearing = SmearingKernel::Standard;
  //! A caller that spreads its evaluations over the pool itself keeps each on its thread.
  fast::Threading threading = fast::Threading::SharedPool;
};

//! How one stack's calculated points become the fitted curve of a measurement:
//! R_fit = scale · R + background[i] (no background when it is empty).
struct CurveScaling {
  double scale = 1.0;
  std::span<const double> background;  //!< one per region point, or empty
};

//! Evaluates stacks against the measured points of one region. `pointResolution` and
//! `pointBackground` hold what the last reflectivity run over the measured points left for
//! point i at index i - 1; values that run never computed count as 0.
class ChiSquareEvaluator {
 public:
  ChiSquareEvaluator(const MeasuredData& data, std::span<const double> pointResolution,
                     std::span<const double> pointBackground, PointRange range,
                     ChiSquareOptions options);

  const PointRange& range() const { return range_; }
  //! The number of points in the region.
  int pointCount() const { return static_cast<int>(qz_.size()); }

  //! Sum of the terms over the region divided by its point count minus one; nullopt when an
  //! arithmetic fault (division by a zero error or divisor, the logarithm of a value <= 0,
  //! overflow, a fault in the recursion) ended the evaluation. curve() then holds the points
  //! calculated before the fault.
  std::optional<double> evaluate(const LayerStack& stack);

  //! The calculated reflectivity of the region points, without the sum; nullopt on a fault.
  std::optional<ReflCurve> calculate(const LayerStack& stack);

  //! The residuals of every stack, computed as one batch: the residual of stack k at region
  //! point i goes to out[k * pointCount() + i]. A residual is the root of the point's term with
  //! the sign of R - R_fit (of log10 R - log10 R_fit for the logarithmic weighting). False when
  //! an arithmetic fault ended the evaluation; curve() then holds the first stack's points
  //! calculated before the fault.
  bool residuals(std::span<const LayerStack* const> stacks, std::span<double> out);
  //! The same with each stack's points scaled and shifted by its `scalings` entry, after the
  //! background of the options, if any.
  bool residuals(std::span<const LayerStack* const> stacks, std::span<const CurveScaling> scalings,
                 std::span<double> out);
  //! The four spin channels of every spin-flip stack at the region's points, as one batch:
  //! stack k's point i at values[k * pointCount() + i]. False on a fault in the recursion.
  bool spinFlipPoints(std::span<const SpinFlipStack* const> stacks,
                      std::vector<SpinReflectances>& values);
  //! The residuals of channel `channel` (not None) of such values, as residuals() forms them.
  bool residuals(std::span<const SpinReflectances> values, SpinChannel channel,
                 std::span<const CurveScaling> scalings, std::span<double> out);
  //! Whether `other` calculates its points exactly as this one does: the same Qz, resolution
  //! and options, so that one's spin-flip values serve the other.
  bool samePoints(const ChiSquareEvaluator& other) const;

  //! Qz of the region's points.
  std::span<const double> qz() const { return qz_; }

  //! The chi-square of one stack's residuals, as evaluate() forms it from the same points.
  std::optional<double> chiSquareOf(std::span<const double> residuals) const;

  //! (Qz, R_fit) of the points of the last evaluation.
  const ReflCurve& curve() const { return curve_; }

  //! How many model curves over the region this evaluator has calculated: one per stack of
  //! every evaluation, calculation and residual batch, failed ones included.
  long long curvesCalculated() const { return curvesCalculated_; }

 private:
  //! R_fit of every region point of every stack into fit_, stack after stack; false on a
  //! fault in the recursion.
  bool calculatePoints(std::span<const LayerStack* const> stacks);
  //! The residuals of the `count` curves in fit_, scaled first; false on a fault.
  bool scoreCurves(std::size_t count, std::span<const CurveScaling> scalings,
                   std::span<double> out);

  PointRange range_;
  ChiSquareOptions options_;
  // The region's points, copied so the kernel sees one contiguous batch.
  std::vector<double> qz_, r_, dr_, resolution_, background_;
  std::vector<double> fit_;
  std::vector<double> residuals_;  // evaluate()'s, kept to spare an allocation per trial
  ReflCurve curve_;
  long long curvesCalculated_ = 0;
};

}  // namespace quorrel
