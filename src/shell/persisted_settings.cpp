#include "shell/persisted_settings.h"

#include "common/number_conversion.h"
#include "common/number_format.h"

namespace quorrel {

namespace {

constexpr const char* kMain = "Main";
constexpr const char* kLastSession = "Last Session";
constexpr const char* kWindow = "Window";
constexpr const char* kWww = "WWW settings";
constexpr const char* kRecalculate = "recalculateWhileEditing";
constexpr const char* kImport = "Import";
constexpr const char* kPlot = "Plot";

std::string ReadText(const SettingsStore& store, const char* section, const char* name,
                     const std::string& fallback) {
  return store.read(section, name).value_or(fallback);
}

//! A stored integer whose text is not an integer counts as missing.
int ReadInt(const SettingsStore& store, const char* section, const char* name, int fallback) {
  const std::optional<std::string> text = store.read(section, name);
  if (!text) return fallback;
  return ReadInteger(*text).value_or(fallback);
}

bool ReadFlag(const SettingsStore& store, const char* section, const char* name) {
  return ReadInt(store, section, name, 0) == 1;
}

void WriteInt(SettingsStore& store, const char* section, const char* name, int value) {
  store.write(section, name, std::to_string(value));
}

void WriteFlag(SettingsStore& store, const char* section, const char* name, bool on) {
  WriteInt(store, section, name, on ? 1 : 0);
}

WindowShowState ShowStateOf(int stored) {
  switch (stored) {
    case 1: return WindowShowState::Minimised;
    case 2: return WindowShowState::Normal;
    case 3: return WindowShowState::Maximised;
    default: return WindowShowState::DesignTime;
  }
}

}  // namespace

CreationValues ReadCreationValues(const SettingsStore& store) {
  CreationValues values;
  // The store matches names without regard to case: this is the section "Main".
  values.expertMode = ReadFlag(store, "MAIN", "expertmode");
  values.lastDir = ReadText(store, kLastSession, "lastdir", "");
  if (values.lastDir.empty()) values.lastDir = kCurrentFolder;
  values.state = ShowStateOf(ReadInt(store, kWindow, "state", 0));
  if (values.state == WindowShowState::Normal) {
    values.placement.top = ReadInt(store, kWindow, "top", 0);
    values.placement.left = ReadInt(store, kWindow, "left", 0);
    values.placement.height = ReadInt(store, kWindow, "height", 100);
    values.placement.width = ReadInt(store, kWindow, "width", 100);
  }
  const WebAddresses defaults;
  values.addresses.makerPage = ReadText(store, kWww, "Ostral", defaults.makerPage);
  values.addresses.facilityPage = ReadText(store, kWww, "Keldan", defaults.facilityPage);
  values.addresses.contact = ReadText(store, kWww, "e-mail", defaults.contact);
  return values;
}

FirstShowingValues ReadFirstShowingValues(const SettingsStore& store,
                                          const std::string& defaultDatabasePath) {
  FirstShowingValues values;
  const int model = ReadInt(store, kLastSession, "model", 1);
  if (model >= 1 && model <= 4) values.sampleType = static_cast<SampleType>(model);

  const int chi2 = ReadInt(store, kLastSession, "chi2", 2);
  if (chi2 >= 1 && chi2 <= 4) values.fit.weighting = static_cast<Weighting>(chi2);
  values.fit.includeResolution = ReadFlag(store, kLastSession, "fitResolution");
  values.fit.includeBackground = ReadFlag(store, kLastSession, "fitBackground");
  values.fit.displayGraph = ReadFlag(store, kLastSession, "fitDisplayGraph");
  const int fitMethod = ReadInt(store, kLastSession, "fitMethod", 0);
  if (fitMethod == 1 || fitMethod == 2) values.fit.method = static_cast<FitMethod>(fitMethod);

  values.radiation = ReadText(store, kLastSession, "radiation", "neutrons") == "neutrons"
                         ? Radiation::Neutrons
                         : Radiation::Xrays;
  // A wavelength that does not read as a number keeps the default, and start-up goes on.
  const std::string wavelength = ReadText(store, kLastSession, "wavelength", FormatGeneral(4.66));
  values.wavelength = LocaleToDouble(wavelength).value_or(4.66);

  values.sldDatabasePath = ReadText(store, kMain, "SLD Database", defaultDatabasePath);
  values.recalculateWhileEditing = ReadInt(store, kLastSession, kRecalculate, 1) != 0;
  values.resolutionFromData = ReadFlag(store, kLastSession, "resolutionFromData");
  values.smearing = ReadText(store, kLastSession, "smearing", "") == "accurate"
                        ? SmearingKernel::Accurate
                        : SmearingKernel::Standard;
  const std::string view = ReadText(store, kPlot, "view", "R");
  values.plot.view = view == "RQz4"            ? ReflectivityView::RQz4
                     : view == "RFresnel"      ? ReflectivityView::RFresnel
                     : view == "SpinAsymmetry" ? ReflectivityView::SpinAsymmetry
                                               : ReflectivityView::R;
  values.plot.residuals = ReadFlag(store, kPlot, "residuals");
  // An import mapping that does not read is forgotten as a whole.
  ColumnMapping& mapping = values.importMapping;
  const std::optional<std::vector<ColumnRole>> roles =
      ReadColumnRoles(ReadText(store, kImport, "columns", ""));
  const std::optional<double> xrayWavelength =
      LocaleToDouble(ReadText(store, kImport, "xrayWavelength", ""));
  if (roles && xrayWavelength && *xrayWavelength > 0) {
    mapping.roles = *roles;
    mapping.qUnit = ReadText(store, kImport, "qUnit", "") == "nm" ? QUnit::InverseNanometre
                                                                    : QUnit::InverseAngstrom;
    mapping.wavelength = *xrayWavelength;
    mapping.sqzWidth = ReadText(store, kImport, "sqzWidth", "") == "fwhm" ? SqzWidth::Fwhm
                                                                           : SqzWidth::Sigma;
  }
  return values;
}

void WriteShutdownValues(SettingsStore& store, const ShutdownValues& values) {
  WriteFlag(store, kMain, "expertmode", values.expertMode);
  store.write(kLastSession, "lastdir", values.lastDir);
  WriteInt(store, kLastSession, "model", static_cast<int>(values.sampleType));
  if (values.acceptedFit) {
    WriteInt(store, kLastSession, "chi2", static_cast<int>(values.acceptedFit->weighting));
    WriteFlag(store, kLastSession, "fitResolution", values.acceptedFit->includeResolution);
    WriteFlag(store, kLastSession, "fitBackground", values.acceptedFit->includeBackground);
    WriteFlag(store, kLastSession, "fitDisplayGraph", values.acceptedFit->displayGraph);
    WriteInt(store, kLastSession, "fitMethod", static_cast<int>(values.acceptedFit->method));
  }
  if (values.state == WindowShowState::Normal) {
    WriteInt(store, kWindow, "state", 2);
    WriteInt(store, kWindow, "top", values.placement.top);
    WriteInt(store, kWindow, "left", values.placement.left);
    WriteInt(store, kWindow, "height", values.placement.height);
    WriteInt(store, kWindow, "width", values.placement.width);
  } else {
    store.removeSection(kWindow);
    WriteInt(store, kWindow, "state", static_cast<int>(values.state));
  }
  store.write(kLastSession, "radiation",
              values.radiation == Radiation::Neutrons ? "neutrons" : "x-rays");
  store.write(kLastSession, "wavelength", FormatGeneral(values.wavelength));
  store.write(kWww, "Ostral", values.addresses.makerPage);
  store.write(kWww, "Keldan", values.addresses.facilityPage);
  store.write(kWww, "e-mail", values.addresses.contact);
  store.write(kMain, "SLD Database", values.sldDatabasePath);
  WriteFlag(store, kLastSession, kRecalculate, values.recalculateWhileEditing);
  WriteFlag(store, kLastSession, "resolutionFromData", values.resolutionFromData);
  store.write(kLastSession, "smearing",
              values.smearing == SmearingKernel::Accurate ? "accurate" : "standard");
  const ReflectivityView view = values.plot.view;
  store.write(kPlot, "view", view == ReflectivityView::RQz4            ? "RQz4"
                            : view == ReflectivityView::RFresnel      ? "RFresnel"
                            : view == ReflectivityView::SpinAsymmetry ? "SpinAsymmetry"
                                                                      : "R");
  WriteFlag(store, kPlot, "residuals", values.plot.residuals);
  if (!values.importMapping.roles.empty()) {
    store.write(kImport, "columns", ColumnRolesText(values.importMapping.roles));
    store.write(kImport, "qUnit",
                values.importMapping.qUnit == QUnit::InverseNanometre ? "nm" : "A");
    store.write(kImport, "xrayWavelength", FormatGeneral(values.importMapping.wavelength));
    store.write(kImport, "sqzWidth",
                values.importMapping.sqzWidth == SqzWidth::Fwhm ? "fwhm" : "sigma");
  }
}

}  // namespace quorrel
