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

namespace {

//! A curve as a graph slot holds it.
Curve CurveOf(const XyGraph& graph, int slot) {
  Curve curve;
  for (const QPointF& point : graph.points(slot)) curve.append(point.x(), point.y());
  return curve;
}

QString FileNameOf(const QString& path) { return QFileInfo(path).fileName(); }

}  // namespace

void TForm1::connectCommands() {
  const MainMenu& m = menu_;
  ToolbarPanel& bar = *Toolbar1;
  connect(m.mnuLoadData, &QAction::triggered, this, &TForm1::loadData);
  connect(m.mnuImportData, &QAction::triggered, this, &TForm1::importData);
  connect(bar.btnLoadRefl, &QToolButton::clicked, this, &TForm1::loadData);
  connect(m.mnuLoadModel, &QAction::triggered, this, &TForm1::loadModel);
  connect(bar.btnLoadModel, &QToolButton::clicked, this, &TForm1::loadModel);
  connect(m.mnuSaveRefl, &QAction::triggered, this, &TForm1::saveReflectivity);
  connect(m.mnuSaveProfile, &QAction::triggered, this, &TForm1::saveProfile);
  connect(m.mnuSaveModel, &QAction::triggered, this, &TForm1::saveModel);
  connect(bar.btnSave, &QToolButton::clicked, this, &TForm1::saveActive);
  connect(m.mnuSettings, &QAction::triggered, this, &TForm1::showSettings);
  connect(m.mnuFit, &QAction::triggered, this, &TForm1::fit);
  connect(m.mnuSaveGraph, &QAction::triggered, this, &TForm1::saveGraph);
  connect(m.mnuPrint, &QAction::triggered, this, &TForm1::printSummary);
  connect(bar.btnPrint, &QToolButton::clicked, this, &TForm1::printSummary);
  connect(m.mnuCopyData, &QAction::triggered, this, &TForm1::copyData);
  connect(m.mnuDBedit, &QAction::triggered, this, &TForm1::editMaterialTable);
  connect(bar.btnFit, &QToolButton::clicked, this, &TForm1::fit);
  connect(bar.btnSettings, &QToolButton::clicked, this, &TForm1::showSettings);
  connect(m.mnuExit, &QAction::triggered, this, &QWidget::close);
  connect(m.mnuCalculateProfile, &QAction::triggered, this, &TForm1::calculateProfile);
  connect(bar.btnCalculateProfile, &QToolButton::clicked, this, &TForm1::calculateProfile);
  connect(m.mnuCalculationRefl, &QAction::triggered, this, &TForm1::calculateReflectivity);
  connect(bar.btnCalculateRefl, &QToolButton::clicked, this, &TForm1::calculateReflectivity);
  connect(m.mnuRecalculateWhileEditing, &QAction::toggled, live_, &LiveRecalculation::setEnabled);
  connect(m.mnuDBreload, &QAction::triggered, this, &TForm1::loadMaterialTableFromDisk);
  connect(m.mnuTile, &QAction::triggered, this, &TForm1::tile);
  connect(m.mnuCascade, &QAction::triggered, mdiArea_, &QMdiArea::cascadeSubWindows);
  connect(m.mnuArrangeIcons, &QAction::triggered, this, &TForm1::arrangeIcons);
  connect(m.mnuWindow, &QMenu::aboutToShow, this, &TForm1::fillWindowList);
  connect(m.mnuContents, &QAction::triggered, this, [this] { help_->showContents(); });
  connect(m.mnuIndex, &QAction::triggered, this, [this] { help_->showTopic("Index"); });
  connect(m.mnuTutorial, &QAction::triggered, this,
          [this] { help_->showContext(help_context::kTutorial, "tutwnd"); });
  connect(m.mnuTipsoftheday, &QAction::triggered, this, &TForm1::showTips);
  connect(m.mnuAbout, &QAction::triggered, this, &TForm1::showAbout);
  connect(mdiArea_, &QMdiArea::subWindowActivated, this, &TForm1::childActivated);
  auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(f1, &QShortcut::activated, this, &TForm1::showActiveHelp);

  for (LogoImage* facility : {bar.facilityLogo, bar.strip}) {
    connect(facility, &LogoImage::hovered, this, [this] {
      setStatusText(QString::fromStdString(LogoHoverText(state_.addresses.facilityPage)));
    });
    connect(facility, &LogoImage::released, this,
            [this] { showLogoTarget(state_.addresses.facilityPage); });
  }
  connect(bar.makerLogo, &LogoImage::hovered, this, [this] {
    setStatusText(QString::fromStdString(LogoHoverText(state_.addresses.makerPage)));
  });
  connect(bar.makerLogo, &LogoImage::released, this,
          [this] { showLogoTarget(state_.addresses.makerPage); });

  connect(calculations_, &CalculationRunner::reflectivityReady, this,
          [this](const ReflectivityResult& result) {
            frmPlot_->setFresnelMedia(FresnelMediaOf(state_.model));
            frmPlot_->showReflectivity(result);
            if (!result.notes.statusText.empty()) {
              setStatusText(QString::fromStdString(result.notes.statusText));
            }
          });
  connect(calculations_, &CalculationRunner::profileReady, this,
          [this](const ProfileCurve& profile, const QString& note) {
            frmProfile_->showProfile(profile);
            setStatusText(note);
          });
  connect(calculations_, &CalculationRunner::profileProgress, this, &TForm1::setStatusText);
  connect(calculations_, &CalculationRunner::functionCompiled, this,
          [this](const FunctionCompilation& compilation) {
            // Abandoned when the function was edited while it compiled.
            const FunctionSettings& function = state_.model.function;
            if (function.kind != FunctionKind::UserDefined ||
                function.expression != compilation.expression) {
              return;
            }
            state_.model.userFunction = compilation.function;
            if (compilation.failure) {
              services_.prompts.error(QString::fromStdString(*compilation.failure));
              return;
            }
            calculateReflectivity();
            calculateProfile();
          });
  connect(calculations_, &CalculationRunner::calculationFailed, this,
          [this](const QString& message) { services_.prompts.error(message); });

  // Enabled by the first data load.
  m.mnuFit->setEnabled(false);
  bar.btnFit->setEnabled(false);
  m.mnuEdit->menuAction()->setEnabled(false);
}

void TForm1::connectModelWindow() {
  connect(frmModel_, &TfrmModel::modelEdited, live_, &LiveRecalculation::changed);
  connect(frmModel_, &TfrmModel::testFunctionRequested, this, [this] {
    // A user function is compiled first; the message of a text that does not compile is
    // shown instead of the calculations.
    if (state_.model.function.kind == FunctionKind::UserDefined) {
      calculations_->requestFunctionCompile(state_.model.function.expression);
      return;
    }
    calculateReflectivity();
    calculateProfile();
  });
  connect(frmModel_, &TfrmModel::materialChosen, this, &TForm1::lookUpMaterial);
  connect(frmModel_, &TfrmModel::statusText, this, &TForm1::setStatusText);
  connect(frmModel_, &TfrmModel::editFunctionRequested, this, &TForm1::editFunction);
}

void TForm1::connectDialogs() {
  connect(settingsDlg_, &TSettingsDlg::settingsChanged, live_, &LiveRecalculation::changed);
  connect(fitDlg_, &TFitDlg::statusText, this, &TForm1::setStatusText);
  connect(fitDlg_, &TFitDlg::fitCurve, frmPlot_, &TfrmPlot::showFitCurve);
  connect(settingsDlg_, &TSettingsDlg::calculateRequested, this,
          [this](bool profile) { profile ? calculateProfile() : calculateReflectivity(); });
  connect(settingsDlg_, &TSettingsDlg::databaseFileRequested, this, [this] {
    // The table's own dialog, in the table's folder; the shared dialogs keep their folders.
    const std::optional<QString> file = services_.prompts.openFile(
        {"load database file", "Quorrel's database (*.db)",
         QFileInfo(QString::fromStdString(state_.sldDatabasePath)).absolutePath(), "db"});
    if (file) loadMaterialTable(ToPath(*file).string());
  });
}

void TForm1::fit() {
  keepForRecovery();
  if (state_.settings.cbUserRange) {
    SetUserQRange(state_.settings, false, state_.data);
    settingsDlg_->refresh();
  }
  // Each measured point's resolution and background under the settings as they are now.
  FitData measured{state_.data, {}, {}, state_.settings.smearing};
  DialogResult result = DialogResult::Cancel;
  try {
    measured.pointResolution = PointResolutions(state_.settings, state_.data, state_.data.qz);
    if (state_.settings.cbBackground) {
      measured.pointBackground = PointBackgrounds(state_.settings, state_.data.qz);
    }
    result = fitDlg_->run(state_.model, std::move(measured));
  } catch (const std::exception& error) {
    services_.prompts.error(QString::fromStdString(error.what()));
    return;
  }
  if (result == DialogResult::Ok) acceptFit();
}

void TForm1::acceptFit() {
  state_.model = fitSession_.model();
  frmModel_->refresh();
  frmPlot_->clearFittingRegion();
  recalculate();
}

void TForm1::refreshModelViews() {
  frmModel_->refresh();
  settingsDlg_->refresh();
  functionDlg_->refresh();
}

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
  live_->changed();
}

void TForm1::setFitEnabled(bool on) {
  menu_.mnuFit->setEnabled(on);
  Toolbar1->btnFit->setEnabled(on);
}

void TForm1::recalculate() {
  calculateReflectivity();
  calculateProfile();
}

void TForm1::loadData() {
  const std::optional<QString> file = files_->open(
      "Open Reflectivity Data File", "reflectivity data (*.dat);;ORSO reflectivity (*.ort)",
      "dat");
  if (file) loadDataFile(*file);
}

void TForm1::loadDataFile(const QString& path) {
  files_->opened(path);
  if (path.endsWith(".ort", Qt::CaseInsensitive)) {
    if (loadOrsoFile(path)) setStatusText(QString());
    return;
  }
  PromptedLoadQuestions questions(services_.prompts);
  LoadOutcome outcome = LoadOutcome::Aborted;
  try {
    outcome = LoadMeasuredData(ToPath(path), state_.data, questions,
                               [this](int count) { setStatusText(QString::number(count)); });
  } catch (const QuorrelError& error) {
    setStatusText(QString());
    services_.prompts.error(QString::fromStdString(error.what()));
    return;
  }
  if (outcome == LoadOutcome::Aborted) return;
  dataLoaded({});
  setStatusText(QString());
}

bool TForm1::loadOrsoFile(const QString& path) {
  PromptedLoadQuestions questions(services_.prompts);
  std::vector<std::string> notes;
  try {
    const std::vector<std::string> names = OrsoDataSetNames(ToPath(path));
    int index = 0;
    if (names.size() > 1) {
      QStringList items;
      for (const std::string& name : names) items << QString::fromStdString(name);
      const std::optional<int> chosen =
          services_.prompts.chooseItem(FileNameOf(path) + " holds several data sets; load", items,
                                       help_context::kDataSetChoice);
      if (!chosen) return false;
      index = *chosen;
    }
    if (LoadOrsoData(ToPath(path), index, state_.data, questions, notes) ==
        LoadOutcome::Aborted) {
      return false;
    }
  } catch (const QuorrelError& error) {
    services_.prompts.error(QString::fromStdString(error.what()));
    return false;
  }
  dataLoaded(notes);
  return true;
}

void TForm1::importData() {
  const std::optional<QString> file = files_->open(
      "Import Reflectivity Data",
      "text tables (*.txt *.dat *.csv *.xy *.asc *.ort);;all files (*)", "txt");
  if (!file) return;
  std::vector<std::string> notes;
  try {
    const TextTable table = ReadTextTable(ToPath(*file));
    const std::optional<ColumnMapping> mapping = importDlg_->ask(table, importMapping_);
    if (!mapping) return;
    importMapping_ = *mapping;
    state_.data = ImportMeasuredData(ToPath(*file), *mapping, notes);
  } catch (const QuorrelError& error) {
    services_.prompts.error(QString::fromStdString(error.what()));
    return;
  }
  dataLoaded(notes);
  setStatusText(QString());
}

void TForm1::dataLoaded(const std::vector<std::string>& notes) {
  setWindowTitle("Quorrel - " + QString::fromStdString(state_.data.fileName));
  SetUserQRange(state_.settings, false, state_.data);
  settingsDlg_->refresh();
  fitSession_.clearFitAccepted();
  setFitEnabled(true);
  frmPlot_->showMeasuredData();
  // What the reader left aside, said once.
  QStringList lines;
  for (const std::string& note : notes) lines << QString::fromStdString(note);
  if (!lines.isEmpty()) services_.prompts.information(FileNameOf(
      QString::fromStdString(state_.data.fileName)) + ": " + lines.join("; "));
  // The curves are now due at the measured points.
  live_->changed();
}

void TForm1::loadModel() {
  if (!settleModelChanges()) return;
  const std::optional<QString> file =
      files_->open("Open Model Parameter File", "model parameters (*.par)", "par");
  if (file) loadModelFile(*file);
  // Also after a cancelled dialog.
  recalculate();
}

bool TForm1::loadModelFile(const QString& path) {
  files_->opened(path);
  ModelFileOutcome outcome;
  try {
    outcome = ReadModelFile(ToPath(path), state_.model, state_.settings, state_.editor);
  } catch (const QuorrelError& error) {
    services_.prompts.error(QString::fromStdString(error.what()));
    return false;
  }
  refreshModelViews();
  frmModel_->showFunctionParameters();
  modelSaved(path);
  if (outcome.message) services_.prompts.information(QString::fromStdString(*outcome.message));
  if (outcome.compileError) {
    services_.prompts.error(QString::fromStdString(*outcome.compileError));
  }
  return true;
}

bool TForm1::saveModel() {
  const std::optional<QString> file =
      files_->save("Save Model Paramters", "model parameters (*.par)", "par");
  if (!file) return false;
  try {
    WriteModelFile(ToPath(*file), state_.model, state_.settings);
  } catch (const QuorrelError& error) {
    services_.prompts.error(QString::fromStdString(error.what()));
    return false;
  }
  modelSaved(*file);
  return true;
}

void TForm1::modelSaved(const QString& path) {
  modelFile_ = path;
  savedModelText_ = ModelFileText(state_.model, state_.settings);
  recovery_->discard();
  frmModel_->setWindowTitle(QString::fromStdString(ModelCaption(ToPath(path))));
}

bool TForm1::modelChanged() const {
  return ModelFileText(state_.model, state_.settings) != savedModelText_;
}

void TForm1::keepForRecovery() {
  if (!modelChanged()) {
    recovery_->discard();
    return;
  }
  RecoveredWork work;
  work.model = state_.model;
  work.editor = state_.editor;
  work.settings = state_.settings;
  work.modelFile = ToPath(modelFile_).string();
  work.dataFile = state_.data.fileName;
  work.savedAt = QLocale::system().toString(QDateTime::currentDateTime()).toStdString();
  recovery_->keep(work);
}

void TForm1::offerRecovery() {
  const std::optional<RecoveredWork> work = recovery_->leftBehind();
  if (!work) return;
  const bool restore = services_.prompts.confirm(
      "Quorrel did not close properly. Restore the model you were working on?\n(last saved " +
      QString::fromStdString(work->savedAt) + ")");
  if (!restore) {
    recovery_->discard();
    return;
  }
  // The data first: loading them switches the Q range, which the restored settings then set
  // as they were.
  if (!work->dataFile.empty()) loadDataFile(QString::fromStdString(work->dataFile));
  state_.model = work->model;
  state_.editor = work->editor;
  state_.settings = work->settings;
  modelFile_ = FromPath(work->modelFile);
  frmModel_->setWindowTitle(modelFile_.isEmpty()
                                ? QString("Model")
                                : QString::fromStdString(ModelCaption(work->modelFile)));
  // Still unsaved: compared with the model file as it is on the disk.
  savedModelText_.clear();
  if (!modelFile_.isEmpty()) {
    RecoveredWork onDisk;
    try {
      ReadModelFile(work->modelFile, onDisk.model, onDisk.settings, onDisk.editor);
      savedModelText_ = ModelFileText(onDisk.model, onDisk.settings);
    } catch (const QuorrelError&) {
      // gone or unreadable: the restored model counts as changed
    }
  }
  refreshModelViews();
  frmModel_->showFunctionParameters();
  recalculate();
}

bool TForm1::settleModelChanges() {
  if (!modelChanged()) return true;
  const QString name = modelFile_.isEmpty() ? "the new model" : FileNameOf(modelFile_);
  switch (services_.prompts.askSaveChanges("Save changes to " + name + "?")) {
    case SaveChoice::Save: return saveModel();
    case SaveChoice::Discard: return true;
    case SaveChoice::Cancel: return false;
  }
  return false;
}

bool TForm1::saveReflectivity() {
  const std::optional<QString> file =
      files_->save("Save Reflectivity Data", "calculated data (*.dat)", "dat");
  if (!file) return false;
  // The curves as the window shows them; the check boxes as they are now.
  const XyGraph& graph = frmPlot_->graph();
  ReflectivityResult shown;
  shown.plain = CurveOf(graph, reflectivity_slot::kPlain);
  shown.spinDown = CurveOf(graph, reflectivity_slot::kSpinDown);
  shown.spinUp = CurveOf(graph, reflectivity_slot::kSpinUp);
  shown.transmission = CurveOf(graph, reflectivity_slot::kTransmission);
  try {
    WriteReflectivityFile(ToPath(*file), shown, state_.settings.cbMagnet,
                          state_.settings.cbTransmission);
  } catch (const QuorrelError& error) {
    services_.prompts.error(QString::fromStdString(error.what()));
    return false;
  }
  frmPlot_->setWindowTitle("Reflectivity - " + FileNameOf(*file));
  return true;
}

bool TForm1::saveProfile() {
  const std::optional<QString> file =
      files_->save("Save Scattering Length Density Profile", "SLD profile (*.pro)", "pro");
  if (!file) return false;
  try {
    WriteProfileFile(ToPath(*file), CurveOf(frmProfile_->graph(), TfrmProfile::kProfileSlot));
  } catch (const QuorrelError& error) {
    services_.prompts.error(QString::fromStdString(error.what()));
    return false;
  }
  frmProfile_->setWindowTitle("Profile - " + FileNameOf(*file));
  return true;
}

void TForm1::saveActive() {
  const QMdiSubWindow* active = mdiArea_->activeSubWindow();
  if (active == nullptr) return;
  if (active->widget() == frmPlot_) {
    saveReflectivity();
  } else if (active->widget() == frmModel_) {
    saveModel();
  } else if (active->widget() == frmProfile_) {
    saveProfile();
  }
}

void TForm1::calculateReflectivity() {
  calculations_->requestReflectivity(state_.model, state_.settings, state_.data);
}

void TForm1::calculateProfile() {
  calculations_->requestProfile(state_.model, state_.settings);
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
    const XyGraph& graph = frmPlot_->graph();
    const Curve plain = CurveOf(graph, reflectivity_slot::kPlain);
    if (plain.size() == 0) return;
    const Curve up = CurveOf(graph, reflectivity_slot::kSpinUp);
    const Curve down = CurveOf(graph, reflectivity_slot::kSpinDown);
    const Curve transmission = CurveOf(graph, reflectivity_slot::kTransmission);
    const bool magnetic = state_.settings.cbMagnet;
    text = ReflectivityClipboardText(plain, magnetic ? &up : nullptr, magnetic ? &down : nullptr,
                                     state_.settings.cbTransmission ? &transmission : nullptr);
  } else if (active->widget() == frmProfile_) {
    const Curve profile = CurveOf(frmProfile_->graph(), TfrmProfile::kProfileSlot);
    if (profile.size() == 0) return;
    text = ProfileClipboardText(profile);
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
  live_->changed();
}

void TForm1::tile() {
  const TileLayout layout = Tile({.clientWidth = width(),
                                  .clientHeight = height() - menuBar()->height(),
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
