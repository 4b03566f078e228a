// The main window's file commands: loading and saving models, measured data and curves.

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
#include "files/layer_table_file.h"
#include "files/column_import.h"
#include "files/file_kind.h"
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

void TForm1::loadData() {
  const std::optional<QString> file = files_->open(
      "Open Reflectivity Data File", "reflectivity data (*.dat);;ORSO reflectivity (*.ort)",
      "dat");
  if (file) loadDataFile(*file);
}

void TForm1::loadDataFile(const QString& path) {
  files_->opened(path);
  if (FileKindOf(path.toStdString()) == FileKind::Orso) {
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
      items << "all data sets as measurements of a project";
      const std::optional<int> chosen =
          services_.prompts.chooseItem(FileNameOf(path) + " holds several data sets; load", items,
                                       help_context::kDataSetChoice);
      if (!chosen) return false;
      if (*chosen == static_cast<int>(names.size())) return loadOrsoMeasurements(path);
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
  offerOrsoModel(path);
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
  recordStep("loading " + FileNameOf(QString::fromStdString(state_.data.fileName)));
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
  if (file && loadModelFile(*file)) rememberRecent(*file);
  // Also after a cancelled dialog.
  recalculate();
}

bool TForm1::loadModelFile(const QString& path) {
  files_->opened(path);
  if (FileKindOf(path.toStdString()) == FileKind::LayerTable) return loadLayerTable(path);
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
  recordStep("loading " + FileNameOf(path));
  if (outcome.message) services_.prompts.information(QString::fromStdString(*outcome.message));
  if (outcome.compileError) {
    services_.prompts.error(QString::fromStdString(*outcome.compileError));
  }
  return true;
}

bool TForm1::loadLayerTable(const QString& path) {
  LayerTable table;
  try {
    table = ReadLayerTable(ToPath(path));
  } catch (const QuorrelError& error) {
    services_.prompts.error(QString::fromStdString(error.what()));
    return false;
  }
  state_.model = ModelOfLayerTable(table.stack);
  state_.editor = EditorState{};
  // A table with angles describes a spin-flip sample; the guide field stays as it is set.
  if (table.form == LayerTableForm::Polarised) {
    state_.settings.cbMagnet = true;
    state_.settings.spinFlip.enabled = true;
  }
  refreshModelViews();
  frmModel_->showFunctionParameters();
  modelSaved(path);
  recordStep("loading " + FileNameOf(path));
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
  if (SpinFlipOn(state_.settings)) services_.prompts.information(kCollinearModelFileMessage);
  return true;
}

void TForm1::modelSaved(const QString& path) {
  document_.modelSaved(ToPath(path).string());
  frmModel_->setWindowTitle(QString::fromStdString(ModelCaption(ToPath(path))));
}

bool TForm1::settleModelChanges() {
  if (!modelChanged()) return true;
  const QString modelFile = QString::fromStdString(document_.modelFile());
  const QString name = modelFile.isEmpty() ? "the new model" : FileNameOf(modelFile);
  switch (services_.prompts.askSaveChanges("Save changes to " + name + "?")) {
    case SaveChoice::Save: return saveModel();
    case SaveChoice::Discard: return true;
    case SaveChoice::Cancel: return false;
  }
  return false;
}

bool TForm1::saveReflectivity() {
  const std::optional<QString> file =
      files_->save("Save Reflectivity Data", "calculated data (*.dat);;ORSO reflectivity (*.ort)",
                   "dat");
  if (!file) return false;
  // The curves of the last run; the check boxes as they are now.
  const ReflectivityResult last = document_.reflectivity().value_or(ReflectivityResult{});
  try {
    if (FileKindOf(file->toStdString()) == FileKind::Orso) {
      writeOrsoReflectivity(*file, last);
    } else {
      WriteReflectivityFile(ToPath(*file), last, SpinCurvesOn(state_.settings),
                            state_.settings.cbTransmission,
                            last.spinFlip ? &*last.spinFlip : nullptr);
    }
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
    WriteProfileFile(ToPath(*file), document_.profile().value_or(ProfileCurve{}));
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

}  // namespace quorrel
