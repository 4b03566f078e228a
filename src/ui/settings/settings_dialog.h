#pragma once
// The calculation settings dialog. Its controls are the store of CalcSettings: every change
// goes into the settings at once, whether the dialog is then closed with OK or Cancel.

#include <utility>
#include <vector>

#include <QDialog>

#include "model/calc_settings.h"
#include "model/calc_settings_view.h"
#include "model/measured_data.h"
#include "model/sample_model.h"
#include "ui/widgets/numeric_edit.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;
class QToolButton;

namespace quorrel {

class HelpViewer;
class Prompts;
class SpinFlipOptions;

class TSettingsDlg : public QDialog {
  Q_OBJECT

 public:
  TSettingsDlg(CalcSettings& settings, const SampleModel& model, const MeasuredData& measured,
               Prompts& prompts, HelpViewer& help, QWidget* parent = nullptr);
  ~TSettingsDlg() override;

  //! Shows the current values of the settings, after they were changed elsewhere (a model
  //! file was read, data were loaded).
  void refresh();

 signals:
  //! The user changed a setting.
  void settingsChanged();
  //! btnCalc: a profile calculation on the profile page, otherwise a reflectivity one.
  void calculateRequested(bool profile);
  //! "load database file": the main window asks for the file and reloads the table.
  void databaseFileRequested();

 private:
  QWidget* makeReflectivityPage();
  QWidget* makeTransmissionPage();
  QWidget* makeProfilePage();
  QWidget* makeBackgroundPage();
  QWidget* makeResolutionPage();
  QWidget* makeDatabasePage();
  QWidget* makeButtons();
  void connectControls();

  //! A real field whose edits go to `target`.
  TRealEdit* realField(const char* name, double CalcSettings::*target);
  //! An integer field whose edits go to `target`.
  TIntegerEdit* integerField(const char* name, int CalcSettings::*target);
  //! A spin field within `range` whose value goes to `target`.
  QSpinBox* spinField(const char* name, SpinRange range, int CalcSettings::*target);

  // Settings to controls; the guard keeps the controls' signals from writing back.
  void showQRange();
  void showZRange();
  void showRegions();
  void applyView();

  //! Ends every change made by the user.
  void changed();
  SettingsPage currentPage() const;

  CalcSettings& settings_;
  const SampleModel& model_;
  const MeasuredData& measured_;
  Prompts& prompts_;
  HelpViewer& help_;
  bool showing_ = false;  // the settings are being shown: the controls' signals are ours

  // The plain fields and where their values live, so that refresh() can show them all.
  std::vector<std::pair<TRealEdit*, double CalcSettings::*>> realFields_;
  std::vector<std::pair<TIntegerEdit*, int CalcSettings::*>> integerFields_;
  std::vector<std::pair<QSpinBox*, int CalcSettings::*>> spinFields_;

  QTabWidget* pages_ = nullptr;

  QCheckBox* cbUserRange = nullptr;
  TRealEdit* edtminQ = nullptr;
  TRealEdit* edtMaxQ = nullptr;
  QSpinBox* edtNumPoints = nullptr;
  QCheckBox* cbMagnet = nullptr;
  SpinFlipOptions* spinFlipOptions = nullptr;

  QCheckBox* cbTransmission = nullptr;
  QGroupBox* gbTransmission = nullptr;
  TRealEdit* edtWavelength = nullptr;
  TRealEdit* edtSampleThickness = nullptr;

  QCheckBox* cbUserZ = nullptr;
  TIntegerEdit* edtMinZ = nullptr;
  TIntegerEdit* edtMaxZ = nullptr;
  QSpinBox* edtNumPointsZ = nullptr;

  QCheckBox* cbBackground = nullptr;
  QGroupBox* GroupBoxBG = nullptr;
  QRadioButton* RBConstBG = nullptr;
  QRadioButton* RBLinearBG = nullptr;
  QRadioButton* RBGaussBG = nullptr;
  QRadioButton* RBLorentzBG = nullptr;
  TRealEdit* edtY0 = nullptr;
  TRealEdit* edtM = nullptr;
  TRealEdit* edtPeakA = nullptr;
  TRealEdit* edtPeakW = nullptr;
  TRealEdit* edtPeakXC = nullptr;
  QLabel* lblY0 = nullptr;
  QLabel* lblM = nullptr;
  QLabel* lblPeakA = nullptr;
  QLabel* lblPeakW = nullptr;
  QLabel* lblPeakXC = nullptr;

  QCheckBox* cbDataResolution = nullptr;
  QComboBox* cbSmearing = nullptr;
  QCheckBox* cbVSelector = nullptr;
  QWidget* pnlVSelector = nullptr;
  TRealEdit* edtConstantRes = nullptr;
  TRealEdit* edtDistribution = nullptr;
  QWidget* pnlRegions = nullptr;
  QSpinBox* edtRegions = nullptr;
  QTableWidget* ResltnGrid = nullptr;

  QRadioButton* RBNeutrons = nullptr;
  QRadioButton* RBXrays = nullptr;
  QPushButton* btnRescanDB = nullptr;

  QToolButton* btnCalc = nullptr;
};

}  // namespace quorrel
