// The commands of the main window's menus and tool bar.

#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QPainter>
#include <QPrinter>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QStatusBar>
#include <QToolButton>

#include "common/error.h"
#include "calc/point_background.h"
#include "calc/point_resolution.h"
#include "database/material_lookup.h"
#include "files/curve_files.h"
#include "files/column_import.h"
#include "files/measured_data_file.h"
#include "files/orso_file.h"
#include "files/model_file_reader.h"
#include "files/model_file_writer.h"
#include "model/settings_rules.h"
#include "shell/clipboard_text.h"
#include "shell/help_topics.h"
#include "shell/recovery_file.h"
#include "shell/shipped_files.h"
#include "shell/status_texts.h"
#include "shell/summary_sheet.h"
#include "shell/tiling.h"
#include "ui/calc/calculation_runner.h"
#include "ui/calc/live_recalculation.h"
#include "ui/database/material_editor_dialog.h"
#include "ui/files/import_dialog.h"
#include "ui/fit/fit_dialog.h"
#include "ui/function/function_dialog.h"
#include "ui/help/help_viewer.h"
#include "ui/main/about_box.h"
#include "ui/main/crash_recovery.h"
#include "ui/main/main_window.h"
#include "ui/main/measurements_panel.h"
#include "ui/main/tips_window.h"
#include "ui/main/tool_bar.h"
#include "ui/model/model_window.h"
#include "ui/platform/desktop_services.h"
#include "ui/platform/paths.h"
#include "ui/platform/prompts.h"
#include "ui/platform/shared_file_dialogs.h"
#include "ui/plot/profile_window.h"
#include "ui/print/summary_printer.h"
#include "ui/plot/reflectivity_slots.h"
#include "ui/plot/reflectivity_window.h"
#include "ui/settings/settings_dialog.h"

namespace quorrel {

void TForm1::showSettings() {
  settingsDlg_->setWindowModality(Qt::WindowModal);
  settingsDlg_->show();
  settingsDlg_->raise();
  settingsDlg_->activateWindow();
}

void TForm1::editFunction() {
  const bool confirmed = functionDlg_->exec() == QDialog::Accepted;
  if (confirmed) {
    state_.editor.testFunctionEnabled = true;
    frmModel_->showFunctionParameters();
  }
  // The kind and the built-in choice take effect even when the dialog is cancelled.
  edited();
  live_->changed();
}

void TForm1::setFitEnabled(bool on) {
  menu_.mnuFit->setEnabled(on);
  menu_.mnuSamplePosterior->setEnabled(on);
  Toolbar1->btnFit->setEnabled(on);
}

void TForm1::loadMaterialTable(const std::string& path) {
  MaterialLists lists;
  try {
    lists = LoadMaterialLists(path);
  } catch (const std::exception& error) {
    services_.prompts.error(QString::fromStdString(error.what()));
    return;
  }
  if (lists.failure) {
    services_.prompts.information(QString::fromStdString(*lists.failure));
    return;
  }
  materialLists_ = std::move(lists);
  state_.sldDatabasePath = path;
  frmModel_->setMaterialLists(materialLists_);
}

void TForm1::loadMaterialTableFromDisk() {
  const std::optional<QString> file = files_->open("Load Database files", "Database files (*.db)",
                                                   "db", FolderRule::Keep);
  if (file) loadMaterialTable(ToPath(*file).string());
}

std::string TForm1::editableMaterialTable() {
  const QString shipped =
      FromPath(ShippedMaterialTable(ToPath(QApplication::applicationDirPath())));
  const QString current = QString::fromStdString(state_.sldDatabasePath);
  if (QFileInfo(current).canonicalFilePath() != QFileInfo(shipped).canonicalFilePath()) {
    return state_.sldDatabasePath;
  }
  // The shipped table stays as shipped: edits go to a copy of the user's, never over an
  // earlier copy.
  const QString& folder = services_.dataFolder;
  QDir().mkpath(folder);
  QString copy = folder + "/quorrel.db";
  for (int n = 1; QFileInfo::exists(copy); ++n) copy = folder + QString("/quorrel-%1.db").arg(n);
  if (!QFile::copy(current, copy)) {
    services_.prompts.error("The material table could not be copied to " + copy +
                            " for editing; the table shipped with Quorrel is not changed.");
    return {};
  }
  QFile(copy).setPermissions(QFile(copy).permissions() | QFileDevice::WriteOwner);
  state_.sldDatabasePath = ToPath(copy).string();
  return state_.sldDatabasePath;
}

void TForm1::editMaterialTable() {
  if (!state_.materialTableLoaded) {
    loadMaterialTable(state_.sldDatabasePath);
    state_.materialTableLoaded = true;
  }
  const std::string table = editableMaterialTable();
  if (table.empty()) return;
  dbEditDlg_->editTable(table);
  loadMaterialTable(table);
}

XyGraph* TForm1::activeGraph() const {
  const QMdiSubWindow* active = mdiArea_->activeSubWindow();
  if (active == nullptr) return nullptr;
  if (active->widget() == frmPlot_) return &frmPlot_->graph();
  if (active->widget() == frmProfile_) return &frmProfile_->graph();
  return nullptr;
}

void TForm1::copyData() {
  const QMdiSubWindow* active = mdiArea_->activeSubWindow();
  if (active == nullptr) return;
  std::string text;
  if (active->widget() == frmPlot_) {
    const std::optional<ReflectivityResult>& last = document_.reflectivity();
    if (!last || last->plain.size() == 0) return;
    const bool magnetic = SpinCurvesOn(state_.settings);
    text = ReflectivityClipboardText(last->plain, magnetic ? &last->spinUp : nullptr,
                                     magnetic ? &last->spinDown : nullptr,
                                     state_.settings.cbTransmission ? &last->transmission
                                                                    : nullptr,
                                     last->spinFlip ? &*last->spinFlip : nullptr);
  } else if (active->widget() == frmProfile_) {
    const std::optional<ProfileCurve>& profile = document_.profile();
    if (!profile || profile->size() == 0) return;
    text = ProfileClipboardText(*profile);
  } else {
    return;
  }
  QApplication::clipboard()->setText(QString::fromStdString(text));
}

void TForm1::printSummary() {
  QPrinter printer(QPrinter::HighResolution);
  if (!services_.desktop.choosePrinter(printer, this)) return;
  printer.setPageOrientation(QPageLayout::Landscape);
  QPainter painter(&printer);
  if (!painter.isActive()) return;  // the printer's own failure; it reports it
  const QSize page = painter.viewport().size();
  SummaryInputs inputs;
  inputs.dateText = QLocale::system().toString(QDateTime::currentDateTime()).toStdString();
  if (state_.data.loaded()) inputs.dataFile = state_.data.fileName;
  if (fitSession_.fitAccepted()) {
    inputs.acceptedFit =
        SummaryInputs::FitLine{fitSession_.settings().weighting, fitSession_.chiSquareText()};
  }
  const DeviceTextMeasure measure(printer);
  const SummarySheet sheet =
      LayOutSummarySheet(state_.model, inputs, page.width(), page.height(), measure);
  PaintSummarySheet(painter, page, sheet, frmPlot_->graph(), frmProfile_->graph());
}

void TForm1::saveGraph() {
  XyGraph* graph = activeGraph();
  if (graph == nullptr) {
    services_.prompts.information("Choose the reflectivity or the profile window first.");
    return;
  }
  const std::optional<QString> file = files_->save(
      "Save Graph", "PDF (*.pdf);;SVG drawing (*.svg);;PNG picture (*.png)", "pdf");
  if (!file) return;
  const std::optional<QSize> size = services_.prompts.askPictureSize(graph->size());
  if (!size) return;
  if (!graph->saveTo(*file, *size)) {
    services_.prompts.error("The graph could not be written to " + *file +
                            " (the name must end in .pdf, .svg or .png).");
  }
}

void TForm1::lookUpMaterial(EditorGrid grid, MaterialKind kind, int position) {
  const std::optional<int> row = state_.editor.currentRow(grid);
  if (!row) return;
  TextGrid& cells = grid == EditorGrid::Base ? state_.model.baseGrid : state_.model.mlGrid;
  try {
    LookUpMaterial(state_.sldDatabasePath, kind, position, state_.settings.radiation, cells, *row);
  } catch (const std::exception& error) {
    services_.prompts.error(QString::fromStdString(error.what()));
  }
  // A failed lookup may still have written the name.
  frmModel_->refresh();
  edited();
  live_->changed();
}

void TForm1::tile() {
  // The measurements panel, when shown, takes its room below the windows.
  const int panel = measurementsPanel_ != nullptr && measurementsPanel_->isVisible()
                        ? measurementsPanel_->height()
                        : 0;
  const TileLayout layout = Tile({.clientWidth = width(),
                                  .clientHeight = height() - menuBar()->height() - panel,
                                  .toolbarHeight = Toolbar1->height(),
                                  .statusBarHeight = statusBar()->height(),
                                  .modelTopPanelWidth = frmModel_->topPanelWidth()});
  const auto place = [](QMdiSubWindow* frame, const ChildRect& rect) {
    frame->showNormal();
    frame->setGeometry(rect.left, rect.top, rect.width, rect.height);
  };
  place(frameOf(*frmPlot_), layout.reflectivity);
  place(frameOf(*frmProfile_), layout.profile);
  QMdiSubWindow* model = frameOf(*frmModel_);
  place(model, {layout.modelLeft, layout.modelTop, model->width(), layout.modelHeight});
}

void TForm1::arrangeIcons() {
  // Minimised windows in a row along the bottom of the window area.
  int left = 0;
  for (QMdiSubWindow* frame : mdiArea_->subWindowList()) {
    if (!frame->isMinimized()) continue;
    frame->move(left, mdiArea_->viewport()->height() - frame->height());
    left += frame->width();
  }
}

void TForm1::fillWindowList() {
  QMenu* windows = menu_.mnuWindow;
  for (QAction* item : windows->actions()) {
    if (item->property("windowListEntry").toBool()) {
      windows->removeAction(item);
      item->deleteLater();
    }
  }
  QAction* separator = windows->addSeparator();
  separator->setProperty("windowListEntry", true);
  int number = 1;
  for (QMdiSubWindow* frame : mdiArea_->subWindowList()) {
    QAction* entry = windows->addAction(QString("&%1 %2").arg(number++).arg(frame->windowTitle()));
    entry->setProperty("windowListEntry", true);
    entry->setCheckable(true);
    entry->setChecked(frame == mdiArea_->activeSubWindow());
    connect(entry, &QAction::triggered, this, [this, frame] {
      frame->showNormal();
      mdiArea_->setActiveSubWindow(frame);
    });
  }
}

void TForm1::childActivated(QMdiSubWindow* frame) {
  if (activeChild_ != nullptr && activeChild_ != frame && activeChild_->widget() == frmModel_) {
    frmModel_->windowDeactivated();
  }
  if (frame != nullptr) activeChild_ = frame;
  const bool plot = frame != nullptr &&
                    (frame->widget() == frmPlot_ || frame->widget() == frmProfile_);
  menu_.mnuEdit->menuAction()->setEnabled(plot);
}

void TForm1::showLogoTarget(const std::string& address) {
  setStatusText(QString::fromStdString(LogoConnectingText(address)));
  if (!services_.desktop.openAddress(QString::fromStdString(address))) {
    services_.prompts.error(QString::fromStdString(LogoFailureText(address)));
  }
  setStatusText(QString());
}

void TForm1::showTips() {
  auto* tips = new TfTipOfTheDay(services_.desktop, *help_, this);
  connect(tips, &TfTipOfTheDay::expertModeChosen, this, [this] { state_.expertMode = true; });
  tips->show();
}

void TForm1::showAbout() {
  aboutBox_->setContactAddress(QString::fromStdString(state_.addresses.contact));
  aboutBox_->exec();
}

void TForm1::showActiveHelp() {
  const QMdiSubWindow* active = mdiArea_->activeSubWindow();
  const QVariant context =
      active != nullptr ? active->widget()->property("helpContext") : property("helpContext");
  help_->showContext(context.isValid() ? context.toInt() : help_context::kMainWindow);
}

}  // namespace quorrel
