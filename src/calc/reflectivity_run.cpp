#include "calc/reflectivity_run.h"

#include <cmath>

#include "calc/point_background.h"
#include "calc/point_resolution.h"
#include "calc/qz_grid.h"
#include "calc/spin_flip_model.h"
#include "calc/spin_flip_run.h"
#include "common/error.h"
#include "model/layer_stack_builder.h"
#include "physics/transmission.h"

namespace quorrel {

namespace {

//! Holds what the curves of one run share: the points, their conditions and one stack.
class ReflectivityRun {
 public:
  ReflectivityRun(const SampleModel& model, const CalcSettings& settings,
                  const MeasuredData& data, KernelKind kernel)
      : model_(model), settings_(settings), data_(data), kernel_(kernel) {}

  ReflectivityResult run() {
    qz_ = QzGrid(settings_, data_);
    result_.pointResolution = PointResolutions(settings_, data_, qz_);
    if (settings_.cbBackground) result_.pointBackground = PointBackgrounds(settings_, qz_);
    result_.magnetic = SpinCurvesOn(settings_);
    result_.withTransmission = settings_.cbTransmission;
    if (SpinFlipOn(settings_)) {
      computeSpinFlip();
    } else if (settings_.cbMagnet) {
      computeCurve(SpinState::Down, result_.spinDown);
      computeCurve(SpinState::Up, result_.spinUp);
    }
    // The plain stack comes last: the transmission uses it.
    computeCurve(SpinState::None, result_.plain);
    if (settings_.cbTransmission) computeTransmission();
    if (data_.loaded()) {
      for (int k = 0; k < data_.count(); ++k) {
        result_.ranges.takePoint(data_.qz[static_cast<std::size_t>(k)],
                                 data_.r[static_cast<std::size_t>(k)]);
      }
    }
    return std::move(result_);
  }

 private:
  //! Builds the stack of `spin` and fills `curve` with every point, widening the ranges.
  void computeCurve(SpinState spin, ReflCurve& curve) {
    BuildLayerStack(model_, spin, stack_, &result_.notes);
    // Smearing is always on; a resolution of 0 leaves a point unsmeared.
    const PointOptions options{.smear = true,
                               .addBackground = settings_.cbBackground,
                               .kernel = settings_.smearing};
    std::vector<double> values(qz_.size());
    PointReflectivityBatch(stack_, options, result_.pointBackground, result_.pointResolution,
                           qz_, values, kernel_);
    curve.x.reserve(qz_.size());
    curve.y.reserve(qz_.size());
    for (std::size_t i = 0; i < qz_.size(); ++i) {
      result_.ranges.takePoint(qz_[i], values[i]);
      curve.append(qz_[i], values[i]);
    }
  }

  //! The four channels from each layer's magnetisation angle, widening the ranges.
  void computeSpinFlip() {
    const SpinFlipSettings& options = settings_.spinFlip;
    SpinFlipResult flip = RunSpinFlipCalculation(
        SpinFlipStackOfModel(model_, options.aguide, options.field, &result_.notes), settings_,
        data_, kernel_);
    SpinChannels& channels = result_.spinFlip.emplace(std::move(flip));
    for (const ReflCurve* curve :
         {&channels.downDown, &channels.downUp, &channels.upDown, &channels.upUp}) {
      for (std::size_t i = 0; i < curve->size(); ++i) {
        result_.ranges.takePoint(curve->x[i], curve->y[i]);
      }
    }
  }

  //! (1 − R)·Transmission with R the plain value, background included; only points
  //! above 0 are kept.
  void computeTransmission() {
    for (std::size_t i = 0; i < qz_.size(); ++i) {
      const double factor = Transmission(stack_.layerCount(), stack_,
                                         settings_.edtSampleThickness, settings_.edtWavelength,
                                         qz_[i]);
      const double value = (1 - result_.plain.y[i]) * factor;
      if (!std::isfinite(value)) throw ArithmeticFault("overflow in the transmission", qz_[i]);
      if (value > 0) {
        result_.transmission.append(qz_[i], value);
        result_.ranges.takeValue(value);
      }
    }
  }

  const SampleModel& model_;
  const CalcSettings& settings_;
  const MeasuredData& data_;
  KernelKind kernel_;
  std::vector<double> qz_;
  LayerStack stack_;
  ReflectivityResult result_;
};

}  // namespace

ReflectivityResult RunReflectivityCalculation(const SampleModel& model,
                                              const CalcSettings& settings,
                                              const MeasuredData& data, KernelKind kernel) {
  return ReflectivityRun(model, settings, data, kernel).run();
}

}  // namespace quorrel
