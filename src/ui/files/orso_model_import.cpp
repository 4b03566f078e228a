// The main window's ORSO commands: a new model from the sample model of an .ort header, the
// offer to build it and the fit results shown when such a file is loaded as data, and the
// calculated curves written as an .ort file.

#include <QFileInfo>
#include <QStringList>

#include "calc/point_resolution.h"
#include "common/error.h"
#include "database/table_catalogue.h"
#include "files/orso_file_writer.h"
#include "files/orso_model.h"
#include "shell/orso_fit_summary.h"
#include "shell/orso_write_info.h"
#include "ui/main/main_window.h"
#include "ui/main/version_record.h"
#include "ui/model/model_window.h"
#include "ui/platform/paths.h"
#include "ui/platform/prompts.h"
#include "ui/platform/shared_file_dialogs.h"

namespace quorrel {

namespace {

QString NameOf(const QString& path) { return QFileInfo(path).fileName(); }

QString Joined(const std::vector<std::string>& lines, const char* separator) {
  QStringList texts;
  for (const std::string& line : lines) texts << QString::fromStdString(line);
  return texts.join(separator);
}

//! The material table in use; without one, a model can still use the densities it states.
TableCatalogue CatalogueAt(const std::string& path) {
  try {
    return TableCatalogue::Load(path);
  } catch (const QuorrelError&) {
    return TableCatalogue({});
  }
}

}  // namespace

void TForm1::newModelFromOrso() {
  if (!settleModelChanges()) return;
  const std::optional<QString> file =
      files_->open("New Model from ORSO File", "ORSO reflectivity (*.ort)", "ort");
  if (file && loadOrsoModel(*file)) recalculate();
}

bool TForm1::loadOrsoModel(const QString& path) {
  OrsoModel built;
  try {
    built = ReadOrsoModel(ToPath(path), CatalogueAt(state_.sldDatabasePath));
  } catch (const QuorrelError& error) {
    services_.prompts.error(QString::fromStdString(error.what()));
    return false;
  }
  state_.model = std::move(built.model);
  state_.editor = EditorState();
  // The densities are for the file's probe; later lookups in the table should be too.
  state_.settings.radiation = built.radiation;
  refreshModelViews();
  frmModel_->showFunctionParameters();
  // A new model, not saved yet: closing asks to save it.
  document_.restoreSavedState({}, {});
  recordStep("building the model of " + NameOf(path));
  frmModel_->setWindowTitle("Model - from " + NameOf(path));
  if (built.radiation == Radiation::Xrays) built.notes.push_back("the densities are for x-rays");
  if (!built.notes.empty()) services_.prompts.information(NameOf(path) + ": " + Joined(built.notes, "; "));
  return true;
}

void TForm1::offerOrsoModel(const QString& path) {
  try {
    if (const std::optional<OrsoFitSummary> fit = ReadOrsoFitSummary(ToPath(path))) {
      services_.prompts.information(NameOf(path) + " holds the results of a fit:\n" +
                                    Joined(OrsoFitSummaryLines(*fit), "\n"));
    }
    if (!OrsoFileHasModel(ToPath(path))) return;
  } catch (const QuorrelError&) {
    return;  // the data reader has said what is wrong with the file
  }
  if (services_.prompts.confirm(NameOf(path) +
                                " describes its sample in the ORSO model language. Build the "
                                "model from it?") &&
      settleModelChanges() && loadOrsoModel(path)) {
    recalculate();
  }
}

void TForm1::writeOrsoReflectivity(const QString& path, ReflectivityResult shown) {
  shown.pointResolution = PointResolutions(state_.settings, state_.data, shown.plain.x);
  const std::optional<OrsoFitSummary> fit =
      fitSession_.fitAccepted() ? FitSessionSummary(fitSession_) : std::nullopt;
  const QString modelFile = QString::fromStdString(document_.modelFile());
  const QString sample = modelFile.isEmpty() ? QString() : NameOf(modelFile);
  WriteOrsoFile(ToPath(path), state_.model, shown, SpinCurvesOn(state_.settings),
                state_.settings.cbTransmission,
                CurrentOrsoWriteInfo(version_record::kFileVersion, sample.toStdString(),
                                     state_.data.fileName, state_.settings.radiation),
                fit);
}

}  // namespace quorrel
