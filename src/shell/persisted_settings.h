#pragma once
// The user's last settings: which values are read when the main window is created and first
// shown, and which are written back at shut-down, with their defaults.

#include <optional>
#include <string>

#include "files/column_import.h"
#include "fit/fit_data.h"
#include "model/calc_settings.h"
#include "model/sample_model.h"
#include "shell/settings_store.h"

namespace quorrel {

//! How the main window is shown; the stored "state" of section "Window".
enum class WindowShowState { DesignTime = 0, Minimised = 1, Normal = 2, Maximised = 3 };

//! The main window's placement in pixels, applied only with the normal state.
struct WindowPlacement {
  int top = 0;
  int left = 0;
  int height = 100;
  int width = 100;
};

//! The addresses that the logos and the about box open.
struct WebAddresses {
  std::string makerPage = "https://ostral.example.org/quorrel/";
  std::string facilityPage = "https://keldan.example.org/";
  std::string contact = "quorrel@ostral.example.org";
};

//! What the reflectivity window's y axis shows: R, R·Qz^4 or R over the substrate's Fresnel
//! reflectivity.
//! SpinAsymmetry draws (R++ - R--)/(R++ + R--) of a spin-flip run in place of the curves; with
//! no spin channels it shows as R.
enum class ReflectivityView { R, RQz4, RFresnel, SpinAsymmetry };

//! The choices of the reflectivity window's context menu.
struct PlotChoices {
  ReflectivityView view = ReflectivityView::R;
  bool residuals = false;  //!< the residuals strip under the graph
};

//! The open dialog's folder when none is stored: the current folder.
inline constexpr const char* kCurrentFolder = "./";

//! Read when the main window is created.
struct CreationValues {
  bool expertMode = false;
  std::string lastDir = kCurrentFolder;
  WindowShowState state = WindowShowState::DesignTime;
  WindowPlacement placement;  //!< read only for the normal state
  WebAddresses addresses;
};

//! Read when the main window is first shown.
struct FirstShowingValues {
  SampleType sampleType = SampleType::IndependentLayers;
  //! The weighting, the three check boxes and the method; the other fit settings are not
  //! kept.
  FitSettings fit;
  Radiation radiation = Radiation::Neutrons;
  double wavelength = 4.66;
  std::string sldDatabasePath;
  //! The curves follow every edit ("recalculate while editing"); on unless stored as 0.
  bool recalculateWhileEditing = true;
  //! The resolution from the data's sQz, and the kernel; not part of model files.
  bool resolutionFromData = false;
  SmearingKernel smearing = SmearingKernel::Standard;
  //! The columns, Q unit and X-ray wavelength of the last import; no columns before one.
  ColumnMapping importMapping;
  PlotChoices plot;
};

//! Written at shut-down.
struct ShutdownValues {
  bool expertMode = false;
  std::string lastDir;  //!< the folder of the file last chosen in the open dialog, or empty
  SampleType sampleType = SampleType::IndependentLayers;
  //! The fit's weighting, check boxes and method, written only when a fit was accepted since
  //! the last data load.
  std::optional<FitSettings> acceptedFit;
  WindowShowState state = WindowShowState::Normal;
  WindowPlacement placement;  //!< written only in the normal state
  Radiation radiation = Radiation::Neutrons;
  double wavelength = 4.66;
  WebAddresses addresses;
  std::string sldDatabasePath;
  bool recalculateWhileEditing = true;
  bool resolutionFromData = false;
  SmearingKernel smearing = SmearingKernel::Standard;
  ColumnMapping importMapping;
  PlotChoices plot;
};

//! Missing values and integers whose text is not an integer take the defaults above.
CreationValues ReadCreationValues(const SettingsStore& store);

//! As ReadCreationValues; `defaultDatabasePath` is the table beside the program. A stored
//! wavelength that is not a number gives 4.66.
FirstShowingValues ReadFirstShowingValues(const SettingsStore& store,
                                          const std::string& defaultDatabasePath);

//! Every value as text, integers in decimal. Minimised or maximised, the "Window" section is
//! deleted first and only its state written, so the stored placement disappears.
void WriteShutdownValues(SettingsStore& store, const ShutdownValues& values);

}  // namespace quorrel
