#include "ui/plot/reflectivity_views.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "common/error.h"
#include "model/cell_values.h"
#include "model/layer_stack_builder.h"
#include "physics/spin_flip_stack.h"

namespace quorrel {

std::optional<FresnelMedia> FresnelMediaOf(const SampleModel& model) {
  const auto cell = [&model](int row, int column) {
    return CellNumber(model.baseGrid, kBaseGridName, row, column);
  };
  try {
    return FresnelMedia{cell(1, kColRho), cell(1, kColImRho), cell(model.lastRow(), kColRho),
                        cell(model.lastRow(), kColImRho)};
  } catch (const QuorrelError&) {
    return std::nullopt;
  }
}

FresnelReflectivity::FresnelReflectivity(const FresnelMedia& media) : stack_(0) {
  // The program's own recursion on a stack of no layers, so R/R_Fresnel is 1 exactly where
  // the sample is its bare substrate.
  stack_.setRho(0, media.ambientRho);
  stack_.setImRho(0, media.ambientImRho);
  stack_.setRho(1, media.substrateRho);
  stack_.setImRho(1, media.substrateImRho);
}

double FresnelReflectivity::at(double qz) const {
  try {
    return Reflectance(stack_, qz, workspace_);
  } catch (const QuorrelError&) {
    return std::nan("");
  }
}

std::string ViewCaption(ReflectivityView view) {
  switch (view) {
    case ReflectivityView::RQz4:
      return "R·Qz^4";
    case ReflectivityView::RFresnel:
      return "R/R_Fresnel";
    case ReflectivityView::SpinAsymmetry:
      return "spin asymmetry";
    case ReflectivityView::R:
      break;
  }
  return "R";
}

std::string ViewAxisTitle(ReflectivityView view) {
  switch (view) {
    case ReflectivityView::RQz4:
      // R·Qz^4 carries the unit of Qz^4.
      return ViewCaption(view) + " / Å^-4";
    case ReflectivityView::SpinAsymmetry:
      return "(R++ - R--)/(R++ + R--)";
    case ReflectivityView::R:
    case ReflectivityView::RFresnel:
      break;
  }
  return ViewCaption(view);
}

Curve SpinAsymmetryOf(const SpinChannels& channels) {
  Curve asymmetry;
  for (std::size_t i = 0; i < channels.upUp.size() && i < channels.downDown.size(); ++i) {
    const SpinReflectances r{.downDown = channels.downDown.y[i], .upUp = channels.upUp.y[i]};
    asymmetry.append(channels.upUp.x[i], SpinAsymmetry(r));
  }
  return asymmetry;
}

Residuals ResidualsOf(const MeasuredData& data, const Curve& curve) {
  Residuals result;
  const std::size_t count = data.qz.size();
  result.normalised = count > 0 && data.dr.size() == count &&
                      std::all_of(data.dr.begin(), data.dr.end(), [](double dr) { return dr > 0; });
  if (curve.size() == 0) return result;
  const auto residual = [&](std::size_t i, double model) {
    const double value =
        result.normalised ? (data.r[i] - model) / data.dr[i] : (data.r[i] - model) / model;
    if (std::isfinite(value)) result.points.append(data.qz[i], value);
  };
  // A run at the measured points computes curve point i at measured point i.
  if (curve.x == data.qz) {
    for (std::size_t i = 0; i < count; ++i) residual(i, curve.y[i]);
    return result;
  }
  // The curve in ascending Qz, to find each measured point's partner.
  std::vector<std::size_t> order(curve.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::sort(order.begin(), order.end(),
            [&curve](std::size_t a, std::size_t b) { return curve.x[a] < curve.x[b]; });
  const double first = curve.x[order.front()];
  const double last = curve.x[order.back()];
  for (std::size_t i = 0; i < count; ++i) {
    const double q = data.qz[i];
    // A fit's curve covers its region only; points outside it have no residual.
    if (q < first || q > last) continue;
    const auto found =
        std::lower_bound(order.begin(), order.end(), q,
                         [&curve](std::size_t k, double v) { return curve.x[k] < v; });
    // A curve on a grid of its own is not compared at all: residuals read off a few points
    // that happen to coincide would mislead.
    if (found == order.end() || curve.x[*found] != q) {
      result.points = Curve{};
      result.comparable = false;
      return result;
    }
    residual(i, curve.y[*found]);
  }
  return result;
}

}  // namespace quorrel
