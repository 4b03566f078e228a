#pragma once
// The main window: the frame around the model editor and the two plot windows, with the
// menus, the tool bar and the status bar; start-up, the user's last settings and shut-down.

#include <memory>
#include <optional>

#include <QMainWindow>

#include "database/material_lists.h"
#include "fit/fit_session.h"
#include "shell/command_line.h"
#include "shell/program_state.h"
#include "shell/settings_store.h"
#include "ui/main/main_menu.h"

class QLabel;
class QMdiArea;
class QMdiSubWindow;

namespace quorrel {

class CalculationRunner;
class DesktopServices;
class HelpViewer;
class Prompts;
class SplashScreen;
class TAboutBox;
class TfrmModel;
class TfrmPlot;
class TfrmProfile;
class ToolbarPanel;

class TForm1 : public QMainWindow {
  Q_OBJECT

 public:
  //! The platform services the window works through; they outlive it.
  struct Services {
    Prompts& prompts;
    DesktopServices& desktop;
    SettingsStore& settings;
  };

  //! Creation: reads the first part of the user's settings and places the window; unless
  //! "nosplash", shows the splash picture; creates the child windows, with passes of the
  //! splash animation between them.
  TForm1(Services services, const StartupSwitches& switches);
  ~TForm1() override;

  // The program's state and windows.
  ProgramState& state() { return state_; }
  FitSession& fitSession() { return fitSession_; }
  const MaterialLists& materialLists() const { return materialLists_; }
  TfrmModel& modelWindow() { return *frmModel_; }
  TfrmPlot& plotWindow() { return *frmPlot_; }
  TfrmProfile& profileWindow() { return *frmProfile_; }
  //! The frame of a child window inside the window area.
  QMdiSubWindow* frameOf(const QWidget& child) const;
  CalculationRunner& calculations() { return *calculations_; }
  HelpViewer& help() { return *help_; }
  const MainMenu& menu() const { return menu_; }
  ToolbarPanel& toolbar() { return *Toolbar1; }
  //! The splash picture until the first showing removes it; none with "nosplash".
  SplashScreen* splash() const { return splash_.get(); }

  QString statusText() const;
  //! Sets the text of the status bar's panel and repaints it at once.
  void setStatusText(const QString& text);
  //! The open dialog's initial folder.
  const QString& openFolder() const { return openFolder_; }

  // Commands.
  void loadData();
  void loadDataFile(const QString& path);
  void loadModel();
  void loadModelFile(const QString& path);
  void calculateReflectivity();
  void calculateProfile();
  void tile();
  void arrangeIcons();
  void showTips();
  void showAbout();
  //! The help of the active window, or of the main window.
  void showActiveHelp();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildWindow();
  void connectCommands();
  void createChildWindows();
  void animateSplash();
  QMdiSubWindow* addChild(QWidget* child);
  void applyCreationValues();
  void firstShowing();
  void writeShutdownValues();
  void loadMaterialTable();
  void chooseFolderOf(const QString& file);
  void childActivated(QMdiSubWindow* frame);
  void fillWindowList();
  void showLogoTarget(const std::string& address);
  void setFitEnabled(bool on);

  Services services_;
  StartupSwitches switches_;
  std::unique_ptr<SplashScreen> splash_;
  ProgramState state_;
  FitSession fitSession_;
  MaterialLists materialLists_;

  QMdiArea* mdiArea_;
  ToolbarPanel* Toolbar1;
  QLabel* statusPanel_;
  MainMenu menu_;
  TfrmModel* frmModel_ = nullptr;
  TfrmPlot* frmPlot_ = nullptr;
  TfrmProfile* frmProfile_ = nullptr;
  TAboutBox* aboutBox_ = nullptr;
  CalculationRunner* calculations_;
  std::unique_ptr<HelpViewer> help_;

  QString openFolder_;
  //! The folder of the file last chosen in the open dialog; empty until one is chosen.
  QString lastChosenFolder_;
  bool firstShown_ = false;
  bool shutDown_ = false;
};

}  // namespace quorrel
