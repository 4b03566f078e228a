#pragma once
// The main window's menu bar: every menu and item with its caption.

class QAction;
class QMenu;
class QMenuBar;

namespace quorrel {

struct MainMenu {
  QMenu* mnuFile;
  QAction* mnuLoadData;
  //! Plain text tables with their columns chosen in a dialog.
  QAction* mnuImportData;
  QAction* mnuLoadModel;
  //! The sample model that the header of an ORSO file describes.
  QAction* mnuNewModelFromOrso;
  //! A project: the model with several measurements, the fit setup and the last fit.
  QAction* mnuNewProject;
  QAction* mnuOpenProject;
  QAction* mnuSaveProject;
  QAction* mnuSaveProjectAs;
  //! The last projects and models opened; the items after it are refilled.
  QMenu* mnuRecent;
  QAction* mnuSaveRefl;
  QAction* mnuSaveProfile;
  QAction* mnuSaveModel;
  //! The active plot as a picture for publications: PDF, SVG or PNG.
  QAction* mnuSaveGraph;
  QAction* mnuPrint;
  QAction* mnuExit;

  QMenu* mnuEdit;
  //! "Undo <what>" and "Redo <what>" of the open document's last steps.
  QAction* mnuUndo;
  QAction* mnuRedo;
  QAction* mnuCopyData;

  QMenu* mnuCalculate;
  QAction* mnuCalculateProfile;
  QAction* mnuCalculationRefl;
  QAction* mnuFit;
  QAction* mnuSamplePosterior;
  //! Checkable: the curves follow every edit.
  QAction* mnuRecalculateWhileEditing;
  QAction* mnuSettings;

  QMenu* mnuDB;
  QAction* mnuDBedit;
  QAction* mnuDBreload;

  //! Its items are followed by the list of child windows.
  QMenu* mnuWindow;
  QAction* mnuTile;
  QAction* mnuCascade;
  QAction* mnuArrangeIcons;

  QMenu* mnuHelp;
  QAction* mnuContents;
  QAction* mnuIndex;
  QAction* mnuTutorial;
  QAction* mnuTipsoftheday;
  QAction* mnuAbout;
};

//! Fills `bar`. Items with a help context carry it as the property "helpContext".
MainMenu BuildMainMenu(QMenuBar& bar);

}  // namespace quorrel
