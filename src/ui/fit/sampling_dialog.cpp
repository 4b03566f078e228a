#include "ui/fit/sampling_dialog.h"

#include <cmath>
#include <limits>

#include <QCloseEvent>
#include <QDateTime>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/number_conversion.h"
#include "common/number_format.h"
#include "shell/help_topics.h"
#include "ui/fit/posterior_window.h"
#include "ui/help/help_viewer.h"
#include "ui/platform/prompts.h"

namespace quorrel {

namespace {

enum Column { kEntry, kLower, kUpper, kColumns };

QSpinBox* Spin(const char* name, int low, int high, int value) {
  auto* box = new QSpinBox;
  box->setObjectName(name);
  box->setRange(low, high);
  box->setValue(value);
  return box;
}

//! A bound as the cell shows it: empty for an infinite one.
QString BoundText(double bound) {
  return std::isfinite(bound) ? QString::fromStdString(FormatGeneral(bound)) : QString();
}

//! "ends in about 12 s (04:31:20)".
QString EndText(double remainingSeconds) {
  const QDateTime end = QDateTime::currentDateTime().addMSecs(
      static_cast<qint64>(remainingSeconds * 1000.0));
  return QString("ends in about %1 s (%2)")
      .arg(static_cast<long long>(std::ceil(remainingSeconds)))
      .arg(end.toString("HH:mm:ss"));
}

}  // namespace

TSamplingDlg::TSamplingDlg(Prompts& prompts, HelpViewer& help, SharedFileDialogs& files,
                           QWidget* parent)
    : QDialog(parent),
      prompts_(prompts),
      help_(help),
      files_(files),
      progress_(this, [this](const SamplingReport& report) { showProgress(report); }) {
  setObjectName("SamplingDlg");
  setWindowTitle("Sample posterior");
  table_ = new QTableWidget(0, kColumns);
  table_->setObjectName("SamplingEntries");
  table_->setHorizontalHeaderLabels({"entry (tick to sample)", "lower bound", "upper bound"});
  table_->horizontalHeader()->setSectionResizeMode(kEntry, QHeaderView::Stretch);
  table_->verticalHeader()->hide();
  connect(table_, &QTableWidget::itemChanged, this, &TSamplingDlg::entryChanged);

  edtWalkers = Spin("edtWalkers", 0, 100000, 0);
  edtWalkers->setSingleStep(2);
  edtWalkers->setSpecialValueText("max(32, 8 x values)");
  edtBurnIn = Spin("edtBurnIn", 0, 1000000, 400);
  edtSteps = Spin("edtSteps", 1, 1000000, 1000);
  edtThinning = Spin("edtThinning", 1, 10000, 1);
  edtSeed = Spin("edtSeed", 0, std::numeric_limits<int>::max(), 0);
  auto* options = new QFormLayout;
  options->addRow("walkers :", edtWalkers);
  options->addRow("burn-in steps :", edtBurnIn);
  options->addRow("steps :", edtSteps);
  options->addRow("thinning :", edtThinning);
  options->addRow("seed :", edtSeed);

  progressBar_ = new QProgressBar;
  progressBar_->setObjectName("SamplingProgress");
  lblProgress = new QLabel;
  lblProgress->setObjectName("lblProgress");
  btnSample = new QPushButton("&Sample");
  btnSample->setObjectName("btnSample");
  btnStop = new QPushButton("S&top");
  btnStop->setObjectName("btnStop");
  btnClose = new QPushButton("&Close");
  btnHelp = new QPushButton("&Help");
  connect(btnSample, &QPushButton::clicked, this, &TSamplingDlg::sample);
  connect(btnStop, &QPushButton::clicked, this, [this] { sampling_.stop(); });
  connect(btnClose, &QPushButton::clicked, this, &TSamplingDlg::reject);
  connect(btnHelp, &QPushButton::clicked, this,
          [this] { help_.showContext(help_context::kPosterior); });
  auto* buttons = new QHBoxLayout;
  for (QPushButton* button : {btnSample, btnStop, btnClose, btnHelp}) buttons->addWidget(button);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(table_);
  layout->addLayout(options);
  layout->addWidget(progressBar_);
  layout->addWidget(lblProgress);
  layout->addLayout(buttons);
  resize(460, 520);
  showState();
}

TSamplingDlg::~TSamplingDlg() {
  if (worker_.joinable()) {
    sampling_.stop();
    worker_.join();
  }
}

void TSamplingDlg::present(const SampleModel& model, std::vector<FitData> measurements,
                           const std::vector<EntrySetup>& setup, const FitSettings& fit,
                           const CalcSettings& settings) {
  if (worker_.joinable()) {
    show();
    return;
  }
  fit_.setIncludeResolution(fit.includeResolution);
  fit_.setIncludeBackground(fit.includeBackground);
  fit_.open(model, std::move(measurements), {}, settings.spinFlip);
  fit_.applySetup(setup);
  settings_ = settings;
  showEntries();
  lblProgress->clear();
  progressBar_->setValue(0);
  showState();
  show();
  raise();
}

void TSamplingDlg::showEntries() {
  showingEntries_ = true;
  const std::vector<FitParameter> entries = fit_.entries();
  std::vector<Bounds> bounds(entries.size());
  for (const EntrySetup& item : fit_.setup()) {
    for (std::size_t e = 0; e < entries.size(); ++e) {
      if (entries[e].index == item.index) bounds[e] = item.bounds;
    }
  }
  table_->setRowCount(static_cast<int>(entries.size()));
  for (std::size_t e = 0; e < entries.size(); ++e) {
    const int row = static_cast<int>(e);
    auto* entry = new QTableWidgetItem(QString::fromStdString(entries[e].label));
    entry->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    entry->setCheckState(entries[e].vary ? Qt::Checked : Qt::Unchecked);
    table_->setItem(row, kEntry, entry);
    table_->setItem(row, kLower, new QTableWidgetItem(BoundText(bounds[e].lower)));
    table_->setItem(row, kUpper, new QTableWidgetItem(BoundText(bounds[e].upper)));
  }
  showingEntries_ = false;
}

void TSamplingDlg::entryChanged(QTableWidgetItem* item) {
  if (showingEntries_) return;
  const int row = item->row();
  if (item->column() == kEntry) {
    const bool ticked = item->checkState() == Qt::Checked;
    if (ticked != fit_.entries()[static_cast<std::size_t>(row)].vary) fit_.toggleVary(row);
    return;
  }
  const auto bound = [this, row](int column, double infinite) {
    const QTableWidgetItem* cell = table_->item(row, column);
    const std::string text = cell == nullptr ? std::string() : cell->text().trimmed().toStdString();
    return text.empty() ? std::optional<double>(infinite) : LocaleToDouble(text);
  };
  const double inf = std::numeric_limits<double>::infinity();
  const std::optional<double> lower = bound(kLower, -inf), upper = bound(kUpper, inf);
  if (!lower || !upper || !fit_.setBounds(row, {*lower, *upper})) {
    prompts_.error("The bounds of row " + QString::number(row + 1) +
                   " are not two numbers with the lower one first.");
  }
}

void TSamplingDlg::sample() {
  if (worker_.joinable()) return;
  FitProblem problem;
  try {
    problem = fit_.problem();
  } catch (const std::exception& error) {
    prompts_.error(QString::fromStdString(error.what()));
    return;
  }
  const std::string refusal = SamplingRefusal(problem);
  if (!refusal.empty()) {
    prompts_.error(QString::fromStdString(refusal));
    return;
  }
  SamplingSettings settings;
  if (edtWalkers->value() > 0) settings.walkers = edtWalkers->value();
  settings.burnInSteps = edtBurnIn->value();
  settings.productionSteps = edtSteps->value();
  settings.thinning = edtThinning->value();
  settings.seed = static_cast<std::uint64_t>(edtSeed->value());
  sampling_.begin();
  const CalcSettings calc = settings_;
  worker_ = std::thread([this, problem = std::move(problem), settings, calc]() mutable {
    std::shared_ptr<SampledPosterior> posterior;
    std::shared_ptr<PosteriorBands> bands;
    QString failure;
    try {
      posterior = std::make_shared<SampledPosterior>(sampling_.run(
          std::move(problem), settings,
          [this](const SamplingReport& report) { progress_.offer(report); }));
      bands = std::make_shared<PosteriorBands>(BandsOfPosterior(*posterior, calc));
    } catch (const std::exception& error) {
      failure = QString::fromStdString(error.what());
    }
    QMetaObject::invokeMethod(
        this, [this, posterior, bands, failure] { runEnded(posterior, bands, failure); },
        Qt::QueuedConnection);
  });
  showState();
}

void TSamplingDlg::showProgress(const SamplingReport& report) {
  progressBar_->setRange(0, report.totalSteps);
  progressBar_->setValue(report.step);
  lblProgress->setText(QString("step %1 of %2, acceptance %3, %4")
                           .arg(report.step)
                           .arg(report.totalSteps)
                           .arg(QString::fromStdString(FormatPattern(report.acceptance, "0.00")))
                           .arg(EndText(report.remainingSeconds)));
}

void TSamplingDlg::runEnded(std::shared_ptr<SampledPosterior> posterior,
                            std::shared_ptr<PosteriorBands> bands, const QString& failure) {
  worker_.join();
  progress_.flush();
  showState();
  if (!posterior) {
    prompts_.error(failure);
    return;
  }
  lblProgress->setText(QString("%1 evaluations in %2 s")
                           .arg(posterior->result.evaluations)
                           .arg(QString::fromStdString(FormatPattern(posterior->seconds, "0.0"))));
  if (posterior_ == nullptr) posterior_ = new TfrmPosterior(prompts_, files_, parentWidget());
  posterior_->showPosterior(*posterior);
  posterior_->show();
  posterior_->raise();
  if (bands) emit bandsReady(*bands);
  emit posteriorReady(*posterior);
}

void TSamplingDlg::showState() {
  const bool going = worker_.joinable();
  btnSample->setEnabled(!going);
  btnStop->setEnabled(going);
  table_->setEnabled(!going);
}

void TSamplingDlg::closeEvent(QCloseEvent* event) {
  // A run goes on until it is stopped; its posterior still arrives.
  if (worker_.joinable()) sampling_.stop();
  QDialog::closeEvent(event);
}

void TSamplingDlg::reject() {
  if (worker_.joinable()) sampling_.stop();
  QDialog::reject();
}

}  // namespace quorrel
