#pragma once
// Runs reflectivity and profile calculations on worker threads and hands their results back
// to the user-interface thread.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <QObject>
#include <QString>
#include <QThreadPool>

#include "calc/curves.h"
#include "calc/magnetic_profile.h"
#include "model/calc_settings.h"
#include "model/editor_state.h"
#include "model/measured_data.h"
#include "model/measurement.h"
#include "model/sample_model.h"
#include "model/user_function.h"

namespace quorrel {

//! A user function compiled on a worker: the text it was given, the compiled function, and the
//! parser's message when the text did not compile.
struct FunctionCompilation {
  std::string expression;
  UserFunction function;
  std::optional<std::string> failure;
};

//! Why a calculation failed, and the cell of the editor that could not be read, if that was it.
struct CalculationFailure {
  QString message;
  std::optional<EditorCell> cell;
};

//! A request copies its inputs on the calling thread and returns at once; a worker computes
//! and a queued signal delivers the result. A result older than one already delivered of the
//! same kind is dropped, so the latest request always wins. The busy pointer shows while any
//! calculation runs, failed ones included.
class CalculationRunner : public QObject {
  Q_OBJECT

 public:
  explicit CalculationRunner(QObject* parent = nullptr);
  //! Waits for running calculations; their results are no longer delivered.
  ~CalculationRunner() override;

  void requestReflectivity(const SampleModel& model, const CalcSettings& settings,
                           const MeasuredData& data);
  void requestProfile(const SampleModel& model, const CalcSettings& settings);
  //! Each measurement's own curve (MeasurementCurves).
  void requestMeasurementCurves(const SampleModel& model, const CalcSettings& settings,
                                const std::vector<Measurement>& measurements);
  //! Compiling a long expression can take a while, so it runs where the calculations run.
  void requestFunctionCompile(const std::string& expression);

  //! Calculations started and not yet delivered.
  int running() const { return running_; }

 signals:
  void reflectivityReady(const quorrel::ReflectivityResult& result);
  //! `note` is the status text of a failing user function, or empty.
  void profileReady(const quorrel::ProfileCurve& profile, const QString& note);
  //! Right after profileReady while spin flip is on: the magnetic density and the angle at
  //! the profile's depths. Not sent when the model has no spin-flip stack (the reflectivity
  //! run reports why).
  void magneticProfileReady(const quorrel::MagneticProfile& profile);
  //! "calculating rho(z), z = ..." while a profile is computed, at most every 50 ms.
  void profileProgress(const QString& text);
  void functionCompiled(const quorrel::FunctionCompilation& compilation);
  void measurementCurvesReady(const std::vector<std::optional<quorrel::ReflCurve>>& curves);
  //! The profile of every measurement with overrides (ContrastProfiles).
  void contrastProfilesReady(const std::vector<std::optional<quorrel::ProfileCurve>>& profiles);
  //! What failed and where, as the core's error says.
  void calculationFailed(const quorrel::CalculationFailure& failure);
  //! The first of the calculations now running has been requested.
  void busy();
  //! The last running calculation has been delivered.
  void idle();

 private:
  enum Kind { kReflectivity = 0, kProfile = 1, kFunction = 2, kMeasurements = 3 };

  //! Counts the request in and returns its number.
  std::uint64_t begin(Kind kind);
  //! Counts it out; true when its result is the newest of its kind and is to be delivered.
  bool finish(Kind kind, std::uint64_t request);
  void endDelivery();

  QThreadPool pool_;
  std::array<std::uint64_t, 4> issued_{};
  std::array<std::uint64_t, 4> delivered_{};
  int running_ = 0;
};

}  // namespace quorrel
