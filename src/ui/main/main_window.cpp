#include "ui/main/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include "files/model_file_writer.h"
#include "model/sample_type_choice.h"
#include "shell/fit_project.h"
#include "shell/help_topics.h"
#include "shell/persisted_settings.h"
#include "shell/shipped_files.h"
#include "ui/calc/calculation_runner.h"
#include "ui/calc/live_recalculation.h"
#include "ui/database/material_editor_dialog.h"
#include "ui/files/import_dialog.h"
#include "ui/fit/fit_dialog.h"
#include "ui/fit/sampling_dialog.h"
#include "ui/function/function_dialog.h"
#include "ui/help/help_viewer.h"
#include "ui/main/crash_recovery.h"
#include "ui/main/about_box.h"
#include "ui/main/splash_screen.h"
#include "ui/main/tool_bar.h"
#include "ui/model/model_window.h"
#include "ui/platform/paths.h"
#include "ui/platform/prompts.h"
#include "ui/platform/shared_file_dialogs.h"
#include "ui/plot/posterior_band.h"
#include "ui/plot/profile_window.h"
#include "ui/plot/reflectivity_window.h"
#include "ui/settings/settings_dialog.h"

namespace quorrel {

namespace {

//! The placement of a first start, before any is stored.
constexpr QSize kDesignSize(1200, 800);

}  // namespace

TForm1::TForm1(Services services, const StartupSwitches& switches)
    : services_(services),
      switches_(switches),
      calculations_(new CalculationRunner(this)),
      live_(new LiveRecalculation(*calculations_, [this] { recalculate(); }, this)),
      help_(std::make_unique<HelpViewer>(this)) {
  setObjectName("TForm1");
  setWindowTitle("Quorrel");
  setProperty("helpContext", help_context::kMainWindow);
  state_.showSplash = switches.showSplash;
  state_.materialTableLoaded = switches.loadMaterialTable;
  buildWindow();
  applyCreationValues();
  if (state_.showSplash) {
    splash_ = std::make_unique<SplashScreen>();
    splash_->show();
  }
  createChildWindows();
  connectCommands();
  connectModelWindow();
  connectDialogs();
  document_.restoreSavedState({}, ModelFileText(state_.model, state_.settings));
  recovery_ = std::make_unique<CrashRecovery>(services_.dataFolder);
  document_.setRecoveryStore(recovery_.get());
  auto* recoveryTimer = new QTimer(this);
  recoveryTimer->setInterval(CrashRecovery::kIntervalMs);
  connect(recoveryTimer, &QTimer::timeout, this, &TForm1::keepForRecovery);
  recoveryTimer->start();
}

TForm1::~TForm1() {
  // The child windows and the dialogs show the document (a fit may still run in the fit
  // dialog's worker, which its destructor joins) and react to focus changes while the window
  // closes: they go before the document does.
  delete takeCentralWidget();
  for (QWidget* dialog : std::initializer_list<QWidget*>{fitDlg_, settingsDlg_, functionDlg_,
                                                         importDlg_, dbEditDlg_, aboutBox_}) {
    delete dialog;
  }
  document_.setRecoveryStore(nullptr);
  delete live_;
  delete calculations_;
}

void TForm1::buildWindow() {
  resize(kDesignSize);
  auto* frame = new QWidget;
  auto* layout = new QVBoxLayout(frame);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  Toolbar1 = new ToolbarPanel;
  mdiArea_ = new QMdiArea;
  mdiArea_->setObjectName("mdiArea");
  mdiArea_->viewport()->setMouseTracking(true);
  mdiArea_->viewport()->installEventFilter(this);
  Toolbar1->installEventFilter(this);
  layout->addWidget(Toolbar1);
  layout->addWidget(mdiArea_, 1);
  setCentralWidget(frame);

  statusPanel_ = new QLabel;
  statusPanel_->setObjectName("StatusPanel0");
  statusBar()->setObjectName("StatusBar1");
  statusBar()->setSizeGripEnabled(true);
  statusBar()->addWidget(statusPanel_, 1);

  menu_ = BuildMainMenu(*menuBar());
  for (QMenu* menu : menuBar()->findChildren<QMenu*>()) menu->installEventFilter(this);
  createMeasurementsPanel();
}

void TForm1::applyCreationValues() {
  const CreationValues values = ReadCreationValues(services_.settings);
  state_.expertMode = values.expertMode;
  state_.addresses = values.addresses;
  files_ = std::make_unique<SharedFileDialogs>(services_.prompts,
                                               QString::fromStdString(values.lastDir));
  switch (values.state) {
    case WindowShowState::Minimised:
      setWindowState(Qt::WindowMinimized);
      break;
    case WindowShowState::Normal:
      move(values.placement.left, values.placement.top);
      resize(values.placement.width, values.placement.height);
      break;
    case WindowShowState::Maximised:
      setWindowState(Qt::WindowMaximized);
      break;
    case WindowShowState::DesignTime:
      break;
  }
}

void TForm1::animateSplash() {
  if (splash_) splash_->animate();
}

void TForm1::createChildWindows() {
  frmModel_ = new TfrmModel(state_.model, state_.editor, state_.settings, services_.prompts);
  addChild(frmModel_);
  animateSplash();
  aboutBox_ = new TAboutBox(services_.desktop, *help_, this);
  connect(aboutBox_, &TAboutBox::statusText, this, &TForm1::setStatusText);
  frmPlot_ = new TfrmPlot(state_.data, services_.prompts);
  addChild(frmPlot_);
  animateSplash();
  frmProfile_ = new TfrmProfile;
  addChild(frmProfile_);
  functionDlg_ =
      new TFunctionDlg(state_.model.function, *files_, services_.prompts, *help_, this);
  animateSplash();
  fitDlg_ = new TFitDlg(fitSession_, services_.prompts, *help_, this);
  samplingDlg_ = new TSamplingDlg(services_.prompts, *help_, *files_, this);
  connect(samplingDlg_, &TSamplingDlg::posteriorReady, this,
          [this](const SampledPosterior& posterior) {
            state_.sampling = RecordOfSampling(posterior, UtcNow());
          });
  connect(samplingDlg_, &TSamplingDlg::bandsReady, this, [this](const PosteriorBands& bands) {
    ShowPosteriorBand(frmPlot_->graph(), bands.reflectivity);
    ShowPosteriorBand(frmProfile_->graph(), bands.profile);
  });
  settingsDlg_ = new TSettingsDlg(state_.settings, state_.model, state_.data, services_.prompts,
                                  *help_, this);
  importDlg_ = new TImportDlg(*help_, this);
  dbEditDlg_ = new TMyDBEditDlg(
      services_.prompts, *help_,
      [this](const QString& question) { return services_.prompts.confirm(question); }, this);
  animateSplash();  // after the fit, settings and table dialogs
  animateSplash();
  for (GraphWindow* window : {static_cast<GraphWindow*>(frmPlot_),
                              static_cast<GraphWindow*>(frmProfile_)}) {
    connect(window, &GraphWindow::statusText, this, &TForm1::setStatusText);
  }
}

QMdiSubWindow* TForm1::addChild(QWidget* child) {
  QMdiSubWindow* frame = mdiArea_->addSubWindow(child);
  frame->setObjectName(child->objectName() + "Frame");
  // The child windows live as long as the program; closing one minimises it.
  frame->installEventFilter(this);
  return frame;
}

QMdiSubWindow* TForm1::frameOf(const QWidget& child) const {
  for (QMdiSubWindow* frame : mdiArea_->subWindowList()) {
    if (frame->widget() == &child) return frame;
  }
  return nullptr;
}

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!firstShown_) {
    firstShown_ = true;
    firstShowing();
  }
}

void TForm1::firstShowing() {
  const FirstShowingValues values = ReadFirstShowingValues(
      services_.settings,
      ShippedMaterialTable(ToPath(QApplication::applicationDirPath())).string());
  ChooseSampleType(state_.model, values.sampleType);
  fitSession_.setWeighting(values.fit.weighting);
  fitSession_.setIncludeResolution(values.fit.includeResolution);
  fitSession_.setIncludeBackground(values.fit.includeBackground);
  fitSession_.setDisplayGraph(values.fit.displayGraph);
  fitSession_.setMethod(values.fit.method);
  fitDlg_->showOptions();
  state_.settings.radiation = values.radiation;
  state_.settings.edtWavelength = values.wavelength;
  state_.settings.resolutionFromData = values.resolutionFromData;
  state_.settings.smearing = values.smearing;
  frmPlot_->setPlotChoices(values.plot);
  importMapping_ = values.importMapping;
  state_.sldDatabasePath = values.sldDatabasePath;
  menu_.mnuRecalculateWhileEditing->setChecked(values.recalculateWhileEditing);
  refreshModelViews();
  document_.restoreSavedState({}, ModelFileText(state_.model, state_.settings));
  document_.startHistory();
  showUndoSteps();

  frameOf(*frmModel_)->setFixedWidth(frmModel_->fixedWidth());
  tile();
  if (state_.materialTableLoaded) loadMaterialTable(state_.sldDatabasePath);
  // The first windows show the start-up model's curves.
  recalculate();
  splash_.reset();
  if (!state_.expertMode) showTips();
  offerRecovery();
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (!shutDown_) {
    if (!settleProjectChanges() || !settleModelChanges()) {
      event->ignore();
      return;
    }
    shutDown_ = true;
    writeShutdownValues();
    // A clean end: nothing is left to recover.
    document_.discardRecovery();
  }
  QMainWindow::closeEvent(event);
}

void TForm1::writeShutdownValues() {
  ShutdownValues values;
  values.expertMode = state_.expertMode;
  values.lastDir = files_->lastOpenedFolder().toStdString();
  values.sampleType = state_.model.type;
  if (fitSession_.fitAccepted()) values.acceptedFit = fitSession_.settings();
  values.state = isMinimized()   ? WindowShowState::Minimised
                 : isMaximized() ? WindowShowState::Maximised
                                 : WindowShowState::Normal;
  values.placement = {y(), x(), height(), width()};
  values.radiation = state_.settings.radiation;
  values.wavelength = state_.settings.edtWavelength;
  values.resolutionFromData = state_.settings.resolutionFromData;
  values.smearing = state_.settings.smearing;
  values.plot = frmPlot_->plotChoices();
  values.importMapping = importMapping_;
  values.addresses = state_.addresses;
  values.sldDatabasePath = state_.sldDatabasePath;
  values.recalculateWhileEditing = menu_.mnuRecalculateWhileEditing->isChecked();
  WriteShutdownValues(services_.settings, values);
}

QString TForm1::statusText() const { return statusPanel_->text(); }

void TForm1::setStatusText(const QString& text) {
  statusPanel_->setText(text);
  statusPanel_->repaint();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseMove &&
      (watched == mdiArea_->viewport() || watched == Toolbar1)) {
    setStatusText(QString());
  } else if (event->type() == QEvent::Close && !shutDown_ &&
             qobject_cast<QMdiSubWindow*>(watched) != nullptr) {
    event->ignore();
    static_cast<QMdiSubWindow*>(watched)->showMinimized();
    return true;
  } else if (event->type() == QEvent::KeyPress &&
             static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
    if (auto* menu = qobject_cast<QMenu*>(watched)) {
      // The highlighted item's help, else the menu's own.
      const QAction* item = menu->activeAction();
      QVariant context = item != nullptr ? item->property("helpContext") : QVariant();
      if (!context.isValid()) context = menu->property("helpContext");
      if (context.isValid()) {
        menu->close();
        help_->showContext(context.toInt());
        return true;
      }
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace quorrel
