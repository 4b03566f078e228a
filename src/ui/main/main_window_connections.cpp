// How the main window's menus, tool bar, child windows and dialogs reach its commands.

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
#include "ui/plot/reflectivity_views.h"
#include "ui/plot/reflectivity_window.h"
#include "ui/settings/settings_dialog.h"

namespace quorrel {

void TForm1::connectCommands() {
  const MainMenu& m = menu_;
  ToolbarPanel& bar = *Toolbar1;
  connect(m.mnuLoadData, &QAction::triggered, this, &TForm1::loadData);
  connect(m.mnuImportData, &QAction::triggered, this, &TForm1::importData);
  connect(m.mnuNewModelFromOrso, &QAction::triggered, this, &TForm1::newModelFromOrso);
  connect(bar.btnLoadRefl, &QToolButton::clicked, this, &TForm1::loadData);
  connect(m.mnuLoadModel, &QAction::triggered, this, &TForm1::loadModel);
  connect(m.mnuNewProject, &QAction::triggered, this, &TForm1::newProject);
  connect(m.mnuOpenProject, &QAction::triggered, this, &TForm1::openProject);
  connect(m.mnuSaveProject, &QAction::triggered, this, &TForm1::saveProject);
  connect(m.mnuSaveProjectAs, &QAction::triggered, this, &TForm1::saveProjectAs);
  fillRecentMenu();
  connect(bar.btnLoadModel, &QToolButton::clicked, this, &TForm1::loadModel);
  connect(m.mnuSaveRefl, &QAction::triggered, this, &TForm1::saveReflectivity);
  connect(m.mnuSaveProfile, &QAction::triggered, this, &TForm1::saveProfile);
  connect(m.mnuSaveModel, &QAction::triggered, this, &TForm1::saveModel);
  connect(bar.btnSave, &QToolButton::clicked, this, &TForm1::saveActive);
  connect(m.mnuSettings, &QAction::triggered, this, &TForm1::showSettings);
  connect(m.mnuFit, &QAction::triggered, this, &TForm1::fit);
  connect(m.mnuSamplePosterior, &QAction::triggered, this, &TForm1::samplePosterior);
  connect(m.mnuSaveGraph, &QAction::triggered, this, &TForm1::saveGraph);
  connect(m.mnuPrint, &QAction::triggered, this, &TForm1::printSummary);
  connect(bar.btnPrint, &QToolButton::clicked, this, &TForm1::printSummary);
  connect(m.mnuCopyData, &QAction::triggered, this, &TForm1::copyData);
  connect(m.mnuUndo, &QAction::triggered, this, &TForm1::undo);
  connect(m.mnuRedo, &QAction::triggered, this, &TForm1::redo);
  // The keys work in every child window, also while "&Edit" is disabled.
  addActions({m.mnuUndo, m.mnuRedo});
  showUndoSteps();
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

  connect(calculations_, &CalculationRunner::measurementCurvesReady, frmPlot_,
          &TfrmPlot::showMeasurementCurves);
  connect(calculations_, &CalculationRunner::contrastProfilesReady, this,
          [this](const std::vector<std::optional<ProfileCurve>>& profiles) {
            std::vector<std::string> labels;
            for (const Measurement& measurement : document_.fitMeasurements()) {
              labels.push_back(measurement.label);
            }
            frmProfile_->showContrastProfiles(profiles, labels);
          });
  connect(calculations_, &CalculationRunner::reflectivityReady, this,
          [this](const ReflectivityResult& result) {
            document_.setReflectivity(result);
            frmPlot_->setFresnelMedia(FresnelMediaOf(state_.model));
            frmPlot_->showReflectivity(result);
            if (unreadableCell_) {
              unreadableCell_.reset();
              frmModel_->markUnreadableCell(std::nullopt);
            }
            if (!result.notes.statusText.empty()) {
              setStatusText(QString::fromStdString(result.notes.statusText));
            }
          });
  connect(calculations_, &CalculationRunner::profileReady, this,
          [this](const ProfileCurve& profile, const QString& note) {
            document_.setProfile(profile);
            frmProfile_->showProfile(profile);
            setStatusText(note);
          });
  connect(calculations_, &CalculationRunner::magneticProfileReady, frmProfile_,
          &TfrmProfile::showMagneticProfile);
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
          &TForm1::showCalculationFailure);

  // Enabled by the first data load.
  m.mnuFit->setEnabled(false);
  m.mnuSamplePosterior->setEnabled(false);
  bar.btnFit->setEnabled(false);
  m.mnuEdit->menuAction()->setEnabled(false);
}

void TForm1::connectModelWindow() {
  connect(frmModel_, &TfrmModel::modelEdited, this, &TForm1::edited);
  connect(frmModel_, &TfrmModel::modelEdited, live_, &LiveRecalculation::changed);
  connect(frmModel_, &TfrmModel::typingEnded, this, [this] { document_.closeStep(); });
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
  connect(settingsDlg_, &TSettingsDlg::settingsChanged, this, [this] {
    followSpinFlip();
    edited();
  });
  connect(settingsDlg_, &TSettingsDlg::settingsChanged, live_, &LiveRecalculation::changed);
  connect(fitDlg_, &TFitDlg::statusText, this, &TForm1::setStatusText);
  connect(fitDlg_, &TFitDlg::fitCurve, this, [this](const ReflCurve& curve) {
    // A trial's curve that arrives after the dialog has closed is no longer shown.
    if (fitDlg_->isVisible()) frmPlot_->showFitCurve(curve);
  });
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

}  // namespace quorrel
