#include "shell/document.h"

#include <utility>

#include "files/model_file_writer.h"
#include "shell/step_names.h"

namespace quorrel {

Document::Document() : history_(content(true)) {}

Document::Document(std::uint64_t fitSeed) : fitSession_(fitSeed), history_(content(true)) {}

DocumentContent Document::content(bool withNewData) const {
  return {state_.model, state_.editor, state_.settings,
          withNewData ? std::make_shared<const MeasuredData>(state_.data)
                      : history_.current().data,
          state_.measurements};
}

bool Document::modelChanged() const {
  return ModelFileText(state_.model, state_.settings) != savedModelText_;
}

void Document::modelSaved(std::string modelFile) {
  modelFile_ = std::move(modelFile);
  savedModelText_ = ModelFileText(state_.model, state_.settings);
  discardRecovery();
}

void Document::restoreSavedState(std::string modelFile, std::string savedModelText) {
  modelFile_ = std::move(modelFile);
  savedModelText_ = std::move(savedModelText);
}

std::vector<Measurement> Document::fitMeasurements() const {
  if (!state_.measurements.empty()) {
    std::vector<Measurement> measurements = state_.measurements;
    Measurement& first = measurements.front();
    if (first.data.fileName != state_.data.fileName) {
      // Other data were loaded in its place: a measurement of its own.
      first = MeasurementOfData(state_.data, state_.settings);
    }
    first.data = state_.data;  // its fitting region as the plot set it
    if (!state_.data.loaded()) measurements.erase(measurements.begin());
    return measurements;
  }
  if (!state_.data.loaded()) return {};
  return {MeasurementOfData(state_.data, state_.settings)};
}

void Document::setMeasurements(std::vector<Measurement> measurements, const std::string& what) {
  state_.measurements = std::move(measurements);
  state_.data = state_.measurements.empty() ? MeasuredData() : state_.measurements.front().data;
  recordStep(what);
}

Project Document::project() const {
  Project project;
  project.model = state_.model;
  project.settings = state_.settings;
  project.measurements = fitMeasurements();
  project.fit = state_.fitSetup;
  project.lastFit = state_.lastFit;
  project.sampling = state_.sampling;
  return project;
}

void Document::openProject(Project project, std::string path) {
  state_.model = std::move(project.model);
  state_.settings = std::move(project.settings);
  state_.measurements = std::move(project.measurements);
  state_.data = state_.measurements.empty() ? MeasuredData() : state_.measurements.front().data;
  state_.fitSetup = std::move(project.fit);
  state_.lastFit = std::move(project.lastFit);
  state_.sampling = std::move(project.sampling);
  projectSaved(std::move(path));
  modelSaved({});
  startHistory();
}

void Document::projectSaved(std::string path) {
  projectFile_ = std::move(path);
  projectOpen_ = true;
  savedProjectText_ = ProjectText(project(), {}, DataFileHashes::Left);
  discardRecovery();
}

void Document::restoreSavedProject(std::string path, std::string savedText) {
  projectFile_ = std::move(path);
  projectOpen_ = true;
  savedProjectText_ = std::move(savedText);
}

void Document::newProject() {
  projectFile_.clear();
  projectOpen_ = true;
  savedProjectText_.clear();
}

bool Document::projectChanged() const {
  return projectOpen_ && ProjectText(project(), {}, DataFileHashes::Left) != savedProjectText_;
}

void Document::keepForRecovery(const std::string& savedAt) {
  if (recovery_ == nullptr) return;
  if (projectChanged()) {
    RecoveredWork work;
    work.model = state_.model;
    work.editor = state_.editor;
    work.settings = state_.settings;
    work.projectFile = projectFile_;
    work.project = ProjectText(project(), {}, DataFileHashes::Left);
    work.savedAt = savedAt;
    recovery_->keep(work);
    return;
  }
  if (!modelChanged()) {
    recovery_->discard();
    return;
  }
  RecoveredWork work;
  work.model = state_.model;
  work.editor = state_.editor;
  work.settings = state_.settings;
  work.modelFile = modelFile_;
  work.dataFile = state_.data.fileName;
  work.savedAt = savedAt;
  recovery_->keep(work);
}

void Document::discardRecovery() {
  if (recovery_ != nullptr) recovery_->discard();
}

void Document::startHistory() { history_ = UndoHistory<DocumentContent>(content(true)); }

void Document::edited(const std::string& what) {
  const DocumentContent& before = history_.current();
  const std::optional<StepName> step =
      NameChange(before.model, before.settings, state_.model, state_.settings);
  if (!step) return;
  if (what.empty()) {
    history_.record(content(false), step->what, step->mergeKey);
  } else {
    history_.record(content(false), what);
  }
}

void Document::recordStep(const std::string& what) { history_.record(content(true), what); }

std::optional<Restored> Document::undo() {
  const std::shared_ptr<const MeasuredData> shown = history_.current().data;
  return restore(history_.undo(), shown);
}

std::optional<Restored> Document::redo() {
  const std::shared_ptr<const MeasuredData> shown = history_.current().data;
  return restore(history_.redo(), shown);
}

std::optional<Restored> Document::restore(const DocumentContent* content,
                                          const std::shared_ptr<const MeasuredData>& shown) {
  if (content == nullptr) return std::nullopt;
  state_.model = content->model;
  state_.editor = content->editor;
  state_.settings = content->settings;
  state_.measurements = content->measurements;
  // The data only when the step loaded others: a fitting region set since stays.
  Restored restored;
  if (content->data != shown) {
    state_.data = *content->data;
    restored.data = true;
  }
  return restored;
}

}  // namespace quorrel
