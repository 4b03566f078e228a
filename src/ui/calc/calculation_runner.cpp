#include "ui/calc/calculation_runner.h"

#include <exception>
#include <memory>
#include <optional>

#include <QApplication>
#include <QElapsedTimer>
#include <QMetaObject>

#include "calc/profile_run.h"
#include "fit/measurement_curves.h"
#include "calc/reflectivity_run.h"
#include "calc/spin_flip_model.h"
#include "common/error.h"
#include "model/layer_stack_builder.h"

namespace quorrel {

namespace {

//! What a worker hands back: a result or its failure.
template <typename Result>
struct Outcome {
  std::optional<Result> result;
  CalculationFailure failure;
};

template <typename Result, typename Work>
std::shared_ptr<Outcome<Result>> Attempt(Work&& work) {
  auto outcome = std::make_shared<Outcome<Result>>();
  try {
    outcome->result = work();
  } catch (const CellError& error) {
    outcome->failure.message = QString::fromStdString(error.what());
    const EditorGrid grid = error.grid() == kMLGridName ? EditorGrid::Multilayer : EditorGrid::Base;
    outcome->failure.cell = EditorCell{grid, error.row(), error.column()};
  } catch (const std::exception& error) {
    outcome->failure.message = QString::fromStdString(error.what());
  }
  return outcome;
}

constexpr qint64 kProgressIntervalMs = 50;

}  // namespace

CalculationRunner::CalculationRunner(QObject* parent) : QObject(parent) {
  qRegisterMetaType<ReflectivityResult>("quorrel::ReflectivityResult");
  qRegisterMetaType<ProfileCurve>("quorrel::ProfileCurve");
  qRegisterMetaType<MagneticProfile>("quorrel::MagneticProfile");
  qRegisterMetaType<FunctionCompilation>("quorrel::FunctionCompilation");
  qRegisterMetaType<CalculationFailure>("quorrel::CalculationFailure");
}

CalculationRunner::~CalculationRunner() {
  pool_.waitForDone();
  if (running_ > 0) QApplication::restoreOverrideCursor();
}

void CalculationRunner::requestReflectivity(const SampleModel& model,
                                            const CalcSettings& settings,
                                            const MeasuredData& data) {
  const std::uint64_t request = begin(kReflectivity);
  pool_.start([this, request, model, settings, data] {
    auto outcome = Attempt<ReflectivityResult>(
        [&] { return RunReflectivityCalculation(model, settings, data); });
    QMetaObject::invokeMethod(
        this,
        [this, request, outcome] {
          if (finish(kReflectivity, request)) {
            if (outcome->result) {
              emit reflectivityReady(*outcome->result);
            } else {
              emit calculationFailed(outcome->failure);
            }
          }
          endDelivery();
        },
        Qt::QueuedConnection);
  });
}

void CalculationRunner::requestProfile(const SampleModel& model, const CalcSettings& settings) {
  const std::uint64_t request = begin(kProfile);
  pool_.start([this, request, model, settings] {
    QElapsedTimer sinceProgress;
    sinceProgress.start();
    const ProfileProgress progress = [this, &sinceProgress](const std::string& text) {
      if (sinceProgress.elapsed() < kProgressIntervalMs) return;
      sinceProgress.restart();
      QMetaObject::invokeMethod(
          this, [this, shown = QString::fromStdString(text)] { emit profileProgress(shown); },
          Qt::QueuedConnection);
    };
    BuildNotes notes;
    auto outcome = Attempt<ProfileCurve>(
        [&] { return RunProfileCalculation(model, settings, progress, &notes); });
    std::shared_ptr<Outcome<MagneticProfile>> magnetic;
    if (outcome->result && SpinFlipOn(settings)) {
      magnetic = Attempt<MagneticProfile>([&] {
        const SpinFlipSettings& flip = settings.spinFlip;
        return MagneticProfileOf(SpinFlipStackOfModel(model, flip.aguide, flip.field),
                                 outcome->result->x);
      });
    }
    QMetaObject::invokeMethod(
        this,
        [this, request, outcome, magnetic, note = QString::fromStdString(notes.statusText)] {
          if (finish(kProfile, request)) {
            if (outcome->result) {
              emit profileReady(*outcome->result, note);
              if (magnetic && magnetic->result) emit magneticProfileReady(*magnetic->result);
            } else {
              emit calculationFailed(outcome->failure);
            }
          }
          endDelivery();
        },
        Qt::QueuedConnection);
  });
}

void CalculationRunner::requestMeasurementCurves(const SampleModel& model,
                                                 const CalcSettings& settings,
                                                 const std::vector<Measurement>& measurements) {
  const std::uint64_t request = begin(kMeasurements);
  pool_.start([this, request, model, settings, measurements] {
    auto outcome = Attempt<std::vector<std::optional<ReflCurve>>>(
        [&] { return MeasurementCurves(model, settings, measurements); });
    const auto profiles = std::make_shared<const std::vector<std::optional<ProfileCurve>>>(
        ContrastProfiles(model, settings, measurements));
    QMetaObject::invokeMethod(
        this,
        [this, request, outcome, profiles] {
          // A model that cannot be calculated says so through its own curve's run.
          if (finish(kMeasurements, request) && outcome->result) {
            emit measurementCurvesReady(*outcome->result);
            emit contrastProfilesReady(*profiles);
          }
          endDelivery();
        },
        Qt::QueuedConnection);
  });
}

void CalculationRunner::requestFunctionCompile(const std::string& expression) {
  const std::uint64_t request = begin(kFunction);
  pool_.start([this, request, expression] {
    auto compilation = std::make_shared<FunctionCompilation>();
    compilation->expression = expression;
    compilation->failure = compilation->function.Compile(expression);
    QMetaObject::invokeMethod(
        this,
        [this, request, compilation] {
          if (finish(kFunction, request)) emit functionCompiled(*compilation);
          endDelivery();
        },
        Qt::QueuedConnection);
  });
}

std::uint64_t CalculationRunner::begin(Kind kind) {
  if (running_++ == 0) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    emit busy();
  }
  return ++issued_[kind];
}

bool CalculationRunner::finish(Kind kind, std::uint64_t request) {
  // The pointer returns before the result is shown, so a message about a failure never
  // appears over the busy pointer.
  if (--running_ == 0) QApplication::restoreOverrideCursor();
  if (request <= delivered_[kind]) return false;
  delivered_[kind] = request;
  return true;
}

void CalculationRunner::endDelivery() {
  if (running_ == 0) emit idle();
}

}  // namespace quorrel
