#pragma once
// What a fit runs on and how: the measured points with their resolution and background, and
// the options of a run, which the fit dialog and quorrel-cli share.

#include <vector>

#include "fit/chi_square.h"
#include "fit/fit_engine.h"
#include "model/calc_settings.h"
#include "model/measured_data.h"
#include "model/measurement.h"

namespace quorrel {

//! How "iterate to minimum" minimises; the numbers are the stored setting.
enum class FitMethod {
  RandomSearch = 0,        //!< "random search": the randomised one-value search
  LevenbergMarquardt = 1,  //!< "Levenberg-Marquardt": all values at once, with standard errors
  //! "differential evolution": a global search inside the bounds, polished by
  //! Levenberg-Marquardt
  DifferentialEvolution = 2,
};

//! The method's name as the dialog and the files write it: "random search",
//! "Levenberg-Marquardt", "differential evolution".
const char* FitMethodName(FitMethod method);

//! The dialog's options, kept from one opening to the next.
struct FitSettings {
  RunMode mode = RunMode::IterateToMinimum;
  FitMethod method = FitMethod::RandomSearch;
  Weighting weighting = Weighting::Statistical;
  bool includeResolution = false;
  bool includeBackground = false;
  bool displayGraph = false;
  double tolerance = 1e-6;
};

//! One measurement of a fit with the resolution of its point i at index i - 1, as the settings'
//! rules (or its own sQz) give it.
struct FitData {
  Measurement measurement;
  std::vector<double> pointResolution;
  SmearingKernel smearing = SmearingKernel::Standard;  //!< the kernel the settings chose

  const MeasuredData& measured() const { return measurement.data; }
  MeasuredData& measured() { return measurement.data; }
};

//! The measurement with each point's resolution under `settings` as they are now: what the fit
//! dialog and quorrel-cli fit both run on. Throws what the resolution rules throw for a field
//! that is not a number.
FitData FitDataFor(const CalcSettings& settings, Measurement measurement);
//! The same for the program's one data set (MeasurementOfData).
FitData FitDataFor(const CalcSettings& settings, MeasuredData measured);

}  // namespace quorrel
