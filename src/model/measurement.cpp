#include "model/measurement.h"

#include <array>
#include <cctype>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <utility>

namespace quorrel {

const char* SpinChannelName(SpinChannel channel) {
  switch (channel) {
    case SpinChannel::None:
      break;
    case SpinChannel::DownDown:
      return "R--";
    case SpinChannel::DownUp:
      return "R-+";
    case SpinChannel::UpDown:
      return "R+-";
    case SpinChannel::UpUp:
      return "R++";
  }
  return "";
}

std::optional<SpinChannel> SpinChannelOfName(std::string_view name) {
  std::string text;
  for (const char c : name) text += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (text.empty() || text == "none") return SpinChannel::None;
  if (text.size() == 3 && text[0] == 'r') text.erase(0, 1);
  if (text.size() != 2) return std::nullopt;
  // The two signs after "R", as the channels' names spell them.
  std::string spelled(1, 'R');
  for (const char c : text) spelled.push_back(c == 'm' ? '-' : c == 'p' ? '+' : c);
  constexpr std::array kChannels{SpinChannel::DownDown, SpinChannel::DownUp, SpinChannel::UpDown,
                                 SpinChannel::UpUp};
  for (const SpinChannel channel : kChannels) {
    if (spelled == SpinChannelName(channel)) return channel;
  }
  return std::nullopt;
}

double ChannelReflectivity(const SpinReflectances& r, SpinChannel channel) {
  switch (channel) {
    case SpinChannel::DownDown:
      return r.downDown;
    case SpinChannel::DownUp:
      return r.downUp;
    case SpinChannel::UpDown:
      return r.upDown;
    case SpinChannel::UpUp:
      break;
    case SpinChannel::None:
      throw std::invalid_argument("a measurement without a spin channel has no channel's value");
  }
  return r.upUp;
}

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
