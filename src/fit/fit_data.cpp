#include "fit/fit_data.h"

#include <utility>

#include "calc/point_resolution.h"

namespace quorrel {

const char* FitMethodName(FitMethod method) {
  switch (method) {
    case FitMethod::LevenbergMarquardt:
      return "Levenberg-Marquardt";
    case FitMethod::DifferentialEvolution:
      return "differential evolution";
    case FitMethod::RandomSearch:
      break;
  }
  return "random search";
}

FitData FitDataFor(const CalcSettings& settings, Measurement measurement) {
  FitData data;
  data.pointResolution = PointResolutions(SettingsForMeasurement(settings, measurement),
                                          measurement.data, measurement.data.qz);
  data.smearing = settings.smearing;
  data.measurement = std::move(measurement);
  return data;
}

FitData FitDataFor(const CalcSettings& settings, MeasuredData measured) {
  return FitDataFor(settings, MeasurementOfData(std::move(measured), settings));
}

}  // namespace quorrel
