#include "ui/fit/posterior_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/decimal_separator.h"
#include "common/number_format.h"
#include "files/chain_file.h"
#include "graph/corner_plot.h"
#include "ui/main/version_record.h"
#include "ui/platform/prompts.h"
#include "ui/platform/shared_file_dialogs.h"

namespace quorrel {

namespace {

QTableWidgetItem* Cell(const std::string& text) {
  auto* item = new QTableWidgetItem(QString::fromStdString(text));
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  return item;
}

}  // namespace

TfrmPosterior::TfrmPosterior(Prompts& prompts, SharedFileDialogs& files, QWidget* parent)
    : QWidget(parent, Qt::Window), prompts_(prompts), files_(files) {
  setObjectName("frmPosterior");
  setWindowTitle("Posterior");
  table_ = new QTableWidget(0, 5);
  table_->setObjectName("PosteriorSummary");
  table_->setHorizontalHeaderLabels(
      {"entry", "median +err -err", "95 % interval", "autocorrelation", "effective samples"});
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table_->verticalHeader()->hide();
  lblNotes = new QLabel;
  lblNotes->setObjectName("lblPosteriorNotes");
  lblNotes->setWordWrap(true);
  corner_ = new CornerPlot;
  corner_->setObjectName("CornerPlot");
  btnPicture = new QPushButton("Save &picture...");
  btnChain = new QPushButton("Save &chain...");
  connect(btnPicture, &QPushButton::clicked, this, &TfrmPosterior::savePicture);
  connect(btnChain, &QPushButton::clicked, this, &TfrmPosterior::saveChain);

  auto* top = new QWidget;
  auto* topLayout = new QVBoxLayout(top);
  topLayout->setContentsMargins(0, 0, 0, 0);
  topLayout->addWidget(table_);
  topLayout->addWidget(lblNotes);
  auto* splitter = new QSplitter(Qt::Vertical);
  splitter->addWidget(top);
  splitter->addWidget(corner_);
  splitter->setStretchFactor(1, 3);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnPicture);
  buttons->addWidget(btnChain);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(splitter);
  layout->addLayout(buttons);
  resize(720, 860);
}

TfrmPosterior::~TfrmPosterior() = default;

void TfrmPosterior::showPosterior(const SampledPosterior& posterior) {
  posterior_ = posterior;
  const char separator = DecimalSeparator();
  const std::vector<std::string>& names = posterior.problem.names;
  table_->setRowCount(static_cast<int>(names.size()));
  QStringList labels;
  for (std::size_t j = 0; j < names.size(); ++j) {
    const ValueSummary& v = posterior.statistics.values[j];
    const int row = static_cast<int>(j);
    table_->setItem(row, 0, Cell(names[j]));
    table_->setItem(row, 1, Cell(MedianText(v, separator)));
    table_->setItem(row, 2, Cell(FormatPrintfG(v.lower95) + " .. " + FormatPrintfG(v.upper95)));
    table_->setItem(row, 3, Cell(FormatPattern(v.autocorrelationTime, "0.0", separator) +
                                 " steps"));
    table_->setItem(row, 4, Cell(FormatPattern(v.effectiveSamples, "0", separator)));
    labels.push_back(QString::fromStdString(names[j]));
  }
  QString notes = QString("%1 walkers, %2 burn-in and %3 steps%4; acceptance %5; %6 evaluations "
                          "in %7 s.")
                      .arg(posterior.walkers)
                      .arg(posterior.result.burnInStepsRun)
                      .arg(posterior.result.productionStepsRun)
                      .arg(posterior.result.state == SamplingEndState::Stopped ? " (stopped)" : "")
                      .arg(QString::fromStdString(
                          FormatPattern(posterior.result.acceptance, "0.00", separator)))
                      .arg(posterior.result.evaluations)
                      .arg(QString::fromStdString(FormatPattern(posterior.seconds, "0.0", separator)));
  const std::string warning = ChainLengthWarning(posterior);
  if (!warning.empty()) notes += "\nWarning: " + QString::fromStdString(warning) + ".";
  lblNotes->setText(notes);
  const SampleChain& chain = posterior.result.chain;
  corner_->setSamples(labels, chain.samples);
}

QString TfrmPosterior::notes() const { return lblNotes->text(); }

void TfrmPosterior::savePicture() {
  const std::optional<QString> file = files_.save(
      "Save Corner Plot", "PDF (*.pdf);;SVG drawing (*.svg);;PNG picture (*.png)", "pdf");
  if (!file) return;
  const std::optional<QSize> size = prompts_.askPictureSize(corner_->size());
  if (!size) return;
  if (!corner_->saveTo(*file, *size)) {
    prompts_.error("The corner plot could not be written to " + *file +
                   " (the name must end in .pdf, .svg or .png).");
  }
}

void TfrmPosterior::saveChain() {
  if (!posterior_) return;
  const std::optional<QString> file =
      files_.save("Save Chain", "Chain text (*.txt);;NumPy array (*.npy)", "txt");
  if (!file) return;
  const SampleChain& chain = posterior_->result.chain;
  try {
    WriteChainFile(file->toStdString(),
                   {std::string("Quorrel ") + version_record::kFileVersion, posterior_->problem.names, chain.walkers,
                    chain.steps, chain.thinning, chain.samples, chain.logProbabilities});
  } catch (const std::exception& error) {
    prompts_.error(QString::fromStdString(error.what()));
  }
}

}  // namespace quorrel
