#include "shell/persisted_settings.h"

#include <gtest/gtest.h>

#include "common/decimal_separator.h"
#include "memory_settings_store.h"

namespace quorrel {
namespace {

using testing::MemorySettingsStore;

constexpr const char* kTable = "/opt/quorrel/database/quorrel.db";

TEST(PersistedSettings, FirstStartWithoutSettingsTakesTheDefaults) {
  const MemorySettingsStore empty;
  const CreationValues creation = ReadCreationValues(empty);
  EXPECT_FALSE(creation.expertMode);
  EXPECT_EQ(creation.lastDir, kCurrentFolder);
  EXPECT_EQ(creation.state, WindowShowState::DesignTime);
  EXPECT_EQ(creation.addresses.makerPage, WebAddresses{}.makerPage);

  const FirstShowingValues first = ReadFirstShowingValues(empty, kTable);
  EXPECT_EQ(first.sampleType, SampleType::IndependentLayers);
  EXPECT_EQ(first.fit.weighting, Weighting::Statistical);
  EXPECT_FALSE(first.fit.includeResolution);
  EXPECT_FALSE(first.fit.includeBackground);
  EXPECT_FALSE(first.fit.displayGraph);
  EXPECT_EQ(first.radiation, Radiation::Neutrons);
  EXPECT_EQ(first.wavelength, 4.66);
  EXPECT_EQ(first.sldDatabasePath, kTable);
  EXPECT_TRUE(first.recalculateWhileEditing);
  EXPECT_FALSE(first.resolutionFromData);
  EXPECT_EQ(first.smearing, SmearingKernel::Standard);
  EXPECT_TRUE(first.importMapping.roles.empty());
  EXPECT_EQ(first.importMapping.wavelength, 1.5406);
}

TEST(PersistedSettings, TheResolutionKernelAndImportChoicesRoundTrip) {
  ScopedDecimalSeparator comma(',');
  MemorySettingsStore store;
  ShutdownValues values;
  values.resolutionFromData = true;
  values.smearing = SmearingKernel::Accurate;
  values.importMapping = {{ColumnRole::TwoTheta, ColumnRole::R, ColumnRole::Skip},
                          QUnit::InverseNanometre, 0.7093, SqzWidth::Fwhm};
  WriteShutdownValues(store, values);
  EXPECT_EQ(store.read("Import", "columns"), "2theta,R,skip");
  EXPECT_EQ(store.read("Import", "xrayWavelength"), "0,7093");
  const FirstShowingValues first = ReadFirstShowingValues(store, kTable);
  EXPECT_TRUE(first.resolutionFromData);
  EXPECT_EQ(first.smearing, SmearingKernel::Accurate);
  EXPECT_EQ(first.importMapping.roles, values.importMapping.roles);
  EXPECT_EQ(first.importMapping.qUnit, QUnit::InverseNanometre);
  EXPECT_EQ(first.importMapping.wavelength, 0.7093);
  EXPECT_EQ(first.importMapping.sqzWidth, SqzWidth::Fwhm);

  // A damaged mapping is forgotten as a whole.
  store.write("Import", "columns", "q,X");
  EXPECT_TRUE(ReadFirstShowingValues(store, kTable).importMapping.roles.empty());
}

TEST(PersistedSettings, StoredValuesOutsideTheirChoicesGiveTheDefaults) {
  MemorySettingsStore store;
  for (const char* model : {"0", "5", "two", ""}) {
    store.write("Last Session", "model", model);
    EXPECT_EQ(ReadFirstShowingValues(store, kTable).sampleType, SampleType::IndependentLayers)
        << model;
  }
  store.write("Last Session", "model", "4");
  EXPECT_EQ(ReadFirstShowingValues(store, kTable).sampleType, SampleType::SymmetricFilm);

  store.write("Last Session", "chi2", "7");
  EXPECT_EQ(ReadFirstShowingValues(store, kTable).fit.weighting, Weighting::Statistical);
  store.write("Last Session", "chi2", "4");
  EXPECT_EQ(ReadFirstShowingValues(store, kTable).fit.weighting, Weighting::Logarithmic);

  // Only exactly "neutrons" means neutrons.
  store.write("Last Session", "radiation", "Neutrons");
  EXPECT_EQ(ReadFirstShowingValues(store, kTable).radiation, Radiation::Xrays);

  store.write("Main", "expertmode", "2");
  EXPECT_FALSE(ReadCreationValues(store).expertMode);
  store.write("Main", "expertmode", "1");
  EXPECT_TRUE(ReadCreationValues(store).expertMode);

  store.write("Last Session", "lastdir", "");
  EXPECT_EQ(ReadCreationValues(store).lastDir, kCurrentFolder);
}

TEST(PersistedSettings, AWavelengthThatIsNotANumberGivesTheDefaultAndTheRestIsRead) {
  MemorySettingsStore store;
  store.write("Last Session", "wavelength", "four");
  store.write("Main", "SLD Database", "/data/other.db");
  const FirstShowingValues values = ReadFirstShowingValues(store, kTable);
  EXPECT_EQ(values.wavelength, 4.66);
  EXPECT_EQ(values.sldDatabasePath, "/data/other.db");
}

TEST(PersistedSettings, TheWavelengthIsWrittenAndReadWithTheUsersSeparator) {
  ScopedDecimalSeparator comma(',');
  MemorySettingsStore store;
  ShutdownValues values;
  values.wavelength = 1.5406;
  WriteShutdownValues(store, values);
  EXPECT_EQ(store.read("Last Session", "wavelength"), "1,5406");
  EXPECT_EQ(ReadFirstShowingValues(store, kTable).wavelength, 1.5406);
}

TEST(PersistedSettings, TheNormalPlacementIsWrittenAndReadBack) {
  MemorySettingsStore store;
  ShutdownValues values;
  values.state = WindowShowState::Normal;
  values.placement = {.top = 40, .left = 30, .height = 700, .width = 1100};
  WriteShutdownValues(store, values);
  EXPECT_EQ(store.read("Window", "state"), "2");
  const CreationValues read = ReadCreationValues(store);
  EXPECT_EQ(read.state, WindowShowState::Normal);
  EXPECT_EQ(read.placement.top, 40);
  EXPECT_EQ(read.placement.left, 30);
  EXPECT_EQ(read.placement.height, 700);
  EXPECT_EQ(read.placement.width, 1100);
}

TEST(PersistedSettings, MinimisedOrMaximisedTheStoredPlacementDisappears) {
  for (const WindowShowState state : {WindowShowState::Minimised, WindowShowState::Maximised}) {
    MemorySettingsStore store;
    store.write("Window", "top", "40");
    store.write("Window", "width", "1100");
    ShutdownValues values;
    values.state = state;
    WriteShutdownValues(store, values);
    EXPECT_FALSE(store.has("Window", "top"));
    EXPECT_FALSE(store.has("Window", "width"));
    EXPECT_EQ(store.read("Window", "state"), std::to_string(static_cast<int>(state)));
    EXPECT_EQ(ReadCreationValues(store).state, state);
  }
}

TEST(PersistedSettings, ThePlacementIsReadOnlyForTheNormalState) {
  MemorySettingsStore store;
  store.write("Window", "state", "3");
  store.write("Window", "top", "40");
  EXPECT_EQ(ReadCreationValues(store).placement.top, 0);
  store.write("Window", "state", "2");
  store.write("Window", "height", "tall");  // not an integer: the default
  const CreationValues values = ReadCreationValues(store);
  EXPECT_EQ(values.placement.top, 40);
  EXPECT_EQ(values.placement.height, 100);
}

TEST(PersistedSettings, TheFitOptionsAreWrittenOnlyAfterAnAcceptedFit) {
  MemorySettingsStore store;
  store.write("Last Session", "chi2", "3");
  store.write("Last Session", "fitResolution", "1");
  WriteShutdownValues(store, ShutdownValues{});
  EXPECT_EQ(store.read("Last Session", "chi2"), "3");
  EXPECT_EQ(store.read("Last Session", "fitResolution"), "1");

  ShutdownValues accepted;
  accepted.acceptedFit = FitSettings{.weighting = Weighting::GivenErrors,
                                     .includeResolution = false,
                                     .includeBackground = true,
                                     .displayGraph = true};
  WriteShutdownValues(store, accepted);
  EXPECT_EQ(store.read("Last Session", "chi2"), "1");
  EXPECT_EQ(store.read("Last Session", "fitResolution"), "0");
  EXPECT_EQ(store.read("Last Session", "fitBackground"), "1");
  EXPECT_EQ(store.read("Last Session", "fitDisplayGraph"), "1");
  const FitSettings read = ReadFirstShowingValues(store, kTable).fit;
  EXPECT_EQ(read.weighting, Weighting::GivenErrors);
  EXPECT_TRUE(read.includeBackground);
  EXPECT_TRUE(read.displayGraph);
}

TEST(PersistedSettings, TheFitMethodIsKeptWithTheOtherFitOptions) {
  MemorySettingsStore store;
  EXPECT_EQ(ReadFirstShowingValues(store, kTable).fit.method, FitMethod::RandomSearch);
  ShutdownValues values;
  values.acceptedFit = FitSettings{.method = FitMethod::LevenbergMarquardt};
  WriteShutdownValues(store, values);
  EXPECT_EQ(store.read("Last Session", "fitMethod"), "1");
  EXPECT_EQ(ReadFirstShowingValues(store, kTable).fit.method, FitMethod::LevenbergMarquardt);
  // Without an accepted fit the stored method stays; a value outside the choices is the search.
  WriteShutdownValues(store, ShutdownValues{});
  EXPECT_EQ(store.read("Last Session", "fitMethod"), "1");
  store.write("Last Session", "fitMethod", "3");
  EXPECT_EQ(ReadFirstShowingValues(store, kTable).fit.method, FitMethod::RandomSearch);
}

TEST(PersistedSettings, EveryOtherValueRoundTrips) {
  MemorySettingsStore store;
  ShutdownValues values;
  values.expertMode = true;
  values.lastDir = "/home/user/data";
  values.sampleType = SampleType::MultipleLayers;
  values.radiation = Radiation::Xrays;
  values.addresses = {"https://maker.example", "https://facility.example", "me@example.org"};
  values.sldDatabasePath = "/home/user/materials.db";
  values.recalculateWhileEditing = false;
  WriteShutdownValues(store, values);
  EXPECT_EQ(store.read("Last Session", "radiation"), "x-rays");
  EXPECT_EQ(store.read("MAIN", "EXPERTMODE"), "1");

  const CreationValues creation = ReadCreationValues(store);
  EXPECT_TRUE(creation.expertMode);
  EXPECT_EQ(creation.lastDir, "/home/user/data");
  EXPECT_EQ(creation.addresses.facilityPage, "https://facility.example");
  EXPECT_EQ(creation.addresses.contact, "me@example.org");
  const FirstShowingValues first = ReadFirstShowingValues(store, kTable);
  EXPECT_EQ(first.sampleType, SampleType::MultipleLayers);
  EXPECT_EQ(first.radiation, Radiation::Xrays);
  EXPECT_EQ(first.sldDatabasePath, "/home/user/materials.db");
  EXPECT_FALSE(first.recalculateWhileEditing);
}

}  // namespace
}  // namespace quorrel
