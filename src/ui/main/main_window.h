#pragma once
// The main window: the frame around the model editor and the two plot windows, with the
// menus, the tool bar and the status bar; start-up, the user's last settings and shut-down.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QMainWindow>

#include "calc/curves.h"
#include "database/material_lists.h"
#include "database/material_record.h"
#include "files/column_import.h"
#include "model/editor_state.h"
#include "shell/command_line.h"
#include "shell/document.h"
#include "shell/settings_store.h"
#include "ui/main/main_menu.h"

class QLabel;
class QMdiArea;
class QMdiSubWindow;

namespace quorrel {

struct CalculationFailure;
class CalculationRunner;
class CrashRecovery;
class DesktopServices;
class HelpViewer;
class LiveRecalculation;
class Prompts;
class SharedFileDialogs;
class SplashScreen;
class TAboutBox;
class TFitDlg;
class TImportDlg;
class TMyDBEditDlg;
class TFunctionDlg;
class TSettingsDlg;
class TfrmModel;
class TfrmPlot;
class TfrmProfile;
class TSamplingDlg;
class ToolbarPanel;

class TForm1 : public QMainWindow {
  Q_OBJECT

 public:
  //! The platform services the window works through; they outlive it.
  struct Services {
    Prompts& prompts;
    DesktopServices& desktop;
    SettingsStore& settings;
    //! The user's data folder: the recovery file and an edited copy of the material table.
    QString dataFolder;
  };

  //! Creation: reads the first part of the user's settings and places the window; unless
  //! "nosplash", shows the splash picture; creates the child windows, with passes of the
  //! splash animation between them.
  TForm1(Services services, const StartupSwitches& switches);
  ~TForm1() override;

  // The program's state and windows.
  Document& document() { return document_; }
  ProgramState& state() { return state_; }
  FitSession& fitSession() { return fitSession_; }
  const MaterialLists& materialLists() const { return materialLists_; }
  TfrmModel& modelWindow() { return *frmModel_; }
  TfrmPlot& plotWindow() { return *frmPlot_; }
  TfrmProfile& profileWindow() { return *frmProfile_; }
  TSettingsDlg& settingsDialog() { return *settingsDlg_; }
  TFunctionDlg& functionDialog() { return *functionDlg_; }
  TFitDlg& fitDialog() { return *fitDlg_; }
  TSamplingDlg& samplingDialog() { return *samplingDlg_; }
  TImportDlg& importDialog() { return *importDlg_; }
  TMyDBEditDlg& materialEditor() { return *dbEditDlg_; }
  //! The frame of a child window inside the window area.
  QMdiSubWindow* frameOf(const QWidget& child) const;
  CalculationRunner& calculations() { return *calculations_; }
  LiveRecalculation& liveRecalculation() { return *live_; }
  HelpViewer& help() { return *help_; }
  SharedFileDialogs& fileDialogs() { return *files_; }
  const MainMenu& menu() const { return menu_; }
  ToolbarPanel& toolbar() { return *Toolbar1; }
  //! The splash picture until the first showing removes it; none with "nosplash".
  SplashScreen* splash() const { return splash_.get(); }

  QString statusText() const;
  //! Sets the text of the status bar's panel and repaints it at once.
  void setStatusText(const QString& text);

  // Commands.
  void loadData();
  //! A data file (.dat) or an ORSO file (.ort), whose data set is asked for when it has more
  //! than one.
  void loadDataFile(const QString& path);
  //! "&Import data...": a plain text table, its columns chosen in the import dialog.
  void importData();
  //! Asks to save a changed model first; then the open dialog, the reading and both
  //! calculations (also after a cancelled dialog).
  void loadModel();
  //! Reads a model file into the editor and the settings; false when it could not be read. A
  //! layer table (.layers) becomes independent layers, with spin flip on when it has angles.
  bool loadModelFile(const QString& path);
  //! Each returns whether a file was written.
  bool saveModel();
  bool saveReflectivity();
  bool saveProfile();
  //! The save button: the file of the active child window.
  void saveActive();
  void calculateReflectivity();
  void calculateProfile();
  //! "&fit data": the measured points' resolution and background, the fit dialog, and
  //! after "&OK" the fitted model with both curves recalculated.
  void fit();
  //! "&Sample posterior...": the sampling dialog on the model and the measured points, with
  //! the fit dialog's last ticks and bounds; its bands go to the plot windows.
  void samplePosterior();
  void loadMaterialTableFromDisk();
  //! "&edit" of "&Database": the table editor on the user's own table file; the lists are
  //! loaded before (when they were not yet) and again after.
  void editMaterialTable();
  //! The one-page summary on the printer the user chooses.
  void printSummary();
  //! The active plot window's curves to the clipboard as tab-separated text.
  void copyData();
  //! The active plot window as a PDF, SVG or PNG picture.
  void saveGraph();
  //! The settings dialog, shown over the main window; it stays open beside the help.
  void showSettings();
  //! "edit function...": the function dialog; "&OK" shows the parameter boxes.
  void editFunction();
  void tile();
  void arrangeIcons();
  void showTips();
  void showAbout();
  //! The help of the active window, or of the main window.
  void showActiveHelp();

  // ORSO files (ui/files/orso_model_import.cpp).
  //! "New Model from ORSO File...": asks to save a changed model, then builds the model that
  //! the chosen file's header describes and calculates both curves.
  void newModelFromOrso();
  // Projects.
  void newProject();
  void openProject();
  //! Opens the project at `path`; false when it cannot be read (the user was told why).
  bool openProjectFile(const QString& path);
  bool saveProject();
  bool saveProjectAs();
  //! A project or model of the recent list, by its extension.
  void openRecent(const QString& path);
  //! Builds the model of an .ort header into the editor; false when it could not be built.
  bool loadOrsoModel(const QString& path);
  //! After an .ort file was loaded as data: shows the fit results its header holds and
  //! offers to build its model.
  void offerOrsoModel(const QString& path);
  //! Writes the curves shown, the model and, after an accepted fit, its results as an .ort.
  void writeOrsoReflectivity(const QString& path, ReflectivityResult shown);

  //! The editor and the dialogs show the model and the settings anew.
  void refreshModelViews();
  bool loadLayerTable(const QString& path);
  //! The model window shows the angle column, and is wide enough for it, while spin flip is on.
  void followSpinFlip();
  //! Both curves anew.
  void recalculate();
  //! The fit was accepted: its values go into the editor and the region is cleared.
  void acceptFit();

  //! Whether the model differs from the one last loaded or saved.
  bool modelChanged() const { return document_.modelChanged(); }
  //! "&Undo" and "&Redo" of "&Edit".
  void undo();
  void redo();
  //! Writes the work to the recovery file while it has unsaved changes, and removes the
  //! file when it has none. Runs every 30 seconds and before each fit.
  void keepForRecovery();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildWindow();
  void connectCommands();
  void connectModelWindow();
  void connectDialogs();
  void createChildWindows();
  void animateSplash();
  QMdiSubWindow* addChild(QWidget* child);
  void applyCreationValues();
  void firstShowing();
  void writeShutdownValues();
  //! Loads the lists of the table at `path`. A table that fails keeps the lists and the
  //! path of the one before, so no menu item points into a broken table.
  void loadMaterialTable(const std::string& path);
  void lookUpMaterial(EditorGrid grid, MaterialKind kind, int position);
  void childActivated(QMdiSubWindow* frame);
  void fillWindowList();
  void showLogoTarget(const std::string& address);
  void setFitEnabled(bool on);
  //! Reads data set `index` of an ORSO file into the data; false when nothing was loaded.
  bool loadOrsoFile(const QString& path);
  //! Every data set of the .ort file as the measurements of a project (a new one when none
  //! is open).
  bool loadOrsoMeasurements(const QString& path);
  //! What follows every successful load: caption, measured Q range, fit, plot, curves.
  void dataLoaded(const std::vector<std::string>& notes);
  //! "Save changes to ...?" when the model has changed; false when the user cancels.
  bool settleModelChanges();
  //! "Save changes to the project ...?" when it has changed; false when the user cancels.
  bool settleProjectChanges();
  //! `path` first in the recent list, which "&File" shows anew.
  void rememberRecent(const QString& path);
  void fillRecentMenu();
  //! The views after the document took other measurements or a project.
  void showMeasurements();
  //! What an accepted fit leaves in the document besides the model.
  void keepFitResults();
  //! The dock of the measurements, hidden until a project or a second data set needs it.
  void createMeasurementsPanel();
  //! "Add..." of the measurements panel: a data file as one more measurement.
  void addMeasurement();
  //! The model as it now stands counts as saved.
  void modelSaved(const QString& path);
  //! The model, the editor or the settings were changed in place: one undo step, named
  //! `what` or else after what changed.
  void edited(const QString& what = {});
  //! A step the menus name: a load or an accepted fit.
  void recordStep(const QString& what);
  //! The views show the document anew after an undo or a redo.
  void showRestored(const Restored& restored);
  //! "Undo <what>", "Redo <what>" and their enabled state.
  void showUndoSteps();
  //! The message of a failed calculation; a cell that cannot be read is marked and told once.
  void showCalculationFailure(const CalculationFailure& failure);
  //! Offers the work that a run which did not close properly left in the recovery file.
  void offerRecovery();
  //! A recovered project: its measurements and setup as they were, still unsaved.
  void restoreRecoveredProject(const RecoveredWork& work);
  //! The table file that edits go to: the one in use, or for the table shipped with the
  //! program a copy in the user's data folder, which then becomes the one in use.
  std::string editableMaterialTable();
  //! The graph of the active plot window, if a plot window is active.
  class XyGraph* activeGraph() const;

  Services services_;
  StartupSwitches switches_;
  std::unique_ptr<SplashScreen> splash_;
  Document document_;
  ProgramState& state_ = document_.state();
  FitSession& fitSession_ = document_.fitSession();
  MaterialLists materialLists_;

  QMdiArea* mdiArea_;
  ToolbarPanel* Toolbar1;
  QLabel* statusPanel_;
  MainMenu menu_;
  class MeasurementsPanel* measurementsPanel_ = nullptr;
  TfrmModel* frmModel_ = nullptr;
  TfrmPlot* frmPlot_ = nullptr;
  TfrmProfile* frmProfile_ = nullptr;
  TAboutBox* aboutBox_ = nullptr;
  TFitDlg* fitDlg_ = nullptr;
  TSamplingDlg* samplingDlg_ = nullptr;
  TMyDBEditDlg* dbEditDlg_ = nullptr;
  TFunctionDlg* functionDlg_ = nullptr;
  TSettingsDlg* settingsDlg_ = nullptr;
  TImportDlg* importDlg_ = nullptr;
  CalculationRunner* calculations_;
  LiveRecalculation* live_;
  std::unique_ptr<HelpViewer> help_;
  std::unique_ptr<SharedFileDialogs> files_;
  std::unique_ptr<CrashRecovery> recovery_;
  QMdiSubWindow* activeChild_ = nullptr;

  //! The columns and units of the last import, the next one's starting choice.
  ColumnMapping importMapping_;
  //! The cell that the last calculation could not read, marked in the editor.
  std::optional<EditorCell> unreadableCell_;
  bool firstShown_ = false;
  bool shutDown_ = false;
};

}  // namespace quorrel
