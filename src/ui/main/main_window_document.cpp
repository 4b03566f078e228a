// The main window over the open document: calculations, the fit, undo and redo, recovery.

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
#include "ui/fit/sampling_dialog.h"
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

#include "shell/fit_project.h"
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

void TForm1::fit() {
  keepForRecovery();
  if (state_.settings.cbUserRange) {
    SetUserQRange(state_.settings, false, state_.data);
    settingsDlg_->refresh();
  }
  DialogResult result = DialogResult::Cancel;
  try {
    std::vector<FitData> measurements;
    for (Measurement& m : document_.fitMeasurements()) {
      measurements.push_back(FitDataFor(state_.settings, std::move(m)));
    }
    // A project keeps the ticks, bounds and links between openings; a plain model opens
    // with every entry unticked.
    const std::vector<EntrySetup> setup =
        document_.projectOpen() ? state_.fitSetup.entries : std::vector<EntrySetup>();
    if (document_.projectOpen()) ApplyFitSetup(state_.fitSetup, fitSession_);
    result = fitDlg_->run(state_.model, std::move(measurements), setup, state_.settings.spinFlip);
  } catch (const std::exception& error) {
    services_.prompts.error(QString::fromStdString(error.what()));
    return;
  }
  if (document_.projectOpen()) state_.fitSetup = FitSetupOf(fitSession_);
  if (result == DialogResult::Ok) {
    acceptFit();
  } else if (document_.reflectivity()) {
    // The last trial's curve goes: the plot shows the model's own curves again.
    frmPlot_->showReflectivity(*document_.reflectivity());
  }
}

void TForm1::samplePosterior() {
  try {
    std::vector<FitData> measurements;
    for (Measurement& m : document_.fitMeasurements()) {
      measurements.push_back(FitDataFor(state_.settings, std::move(m)));
    }
    // A project's setup, or the fit dialog's last.
    samplingDlg_->present(state_.model, std::move(measurements),
                          document_.projectOpen() ? state_.fitSetup.entries : fitSession_.setup(),
                          fitSession_.settings(), state_.settings);
  } catch (const std::exception& error) {
    services_.prompts.error(QString::fromStdString(error.what()));
  }
}

void TForm1::acceptFit() {
  state_.model = fitSession_.model();
  keepFitResults();
  frmModel_->refresh();
  frmPlot_->clearFittingRegion();
  recordStep("fit");
  frmPlot_->showMeasurements(document_.fitMeasurements());
  recalculate();
}

void TForm1::refreshModelViews() {
  frmModel_->refresh();
  settingsDlg_->refresh();
  functionDlg_->refresh();
  followSpinFlip();
}

void TForm1::followSpinFlip() {
  frmModel_->followSpinFlip();
  if (QMdiSubWindow* frame = frameOf(*frmModel_)) frame->setFixedWidth(frmModel_->fixedWidth());
}

void TForm1::recalculate() {
  calculateReflectivity();
  calculateProfile();
}

void TForm1::calculateReflectivity() {
  calculations_->requestReflectivity(state_.model, state_.settings, state_.data);
  // Several measurements: each one's own curve beside its points.
  const std::vector<Measurement> measurements = document_.fitMeasurements();
  if (measurements.size() > 1) {
    calculations_->requestMeasurementCurves(state_.model, state_.settings, measurements);
  } else {
    frmProfile_->showContrastProfiles({}, {});
  }
}

void TForm1::calculateProfile() {
  calculations_->requestProfile(state_.model, state_.settings);
}

void TForm1::keepForRecovery() {
  document_.keepForRecovery(
      QLocale::system().toString(QDateTime::currentDateTime()).toStdString());
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
  if (!work->project.empty()) {
    restoreRecoveredProject(*work);
    return;
  }
  // The data first: loading them switches the Q range, which the restored settings then set
  // as they were.
  if (!work->dataFile.empty()) loadDataFile(QString::fromStdString(work->dataFile));
  state_.model = work->model;
  state_.editor = work->editor;
  state_.settings = work->settings;
  frmModel_->setWindowTitle(work->modelFile.empty()
                                ? QString("Model")
                                : QString::fromStdString(ModelCaption(work->modelFile)));
  // Still unsaved: compared with the model file as it is on the disk.
  std::string savedText;
  if (!work->modelFile.empty()) {
    RecoveredWork onDisk;
    try {
      ReadModelFile(work->modelFile, onDisk.model, onDisk.settings, onDisk.editor);
      savedText = ModelFileText(onDisk.model, onDisk.settings);
    } catch (const QuorrelError&) {
      // gone or unreadable: the restored model counts as changed
    }
  }
  document_.restoreSavedState(work->modelFile, savedText);
  recordStep("restoring the recovered model");
  refreshModelViews();
  frmModel_->showFunctionParameters();
  recalculate();
}

void TForm1::edited(const QString& what) {
  document_.edited(what.toStdString());
  showUndoSteps();
}

void TForm1::recordStep(const QString& what) {
  document_.recordStep(what.toStdString());
  showUndoSteps();
}

void TForm1::undo() {
  if (const std::optional<Restored> restored = document_.undo()) showRestored(*restored);
}

void TForm1::redo() {
  if (const std::optional<Restored> restored = document_.redo()) showRestored(*restored);
}

void TForm1::showRestored(const Restored& restored) {
  if (restored.data) {
    setWindowTitle(state_.data.loaded() ? "Quorrel - " + QString::fromStdString(state_.data.fileName)
                                        : QString("Quorrel"));
    setFitEnabled(state_.data.loaded());
    frmPlot_->showMeasuredData();
  }
  frmPlot_->showMeasurements(document_.fitMeasurements());
  refreshModelViews();
  frmModel_->showFunctionParameters();
  showUndoSteps();
  // The recovery file holds what is shown, also after going back.
  keepForRecovery();
  recalculate();
}

void TForm1::showUndoSteps() {
  const std::optional<std::string> undoWhat = document_.undoWhat();
  const std::optional<std::string> redoWhat = document_.redoWhat();
  menu_.mnuUndo->setText(undoWhat ? "&Undo " + QString::fromStdString(*undoWhat) : "&Undo");
  menu_.mnuUndo->setEnabled(undoWhat.has_value());
  menu_.mnuRedo->setText(redoWhat ? "&Redo " + QString::fromStdString(*redoWhat) : "&Redo");
  menu_.mnuRedo->setEnabled(redoWhat.has_value());
}

void TForm1::showCalculationFailure(const CalculationFailure& failure) {
  if (failure.cell) {
    // One box for a cell that stays unreadable, however many edits and runs follow.
    const bool told = unreadableCell_ == failure.cell;
    unreadableCell_ = failure.cell;
    frmModel_->markUnreadableCell(failure.cell);
    if (told) {
      setStatusText(failure.message);
      return;
    }
  }
  services_.prompts.error(failure.message);
}

}  // namespace quorrel
