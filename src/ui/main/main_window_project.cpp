// The main window's project commands: a project holds the model, its measurements, the fit
// setup and the last fit, so that a multi-contrast analysis opens as it was left.

#include <QFileInfo>
#include <QMenu>

#include "files/file_kind.h"
#include "files/orso_measurements.h"
#include "files/project_file.h"
#include "model/settings_rules.h"
#include "shell/fit_project.h"
#include "shell/recent_files.h"
#include "ui/calc/live_recalculation.h"
#include "ui/main/main_window.h"
#include "ui/model/model_window.h"
#include "ui/platform/prompts.h"
#include "ui/platform/shared_file_dialogs.h"
#include "ui/plot/reflectivity_window.h"
#include "ui/settings/settings_dialog.h"

namespace quorrel {

namespace {

constexpr const char* kProjectFilter = "Quorrel projects (*.qproj)";

QString FileName(const QString& path) { return QFileInfo(path).fileName(); }

}  // namespace

void TForm1::newProject() {
  if (!settleProjectChanges()) return;
  document_.newProject();
  setWindowTitle("Quorrel - new project");
  showMeasurements();
}

void TForm1::openProject() {
  if (!settleProjectChanges() || !settleModelChanges()) return;
  const std::optional<QString> file = files_->open("Open Project", kProjectFilter, "qproj");
  if (file) openProjectFile(*file);
}

bool TForm1::openProjectFile(const QString& path) {
  files_->opened(path);
  ProjectRead read;
  try {
    read = ReadProjectFile(path.toStdString());
  } catch (const QuorrelError& error) {
    services_.prompts.error(QString::fromStdString(error.what()));
    return false;
  }
  document_.openProject(std::move(read.project), QFileInfo(path).absoluteFilePath().toStdString());
  refreshModelViews();
  frmModel_->showFunctionParameters();
  frmModel_->setWindowTitle("Model - " + FileName(path));
  setWindowTitle("Quorrel - " + FileName(path));
  fitSession_.clearFitAccepted();
  showMeasurements();
  rememberRecent(path);
  QStringList notes;
  for (const std::string& note : read.notes) notes << QString::fromStdString(note);
  if (!notes.isEmpty()) services_.prompts.information(FileName(path) + ": " + notes.join("\n"));
  return true;
}

bool TForm1::loadOrsoMeasurements(const QString& path) {
  PromptedLoadQuestions questions(services_.prompts);
  std::vector<Measurement> measurements;
  std::vector<std::string> notes;
  try {
    if (LoadOrsoMeasurements(path.toStdString(), state_.settings, measurements, questions,
                             notes) == LoadOutcome::Aborted) {
      return false;
    }
  } catch (const QuorrelError& error) {
    services_.prompts.error(QString::fromStdString(error.what()));
    return false;
  }
  if (!document_.projectOpen()) {
    document_.newProject();
    setWindowTitle("Quorrel - new project");
  }
  document_.setMeasurements(std::move(measurements), "loading " + FileName(path).toStdString());
  // The curves are due at the measured points, as after any data set loaded.
  SetUserQRange(state_.settings, false, state_.data);
  fitSession_.clearFitAccepted();
  showMeasurements();
  QStringList lines;
  for (const std::string& note : notes) lines << QString::fromStdString(note);
  if (!lines.isEmpty()) services_.prompts.information(FileName(path) + ": " + lines.join("\n"));
  offerOrsoModel(path);
  return true;
}

bool TForm1::saveProject() {
  if (document_.projectFile().empty()) return saveProjectAs();
  const QString path = QString::fromStdString(document_.projectFile());
  try {
    WriteProjectFile(document_.projectFile(), document_.project());
  } catch (const QuorrelError& error) {
    services_.prompts.error(QString::fromStdString(error.what()));
    return false;
  }
  document_.projectSaved(document_.projectFile());
  frmModel_->setWindowTitle("Model - " + FileName(path));
  setWindowTitle("Quorrel - " + FileName(path));
  rememberRecent(path);
  return true;
}

bool TForm1::saveProjectAs() {
  const std::optional<QString> file = files_->save("Save Project", kProjectFilter, "qproj");
  if (!file) return false;
  document_.projectSaved(QFileInfo(*file).absoluteFilePath().toStdString());
  return saveProject();
}

void TForm1::openRecent(const QString& path) {
  if (!QFileInfo::exists(path)) {
    services_.prompts.error(path + " is no longer there.");
    RecentFiles recent = RecentFiles::Read(services_.settings);
    recent.remove(path.toStdString());
    recent.write(services_.settings);
    fillRecentMenu();
    return;
  }
  if (FileKindOf(path.toStdString()) == FileKind::Project) {
    if (settleProjectChanges() && settleModelChanges()) openProjectFile(path);
    return;
  }
  if (!settleModelChanges()) return;
  if (loadModelFile(path)) rememberRecent(path);
  recalculate();
}

bool TForm1::settleProjectChanges() {
  if (!document_.projectChanged()) return true;
  const QString file = QString::fromStdString(document_.projectFile());
  const QString name = file.isEmpty() ? "the new project" : FileName(file);
  switch (services_.prompts.askSaveChanges("Save changes to " + name + "?")) {
    case SaveChoice::Save: return saveProject();
    case SaveChoice::Discard: return true;
    case SaveChoice::Cancel: return false;
  }
  return false;
}

void TForm1::rememberRecent(const QString& path) {
  RecentFiles recent = RecentFiles::Read(services_.settings);
  recent.add(QFileInfo(path).absoluteFilePath().toStdString());
  recent.write(services_.settings);
  fillRecentMenu();
}

void TForm1::fillRecentMenu() {
  QMenu* menu = menu_.mnuRecent;
  menu->clear();
  const RecentFiles recent = RecentFiles::Read(services_.settings);
  for (std::size_t k = 0; k < recent.paths().size(); ++k) {
    const QString path = QString::fromStdString(recent.paths()[k]);
    QAction* item = menu->addAction("&" + QString::number(k + 1) + " " + FileName(path));
    item->setToolTip(path);
    connect(item, &QAction::triggered, this, [this, path] { openRecent(path); });
  }
  menu->setEnabled(!recent.paths().empty());
}

void TForm1::showMeasurements() {
  settingsDlg_->refresh();
  setFitEnabled(state_.data.loaded());
  if (state_.data.loaded()) frmPlot_->showMeasuredData();
  frmPlot_->showMeasurements(document_.fitMeasurements());
  live_->changed();
}

void TForm1::keepFitResults() {
  std::vector<Measurement> fitted = fitSession_.measurements();
  state_.lastFit = RecordOfFit(fitSession_, UtcNow());
  // The one data set of a plain model keeps its background in the settings, where the
  // settings dialog shows it; its scale needs the measurement.
  if (!document_.projectOpen() && fitted.size() == 1) {
    const MeasurementBackground& b = fitted.front().background;
    state_.settings.edtY0 = b.y0;
    state_.settings.edtM = b.m;
    state_.settings.edtPeakA = b.peakA;
    state_.settings.edtPeakW = b.peakW;
    state_.settings.edtPeakXC = b.peakXC;
    if (fitted.front().scale == 1.0) fitted.clear();
  }
  if (!fitted.empty()) fitted.front().data = state_.data;
  state_.measurements = std::move(fitted);
}

}  // namespace quorrel
