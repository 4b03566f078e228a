#include "model/measurement.h"

#include <filesystem>
#include <map>
#include <utility>

namespace quorrel {

MeasurementBackground BackgroundOfSettings(const CalcSettings& settings) {
  return {settings.cbBackground, settings.background, settings.edtY0,    settings.edtM,
          settings.edtPeakA,       settings.edtPeakW,   settings.edtPeakXC};
}

CalcSettings SettingsForMeasurement(CalcSettings settings, const Measurement& measurement) {
  const MeasurementBackground& background = measurement.background;
  settings.cbBackground = background.on;
  settings.background = background.kind;
  settings.edtY0 = background.y0;
  settings.edtM = background.m;
  settings.edtPeakA = background.peakA;
  settings.edtPeakW = background.peakW;
  settings.edtPeakXC = background.peakXC;
  settings.resolutionFromData = measurement.resolution == ResolutionSource::Data;
  return settings;
}

Measurement MeasurementOfData(MeasuredData data, const CalcSettings& settings) {
  Measurement measurement;
  measurement.label = std::filesystem::path(data.fileName).stem().string();
  if (measurement.label.empty()) measurement.label = "data";
  measurement.background = BackgroundOfSettings(settings);
  measurement.resolution =
      settings.resolutionFromData ? ResolutionSource::Data : ResolutionSource::Settings;
  measurement.data = std::move(data);
  return measurement;
}

void LabelApart(std::vector<Measurement>& measurements) {
  std::map<std::string, int> seen;
  for (Measurement& m : measurements) {
    const int copies = ++seen[m.label];
    if (copies > 1) m.label.append(1, ' ').append(std::to_string(copies));
  }
}

}  // namespace quorrel
