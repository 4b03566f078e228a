#include "ui/main/main_menu.h"

#include <QMenu>
#include <QMenuBar>

#include "shell/help_topics.h"

namespace quorrel {

namespace {

QMenu* AddMenu(QMenuBar& bar, const char* name, const char* caption) {
  QMenu* menu = bar.addMenu(caption);
  menu->setObjectName(name);
  menu->menuAction()->setObjectName(name);
  menu->setToolTipsVisible(true);
  return menu;
}

QAction* AddItem(QMenu* menu, const char* name, const char* caption, int helpContext = 0) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(name);
  if (helpContext != 0) action->setProperty("helpContext", helpContext);
  return action;
}

}  // namespace

MainMenu BuildMainMenu(QMenuBar& bar) {
  MainMenu m{};
  m.mnuFile = AddMenu(bar, "mnuFile", "&File");
  m.mnuFile->setProperty("helpContext", help_context::kFileMenu);
  m.mnuLoadData = AddItem(m.mnuFile, "mnuLoadData", "&Load data file", help_context::kLoadData);
  m.mnuImportData = AddItem(m.mnuFile, "mnuImportData", "&Import data...", help_context::kImportDialog);
  m.mnuLoadModel =
      AddItem(m.mnuFile, "mnuLoadModel", "L&oad model file", help_context::kLoadModel);
  m.mnuNewModelFromOrso =
      AddItem(m.mnuFile, "mnuNewModelFromOrso", "New Model from ORSO File...");
  m.mnuFile->addSeparator();
  m.mnuNewProject = AddItem(m.mnuFile, "mnuNewProject", "New Project");
  m.mnuOpenProject = AddItem(m.mnuFile, "mnuOpenProject", "Open Project...");
  m.mnuSaveProject = AddItem(m.mnuFile, "mnuSaveProject", "Save Project");
  m.mnuSaveProjectAs = AddItem(m.mnuFile, "mnuSaveProjectAs", "Save Project As...");
  m.mnuRecent = m.mnuFile->addMenu("Recent Projects and Models");
  m.mnuRecent->setObjectName("mnuRecent");
  m.mnuFile->addSeparator();
  m.mnuSaveRefl =
      AddItem(m.mnuFile, "mnuSaveRefl", "&Save Reflectivity", help_context::kSaveReflectivity);
  m.mnuSaveProfile = AddItem(m.mnuFile, "mnuSaveProfile", "Save P&rofile");
  m.mnuSaveModel = AddItem(m.mnuFile, "mnuSaveModel", "Save &Model");
  m.mnuSaveGraph = AddItem(m.mnuFile, "mnuSaveGraph", "Save &Graph...");
  m.mnuPrint = AddItem(m.mnuFile, "mnuPrint", "&Print ...", help_context::kPrint);
  m.mnuFile->addSeparator();
  m.mnuExit = AddItem(m.mnuFile, "mnuExit", "E&xit", help_context::kExit);

  m.mnuEdit = AddMenu(bar, "mnuEdit", "&Edit");
  m.mnuUndo = AddItem(m.mnuEdit, "mnuUndo", "&Undo");
  m.mnuUndo->setShortcut(QKeySequence::Undo);
  m.mnuRedo = AddItem(m.mnuEdit, "mnuRedo", "&Redo");
  m.mnuRedo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                           QKeySequence(Qt::CTRL | Qt::Key_Y)});
  m.mnuEdit->addSeparator();
  m.mnuCopyData = AddItem(m.mnuEdit, "mnuCopyData", "&Copy data");

  m.mnuCalculate = AddMenu(bar, "mnuCalculate", "&Calculate");
  m.mnuCalculateProfile = AddItem(m.mnuCalculate, "mnuCalculateProfile", "calculate &profile");
  m.mnuCalculationRefl = AddItem(m.mnuCalculate, "mnuCalculationRefl", "calculate &reflectivity");
  m.mnuFit = AddItem(m.mnuCalculate, "mnuFit", "&fit data");
  m.mnuSamplePosterior =
      AddItem(m.mnuCalculate, "mnuSamplePosterior", "&Sample posterior...");
  m.mnuCalculate->addSeparator();
  m.mnuRecalculateWhileEditing =
      AddItem(m.mnuCalculate, "mnuRecalculateWhileEditing", "recalculate while &editing");
  m.mnuRecalculateWhileEditing->setCheckable(true);
  m.mnuRecalculateWhileEditing->setChecked(true);
  m.mnuSettings = AddItem(m.mnuCalculate, "mnuSettings", "&Settings ...");

  m.mnuDB = AddMenu(bar, "mnuDB", "&Database");
  m.mnuDBedit = AddItem(m.mnuDB, "mnuDBedit", "&edit");
  m.mnuDBreload = AddItem(m.mnuDB, "mnuDBreload", "&load from disk");

  m.mnuWindow = AddMenu(bar, "mnuWindow", "&Window");
  m.mnuTile = AddItem(m.mnuWindow, "mnuTile", "&Tile");
  m.mnuCascade = AddItem(m.mnuWindow, "mnuCascade", "&Cascade");
  m.mnuArrangeIcons = AddItem(m.mnuWindow, "mnuArrangeIcons", "&Arrange Icons");

  m.mnuHelp = AddMenu(bar, "mnuHelp", "&Help");
  m.mnuContents = AddItem(m.mnuHelp, "mnuContents", "&Contents");
  m.mnuIndex = AddItem(m.mnuHelp, "mnuIndex", "&Index");
  m.mnuTutorial = AddItem(m.mnuHelp, "mnuTutorial", "&Tutorial");
  m.mnuHelp->addSeparator();
  m.mnuTipsoftheday = AddItem(m.mnuHelp, "mnuTipsoftheday", "Tips of the &day");
  m.mnuHelp->addSeparator();
  m.mnuAbout = AddItem(m.mnuHelp, "mnuAbout", "&about");
  return m;
}

}  // namespace quorrel
