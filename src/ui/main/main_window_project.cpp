// The main window's project commands: a project holds the model, its measurements, the fit
// setup and the last fit, so that a multi-contrast analysis opens as it was left.

#include <QFileInfo>
#include <QLayout>
#include <QMenu>

#include "files/file_kind.h"
#include "files/measured_data_file.h"
#include "files/orso_file.h"
#include "files/orso_measurements.h"
#include "files/project_file.h"
#include "model/settings_rules.h"
#include "shell/fit_project.h"
#include "shell/recent_files.h"
#include "ui/calc/live_recalculation.h"
#include "ui/main/main_window.h"
#include "ui/main/measurements_panel.h"
#include "ui/model/model_window.h"
#include "ui/platform/paths.h"
#include "ui/platform/prompts.h"
#include "ui/platform/shared_file_dialogs.h"
#include "ui/plot/reflectivity_window.h"
#include "ui/settings/settings_dialog.h"

namespace quorrel {

namespace {

constexpr const char* kProjectFilter = "Quorrel projects (*.qproj)";
// Room for a few measurements; the panel can be dragged taller.
constexpr int kPanelHeight = 150;

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

void TForm1::restoreRecoveredProject(const RecoveredWork& work) {
  const std::string path = work.projectFile.empty() ? std::string("recovered.qproj") : work.projectFile;
  ProjectRead read;
  try {
    read = ReadProjectText(work.project, path);
  } catch (const QuorrelError& error) {
    services_.prompts.error(QString::fromStdString(error.what()));
    return;
  }
  document_.openProject(std::move(read.project), work.projectFile);
  // What the project file on the disk holds is what counts as saved.
  state_.model = work.model;
  state_.editor = work.editor;
  state_.settings = work.settings;
  std::string saved;
  if (!work.projectFile.empty()) {
    try {
      saved = ProjectText(ReadProjectFile(work.projectFile).project, {}, DataFileHashes::Left);
    } catch (const QuorrelError&) {
      // gone or unreadable: the restored project counts as changed
    }
  }
  document_.restoreSavedProject(work.projectFile, saved);
  refreshModelViews();
  frmModel_->showFunctionParameters();
  setWindowTitle("Quorrel - " + (work.projectFile.empty()
                                     ? QString("recovered project")
                                     : FileName(QString::fromStdString(work.projectFile))));
  showMeasurements();
  recordStep("restoring the recovered project");
  // Opening wrote off the recovery file; the restored work is still unsaved.
  keepForRecovery();
  recalculate();
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

void TForm1::createMeasurementsPanel() {
  measurementsPanel_ = new MeasurementsPanel(this);
  addDockWidget(Qt::BottomDockWidgetArea, measurementsPanel_);
  measurementsPanel_->hide();
  QAction* toggle = measurementsPanel_->toggleViewAction();
  toggle->setObjectName("mnuMeasurements");
  toggle->setText("&Measurements");
  menu_.mnuWindow->insertAction(menu_.mnuTile, toggle);
  menu_.mnuWindow->insertSeparator(menu_.mnuTile);
  connect(measurementsPanel_, &MeasurementsPanel::edited, this,
          [this](const std::vector<Measurement>& measurements, const QString& what) {
            document_.setMeasurements(measurements, what.toStdString());
            if (!document_.projectOpen()) document_.newProject();
            showMeasurements();
            showUndoSteps();
          });
  connect(measurementsPanel_, &MeasurementsPanel::addRequested, this, &TForm1::addMeasurement);
  connect(measurementsPanel_, &MeasurementsPanel::refused, this,
          [this](const QString& message) { services_.prompts.error(message); });
}

void TForm1::addMeasurement() {
  const std::optional<QString> file = files_->open(
      "Add a Measurement", "measured data (*.dat *.ort);;all files (*)", "dat");
  if (!file) return;
  PromptedLoadQuestions questions(services_.prompts);
  MeasuredData added;
  LoadOutcome outcome = LoadOutcome::Aborted;
  std::vector<std::string> notes;
  try {
    outcome = FileKindOf(file->toStdString()) == FileKind::Orso
                  ? LoadOrsoData(ToPath(*file), 0, added, questions, notes)
                  : LoadMeasuredData(ToPath(*file), added, questions);
  } catch (const QuorrelError& error) {
    services_.prompts.error(QString::fromStdString(error.what()));
    return;
  }
  if (outcome == LoadOutcome::Aborted) return;
  std::vector<Measurement> measurements = document_.fitMeasurements();
  measurements.push_back(MeasurementOfData(std::move(added), state_.settings));
  document_.setMeasurements(std::move(measurements),
                            "adding " + FileName(*file).toStdString());
  if (!document_.projectOpen()) document_.newProject();
  setWindowTitle(document_.projectFile().empty()
                     ? QString("Quorrel - new project")
                     : "Quorrel - " + FileName(QString::fromStdString(document_.projectFile())));
  showMeasurements();
  showUndoSteps();
}

void TForm1::showMeasurements() {
  const std::vector<Measurement> measurements = document_.fitMeasurements();
  measurementsPanel_->show(measurements, state_.model);
  if ((document_.projectOpen() || measurements.size() > 1) && measurementsPanel_->isHidden()) {
    measurementsPanel_->QDockWidget::show();
    resizeDocks({measurementsPanel_}, {kPanelHeight}, Qt::Vertical);
    // The windows into the room the panel leaves.
    layout()->activate();
    tile();
  }
  settingsDlg_->refresh();
  setFitEnabled(state_.data.loaded());
  if (state_.data.loaded()) frmPlot_->showMeasuredData();
  frmPlot_->showMeasurements(measurements);
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
  // A fitted AGUIDE belongs to the settings, beside the field.
  if (HasSpinChannels(fitted)) state_.settings.spinFlip = fitSession_.guideField();
  if (!fitted.empty()) fitted.front().data = state_.data;
  state_.measurements = std::move(fitted);
}

}  // namespace quorrel
