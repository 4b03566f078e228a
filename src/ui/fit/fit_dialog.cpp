#include "ui/fit/fit_dialog.h"

#include <algorithm>

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "shell/help_topics.h"
#include "ui/fit/entry_setup_editor.h"
#include "ui/help/help_key.h"
#include "ui/help/help_viewer.h"
#include "ui/platform/prompts.h"
#include "ui/widgets/quiet_focus_release.h"

namespace quorrel {

namespace {

constexpr int kMinimumHeight = 372;

QRadioButton* Radio(const char* name, const char* caption) {
  auto* button = new QRadioButton(caption);
  button->setObjectName(name);
  return button;
}

QCheckBox* Check(const char* name, const char* caption) {
  auto* box = new QCheckBox(caption);
  box->setObjectName(name);
  return box;
}

QPushButton* Button(const char* name, const char* caption) {
  auto* button = new QPushButton(caption);
  button->setObjectName(name);
  return button;
}

}  // namespace

TFitDlg::TFitDlg(FitSession& session, Prompts& prompts, HelpViewer& help, QWidget* parent)
    : QDialog(parent),
      session_(session),
      prompts_(prompts),
      help_(help),
      chiSquare_(this, [this](const std::string& text) {
        lblChisq->setText(QString::fromStdString(text));
      }),
      trial_(this, [this](const std::string& text) {
        emit statusText(QString::fromStdString(text));
      }),
      entries_(this, [this](const std::vector<FitParameter>& entries) { showEntries(entries); }),
      curve_(this, [this](const ReflCurve& curve) { emit fitCurve(curve); }) {
  setObjectName("TFitDlg");
  setWindowTitle("Fit It");
  setWindowFlag(Qt::WindowMinimizeButtonHint);
  pages_ = new QTabWidget;
  pages_->addTab(buildParametersPage(), "&Parameters");
  pages_->addTab(buildOptionsPage(), "Op&tions");
  pages_->setCurrentIndex(0);

  OKBtn = Button("OKBtn", "&OK");
  OKBtn->setDefault(true);
  CancelBtn = Button("CancelBtn", "&Cancel");
  HelpBtn = Button("HelpBtn", "&Help");
  connect(OKBtn, &QPushButton::clicked, this, &TFitDlg::okClicked);
  connect(CancelBtn, &QPushButton::clicked, this, &TFitDlg::reject);
  connect(HelpBtn, &QPushButton::clicked, this, [this] { help_.showTopic("fittingdialog"); });
  BindHelpKey(*this, help_, help_context::kFitDialog);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OKBtn);
  buttons->addWidget(CancelBtn);
  buttons->addWidget(HelpBtn);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pages_, 1);
  layout->addLayout(buttons);
  // Never lower than 372 pixels, and never so low that the options overlap.
  setMinimumHeight(std::max(kMinimumHeight, layout->minimumSize().height()));
  resize(420, std::max(460, sizeHint().height()));
  showOptions();
  showState();
}

TFitDlg::~TFitDlg() {
  ReleaseFocusQuietly(*this);
  if (worker_.joinable()) {
    session_.cancel();
    worker_.join();
  }
}

QWidget* TFitDlg::buildParametersPage() {
  auto* page = new QWidget;
  CheckListBox1 = new QListWidget;
  CheckListBox1->setObjectName("CheckListBox1");
  connect(CheckListBox1, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
    if (showingEntries_) return;
    session_.toggleVary(CheckListBox1->row(item));
    lblconverged->hide();
    showEntries(session_.entries());
  });
  entrySetup_ = new EntrySetupEditor(
      [this](const Bounds& bounds) -> std::string {
        if (!session_.setBounds(CheckListBox1->currentRow(), bounds)) {
          return "the lower bound is above the upper one";
        }
        showEntries(session_.entries());
        return {};
      },
      [this](const std::string& link) {
        std::string refused = session_.setLink(CheckListBox1->currentRow(), link);
        if (refused.empty()) showEntries(session_.entries());
        return refused;
      });
  connect(CheckListBox1, &QListWidget::currentRowChanged, this, [this] { showSelectedSetup(); });
  lblChisq = new QLabel("0");
  lblChisq->setObjectName("lblChisq");
  QFont strong = lblChisq->font();
  strong.setBold(true);
  lblChisq->setFont(strong);
  lblconverged = new QLabel("the fit has converged!");
  lblconverged->setObjectName("lblconverged");
  lblconverged->setStyleSheet("color: #1a7a1a;");
  lblconverged->hide();
  btn1iter = Button("btn1iter", "&do it");
  btnStop = Button("btnStop", "&Stop");
  connect(btn1iter, &QPushButton::clicked, this, &TFitDlg::doIt);
  connect(btnStop, &QPushButton::clicked, this, [this] { session_.stop(); });

  auto* chi = new QHBoxLayout;
  chi->addWidget(new QLabel("chi ² :"));
  chi->addWidget(lblChisq);
  chi->addStretch();
  chi->addWidget(btn1iter);
  chi->addWidget(btnStop);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(new QLabel("vary?"));
  layout->addWidget(CheckListBox1, 1);
  layout->addWidget(entrySetup_);
  layout->addLayout(chi);
  layout->addWidget(lblconverged);
  return page;
}

QWidget* TFitDlg::buildOptionsPage() {
  auto* page = new QWidget;
  RBchisq = Radio("RBchisq", "calculate chi ²");
  RBfulliter = Radio("RBfulliter", "iterate to minimum");
  edtTolerance = new TRealEdit;
  edtTolerance->setObjectName("edtTolerance");
  edtTolerance->setRange(1e-37, 1.0);
  edtTolerance->setValidate(true);
  edtTolerance->setInform([this](const QString& text) { prompts_.information(text); });
  auto* mode = new QGroupBox;
  auto* modeLayout = new QGridLayout(mode);
  modeLayout->addWidget(RBchisq, 0, 0, 1, 2);
  modeLayout->addWidget(RBfulliter, 1, 0, 1, 2);
  modeLayout->addWidget(new QLabel("tolerance: "), 2, 0);
  modeLayout->addWidget(edtTolerance, 2, 1);
  const auto chooseMode = [this](RunMode runMode) {
    session_.setRunMode(runMode);
    edtTolerance->setEnabled(session_.toleranceEnabled());
  };
  connect(RBchisq, &QRadioButton::clicked, this,
          [chooseMode] { chooseMode(RunMode::CalculateChiSquare); });
  connect(RBfulliter, &QRadioButton::clicked, this,
          [chooseMode] { chooseMode(RunMode::IterateToMinimum); });
  connect(edtTolerance, &NumericEdit::valueEdited, this,
          [this] { session_.setTolerance(edtTolerance->value()); });

  RBSearch = Radio("RBSearch", "random search");
  RBLevenbergMarquardt = Radio("RBLevenbergMarquardt", "Levenberg-Marquardt");
  RBDifferentialEvolution = Radio("RBDifferentialEvolution", "differential evolution");
  auto* method = new QGroupBox("method :");
  auto* methodLayout = new QVBoxLayout(method);
  for (const auto& [button, choice] :
       {std::pair{RBSearch, FitMethod::RandomSearch},
        std::pair{RBLevenbergMarquardt, FitMethod::LevenbergMarquardt},
        std::pair{RBDifferentialEvolution, FitMethod::DifferentialEvolution}}) {
    methodLayout->addWidget(button);
    const FitMethod chosen = choice;
    connect(button, &QRadioButton::clicked, this, [this, chosen] {
      session_.setMethod(chosen);
      edtTolerance->setEnabled(session_.toleranceEnabled());
    });
  }

  RBErrors = Radio("RBErrors", "use given errors");
  RBStat = Radio("RBStat", "use 1/y");
  RBLog = Radio("RBLog", "use (log(R_exp)-log(R_fit))^2");
  RBNone = Radio("RBNone", "no weight at all");
  auto* weighting = new QGroupBox("chi ² calculation :");
  auto* weightingLayout = new QVBoxLayout(weighting);
  for (const auto& [button, choice] :
       {std::pair{RBErrors, Weighting::GivenErrors}, std::pair{RBStat, Weighting::Statistical},
        std::pair{RBLog, Weighting::Logarithmic}, std::pair{RBNone, Weighting::None}}) {
    weightingLayout->addWidget(button);
    const Weighting chosen = choice;
    connect(button, &QRadioButton::clicked, this,
            [this, chosen] { session_.setWeighting(chosen); });
  }

  cbRsltn = Check("cbRsltn", "include resolution");
  cbBackground = Check("cbBackground", "include background");
  cbDisplayGraph = Check("cbDisplayGraph", "display graph after every iteration (very slow)");
  connect(cbRsltn, &QCheckBox::toggled, this,
          [this](bool on) { session_.setIncludeResolution(on); });
  connect(cbBackground, &QCheckBox::toggled, this,
          [this](bool on) { session_.setIncludeBackground(on); });
  connect(cbDisplayGraph, &QCheckBox::toggled, this,
          [this](bool on) { session_.setDisplayGraph(on); });
  auto* calculation = new QGroupBox("reflectivity calculation :");
  auto* calculationLayout = new QVBoxLayout(calculation);
  calculationLayout->addWidget(cbRsltn);
  calculationLayout->addWidget(cbBackground);
  calculationLayout->addWidget(cbDisplayGraph);

  auto* layout = new QVBoxLayout(page);
  layout->addWidget(mode);
  layout->addWidget(method);
  layout->addWidget(weighting);
  layout->addWidget(calculation);
  layout->addStretch();
  return page;
}

void TFitDlg::showOptions() {
  const FitSettings options = session_.settings();
  RBchisq->setChecked(options.mode == RunMode::CalculateChiSquare);
  RBfulliter->setChecked(options.mode == RunMode::IterateToMinimum);
  edtTolerance->setValue(options.tolerance);
  edtTolerance->setEnabled(session_.toleranceEnabled());
  RBSearch->setChecked(options.method == FitMethod::RandomSearch);
  RBLevenbergMarquardt->setChecked(options.method == FitMethod::LevenbergMarquardt);
  RBDifferentialEvolution->setChecked(options.method == FitMethod::DifferentialEvolution);
  RBErrors->setChecked(options.weighting == Weighting::GivenErrors);
  RBStat->setChecked(options.weighting == Weighting::Statistical);
  RBLog->setChecked(options.weighting == Weighting::Logarithmic);
  RBNone->setChecked(options.weighting == Weighting::None);
  cbRsltn->setChecked(options.includeResolution);
  cbBackground->setChecked(options.includeBackground);
  cbDisplayGraph->setChecked(options.displayGraph);
}

namespace {

std::vector<FitData> One(FitData measured) {
  std::vector<FitData> measurements;
  measurements.push_back(std::move(measured));
  return measurements;
}

}  // namespace

void TFitDlg::present(const SampleModel& model, FitData measured) {
  present(model, One(std::move(measured)), {});
}

void TFitDlg::present(const SampleModel& model, std::vector<FitData> measurements,
                      const std::vector<EntrySetup>& setup, const SpinFlipSettings& guide) {
  session_.open(model, std::move(measurements), {}, guide);
  const std::string refused = setup.empty() ? std::string() : session_.applySetup(setup);
  showEntries(session_.entries());
  showSelectedSetup();
  lblconverged->hide();
  showState();
  show();
  if (!refused.empty()) prompts_.information("The fit setup: " + QString::fromStdString(refused));
}

DialogResult TFitDlg::run(const SampleModel& model, FitData measured) {
  return run(model, One(std::move(measured)), {});
}

DialogResult TFitDlg::run(const SampleModel& model, std::vector<FitData> measurements,
                          const std::vector<EntrySetup>& setup, const SpinFlipSettings& guide) {
  present(model, std::move(measurements), setup, guide);
  exec();
  return session_.result();
}

void TFitDlg::showSelectedSetup() {
  const int row = CheckListBox1->currentRow();
  const std::vector<FitParameter> entries = session_.entries();
  if (row < 0 || row >= static_cast<int>(entries.size())) {
    entrySetup_->showEntry({}, nullptr);
    return;
  }
  const FitParameter& entry = entries[static_cast<std::size_t>(row)];
  const QString name = QString::fromStdString(entry.label.substr(0, entry.label.find(" =")));
  for (const EntrySetup& setup : session_.setup()) {
    if (setup.index == entry.index) {
      entrySetup_->showEntry(name, &setup);
      return;
    }
  }
  entrySetup_->showEntry(name, nullptr);
}

void TFitDlg::showEntries(const std::vector<FitParameter>& entries) {
  showingEntries_ = true;
  if (CheckListBox1->count() != static_cast<int>(entries.size())) {
    CheckListBox1->clear();
    for (std::size_t i = 0; i < entries.size(); ++i) {
      auto* item = new QListWidgetItem(CheckListBox1);
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    }
  }
  const std::vector<EntrySetup> setup = session_.setup();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    QListWidgetItem* item = CheckListBox1->item(static_cast<int>(i));
    QString text = QString::fromStdString(entries[i].label);
    for (const EntrySetup& s : setup) {
      if (s.index == entries[i].index) text += SetupSuffix(s);
    }
    item->setText(text);
    item->setCheckState(entries[i].vary ? Qt::Checked : Qt::Unchecked);
  }
  showingEntries_ = false;
}

void TFitDlg::showState() {
  const bool running = worker_.joinable();
  btn1iter->setEnabled(!running);
  btnStop->setEnabled(running);
  CheckListBox1->setEnabled(!running && session_.listEnabled());
  entrySetup_->setEnabled(!running && session_.listEnabled());
  OKBtn->setEnabled(session_.okEnabled());
}

void TFitDlg::doIt() {
  if (worker_.joinable()) return;
  const std::string refusal = session_.start();
  if (!refusal.empty()) {
    prompts_.error(QString::fromStdString(refusal));
    return;
  }
  lblconverged->hide();
  FitDialogEvents events;
  events.statusText = [this](const std::string& text) { trial_.offer(text); };
  events.chiSquareText = [this](const std::string& text) { chiSquare_.offer(text); };
  events.fitCurve = [this](const ReflCurve& curve) { curve_.offer(curve); };
  events.parameterList = [this](const std::vector<FitParameter>& entries) {
    entries_.offer(entries);
  };
  worker_ = std::thread([this, events] {
    DoItResult result;
    QString failure;
    try {
      result = session_.runStarted(events);
    } catch (const std::exception& error) {
      failure = QString::fromStdString(error.what());
    }
    QMetaObject::invokeMethod(
        this, [this, result, failure] { runEnded(result, failure); }, Qt::QueuedConnection);
  });
  showState();
}

void TFitDlg::runEnded(const DoItResult& result, const QString& failure) {
  worker_.join();
  chiSquare_.flush();
  trial_.flush();
  entries_.flush();
  curve_.flush();
  lblChisq->setText(QString::fromStdString(session_.chiSquareText()));
  lblconverged->setVisible(session_.convergedShown());
  showEntries(session_.entries());
  emit statusText(QString::fromStdString(session_.statusText()));
  showState();
  if (result.outcome) emit runFinished(*result.outcome);
  if (session_.state() == FitDialogState::Closed) {
    closeIfDone();
    return;
  }
  if (!failure.isEmpty()) {
    prompts_.error(failure);
  } else if (!result.refusal.empty()) {
    prompts_.error(QString::fromStdString(result.refusal));
  } else if (result.outcome && result.outcome->state == FitEndState::Failed) {
    prompts_.error(QString::fromStdString(result.outcome->message));
  } else if (result.outcome && result.outcome->uncertainties) {
    const std::string warning =
        UndeterminedWarning(session_.parameters(), *result.outcome->uncertainties);
    if (!warning.empty()) prompts_.information(QString::fromStdString(warning));
  }
}

void TFitDlg::okClicked() {
  if (!session_.ok()) return;
  closeIfDone();
}

void TFitDlg::reject() {
  session_.cancel();
  closeIfDone();
}

void TFitDlg::closeIfDone() {
  // During a run OK and Cancel wait for its end; runEnded() comes back here.
  if (session_.state() != FitDialogState::Closed) return;
  lblconverged->hide();
  if (session_.result() == DialogResult::Ok) {
    QDialog::accept();
  } else {
    QDialog::reject();
  }
}

void TFitDlg::closeEvent(QCloseEvent* event) {
  reject();
  if (isVisible()) {
    event->ignore();
  } else {
    event->accept();
  }
}

void TFitDlg::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange || parentWidget() == nullptr) return;
  QWidget* main = parentWidget()->window();
  // The dialog and the main window are minimised and restored together.
  if (isMinimized() && !main->isMinimized()) {
    main->showMinimized();
  } else if (!isMinimized() && main->isMinimized()) {
    main->showNormal();
  }
}

}  // namespace quorrel
