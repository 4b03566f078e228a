#pragma once
// What the user has open: the model with the editor's state and the calculation settings, the
// measured data, the last results of both runs, the fit session, whether the work is saved,
// the recovery file and the undo history. Windows show it and change it through it; it knows
// nothing of widgets.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "calc/curves.h"
#include "files/project_file.h"
#include "shell/fit_session.h"
#include "shell/program_state.h"
#include "shell/recovery_file.h"
#include "shell/undo_history.h"

namespace quorrel {

//! Where the recovery file is kept; the window's lock file stands behind it.
class RecoveryStore {
 public:
  virtual ~RecoveryStore() = default;
  virtual bool keep(const RecoveredWork& work) = 0;
  virtual void discard() = 0;
};

//! What one undo step gives back. The measured data are shared between the steps that did
//! not change them.
struct DocumentContent {
  SampleModel model;
  EditorState editor;
  CalcSettings settings;
  std::shared_ptr<const MeasuredData> data;
  std::vector<Measurement> measurements;
};

//! What an undo or redo changed, for the views to show anew.
struct Restored {
  bool data = false;  //!< the measured data are others
};

class Document {
 public:
  Document();
  explicit Document(std::uint64_t fitSeed);

  //! The work and the program-wide state values; the editor and the dialogs change the work
  //! in place and then tell the document (edited()).
  ProgramState& state() { return state_; }
  const ProgramState& state() const { return state_; }
  FitSession& fitSession() { return fitSession_; }
  const FitSession& fitSession() const { return fitSession_; }

  // The last results, as computed.
  void setReflectivity(ReflectivityResult result) { reflectivity_ = std::move(result); }
  void setProfile(ProfileCurve profile) { profile_ = std::move(profile); }
  const std::optional<ReflectivityResult>& reflectivity() const { return reflectivity_; }
  const std::optional<ProfileCurve>& profile() const { return profile_; }

  // Unsaved changes.
  //! Whether the model differs from the one last loaded or saved.
  bool modelChanged() const;
  //! The model as it now stands counts as saved, in `modelFile` (empty: none).
  void modelSaved(std::string modelFile);
  //! The model counts as changed against the one saved as `savedModelText` in `modelFile`
  //! (a restored recovery: compared with the file as it is on the disk).
  void restoreSavedState(std::string modelFile, std::string savedModelText);
  const std::string& modelFile() const { return modelFile_; }

  // Measurements and the project.
  //! The measurements a fit runs on: the project's, or the loaded data set as the one.
  std::vector<Measurement> fitMeasurements() const;
  //! Replaces the measurements; the first one's points become the data (none: no data).
  //! One step named `what`.
  void setMeasurements(std::vector<Measurement> measurements, const std::string& what);
  //! The open work as a project.
  Project project() const;
  //! Takes the project read from `path` as the open work; the history starts anew.
  void openProject(Project project, std::string path);
  //! The work now stands saved as the project at `path`.
  void projectSaved(std::string path);
  //! The project counts as changed against `savedText` (ProjectText without hashes) in
  //! `path` (a restored recovery: compared with the file as it is on the disk).
  void restoreSavedProject(std::string path, std::string savedText);
  //! A new project of the current model and data: no project file yet.
  void newProject();
  const std::string& projectFile() const { return projectFile_; }
  //! Whether a project is open (opened, saved or begun with newProject()).
  bool projectOpen() const { return projectOpen_; }
  //! Whether the project differs from the one last opened or saved.
  bool projectChanged() const;

  // The recovery file.
  void setRecoveryStore(RecoveryStore* store) { recovery_ = store; }
  //! Writes the work to the recovery file while it has unsaved changes, and removes the file
  //! when it has none. `savedAt` is the time as the user reads it.
  void keepForRecovery(const std::string& savedAt);
  //! Nothing needs recovering (a clean end).
  void discardRecovery();

  // Undo and redo.
  //! The work as it now stands is where the history begins (after start-up).
  void startHistory();
  //! The model, the editor or the settings were changed in place: one step, named `what` or
  //! else after what changed; keystrokes in one cell or field join one step. Nothing when
  //! nothing changed.
  void edited(const std::string& what = {});
  //! A step that did `what`: a loaded model or data set, an accepted fit.
  void recordStep(const std::string& what);
  //! Typing in a cell has ended: the next keystroke starts a new step.
  void closeStep() { history_.closeStep(); }
  std::optional<std::string> undoWhat() const { return history_.undoWhat(); }
  std::optional<std::string> redoWhat() const { return history_.redoWhat(); }
  //! Steps back or forth; what changed, or nothing when there was no step.
  std::optional<Restored> undo();
  std::optional<Restored> redo();

 private:
  DocumentContent content(bool withNewData) const;
  std::optional<Restored> restore(const DocumentContent* content,
                                  const std::shared_ptr<const MeasuredData>& shown);

  ProgramState state_;
  FitSession fitSession_;
  std::optional<ReflectivityResult> reflectivity_;
  std::optional<ProfileCurve> profile_;
  std::string modelFile_;
  std::string savedModelText_;
  std::string projectFile_;
  std::string savedProjectText_;
  bool projectOpen_ = false;
  RecoveryStore* recovery_ = nullptr;
  UndoHistory<DocumentContent> history_;
};

}  // namespace quorrel
