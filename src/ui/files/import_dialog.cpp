#include "ui/files/import_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/error.h"
#include "common/number_format.h"
#include "shell/help_topics.h"
#include "ui/help/help_key.h"
#include "ui/widgets/quiet_focus_release.h"

namespace quorrel {

namespace {

constexpr int kPreviewPoints = 8;

//! The roles in the order the column boxes list them.
constexpr ColumnRole kRoles[] = {ColumnRole::Skip, ColumnRole::Qz,  ColumnRole::Theta,
                                 ColumnRole::TwoTheta, ColumnRole::R, ColumnRole::DR,
                                 ColumnRole::SQz};

QString RoleCaption(ColumnRole role) {
  switch (role) {
    case ColumnRole::Qz: return "Qz";
    case ColumnRole::Theta: return "theta";
    case ColumnRole::TwoTheta: return "2theta";
    case ColumnRole::R: return "R";
    case ColumnRole::DR: return "dR (optional)";
    case ColumnRole::SQz: return "sQz (optional)";
    case ColumnRole::Skip: break;
  }
  return "skip";
}

QString Number(double value) { return QString::fromStdString(FormatPattern(value, "0.0000E+00")); }

}  // namespace

TImportDlg::TImportDlg(HelpViewer& help, QWidget* parent) : QDialog(parent) {
  setObjectName("TImportDlg");
  setWindowTitle("Import Data");
  BindHelpKey(*this, help, help_context::kImportDialog);
  memLines = new QPlainTextEdit;
  memLines->setObjectName("memLines");
  memLines->setReadOnly(true);
  memLines->setLineWrapMode(QPlainTextEdit::NoWrap);
  memLines->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  memLines->setMaximumHeight(150);

  auto* columnBox = new QGroupBox("columns");
  columnRow_ = new QHBoxLayout(columnBox);

  cbQUnit = new QComboBox;
  cbQUnit->setObjectName("cbQUnit");
  cbQUnit->addItems({"1/Å", "1/nm"});
  cbSqzWidth = new QComboBox;
  cbSqzWidth->setObjectName("cbSqzWidth");
  cbSqzWidth->addItems({"one sigma", "FWHM (gaussian)"});
  edtXrayWavelength = new TRealEdit;
  edtXrayWavelength->setObjectName("edtXrayWavelength");
  auto* units = new QGridLayout;
  units->addWidget(new QLabel("Qz and sQz in:"), 0, 0, Qt::AlignRight);
  units->addWidget(cbQUnit, 0, 1);
  units->addWidget(new QLabel("sQz is:"), 1, 0, Qt::AlignRight);
  units->addWidget(cbSqzWidth, 1, 1);
  units->addWidget(new QLabel("X-ray wavelength for angles (degrees):"), 2, 0, Qt::AlignRight);
  units->addWidget(edtXrayWavelength, 2, 1);
  units->addWidget(new QLabel("Å"), 2, 2);
  units->setColumnStretch(3, 1);

  gridPreview = new QTableWidget(0, 4);
  gridPreview->setObjectName("gridPreview");
  gridPreview->setHorizontalHeaderLabels({"Qz / Å^-1", "R", "dR", "sQz / Å^-1"});
  gridPreview->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  gridPreview->setEditTriggers(QAbstractItemView::NoEditTriggers);
  gridPreview->setMinimumHeight(200);
  lblSummary = new QLabel;
  lblSummary->setObjectName("lblSummary");
  lblSummary->setWordWrap(true);

  buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(cbQUnit, &QComboBox::currentIndexChanged, this, &TImportDlg::showPoints);
  connect(cbSqzWidth, &QComboBox::currentIndexChanged, this, &TImportDlg::showPoints);
  connect(edtXrayWavelength, &NumericEdit::valueEdited, this, &TImportDlg::showPoints);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel("The first lines of the file:"));
  layout->addWidget(memLines);
  layout->addWidget(columnBox);
  layout->addLayout(units);
  layout->addWidget(new QLabel("The points they give:"));
  layout->addWidget(gridPreview);
  layout->addWidget(lblSummary);
  layout->addWidget(buttons_);
  resize(640, 620);
}

void TImportDlg::present(const TextTable& table, const ColumnMapping& remembered) {
  const QScopedValueRollback<bool> guard(showing_, true);
  table_ = &table;
  QStringList lines;
  for (const std::string& line : table.firstLines) lines << QString::fromStdString(line);
  memLines->setPlainText(lines.join('\n'));

  for (QComboBox* box : columns_) delete box->parentWidget();
  columns_.clear();
  const ColumnMapping start = StartingMapping(table.columnCount, remembered);
  for (std::size_t i = 0; i < start.roles.size(); ++i) {
    auto* cell = new QWidget;
    auto* stack = new QVBoxLayout(cell);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->addWidget(new QLabel(QString("column %1").arg(i + 1)));
    auto* box = new QComboBox;
    box->setObjectName(QString("cbColumn%1").arg(i + 1));
    for (const ColumnRole role : kRoles) box->addItem(RoleCaption(role), static_cast<int>(role));
    box->setCurrentIndex(box->findData(static_cast<int>(start.roles[i])));
    connect(box, &QComboBox::currentIndexChanged, this, &TImportDlg::showPoints);
    stack->addWidget(box);
    columnRow_->addWidget(cell);
    columns_.push_back(box);
  }
  cbQUnit->setCurrentIndex(start.qUnit == QUnit::InverseNanometre ? 1 : 0);
  cbSqzWidth->setCurrentIndex(start.sqzWidth == SqzWidth::Fwhm ? 1 : 0);
  edtXrayWavelength->setValue(start.wavelength);
  showing_ = false;
  showPoints();
}

std::optional<ColumnMapping> TImportDlg::ask(const TextTable& table,
                                             const ColumnMapping& remembered) {
  present(table, remembered);
  const bool accepted = exec() == QDialog::Accepted;
  const ColumnMapping chosen = mapping();
  table_ = nullptr;
  if (!accepted) return std::nullopt;
  return chosen;
}

ColumnMapping TImportDlg::mapping() const {
  ColumnMapping chosen;
  for (const QComboBox* box : columns_) {
    chosen.roles.push_back(static_cast<ColumnRole>(box->currentData().toInt()));
  }
  chosen.qUnit = cbQUnit->currentIndex() == 1 ? QUnit::InverseNanometre : QUnit::InverseAngstrom;
  chosen.wavelength = edtXrayWavelength->value();
  chosen.sqzWidth = cbSqzWidth->currentIndex() == 1 ? SqzWidth::Fwhm : SqzWidth::Sigma;
  return chosen;
}

void TImportDlg::showPoints() {
  if (showing_ || table_ == nullptr) return;
  const ColumnMapping chosen = mapping();
  const bool angles = std::find_if(chosen.roles.begin(), chosen.roles.end(), [](ColumnRole r) {
                        return r == ColumnRole::Theta || r == ColumnRole::TwoTheta;
                      }) != chosen.roles.end();
  edtXrayWavelength->setEnabled(angles);
  gridPreview->setRowCount(0);
  QPushButton* ok = buttons_->button(QDialogButtonBox::Ok);
  if (angles && !(chosen.wavelength > 0)) {
    lblSummary->setText("The X-ray wavelength must be above 0.");
    ok->setEnabled(false);
    return;
  }
  ImportedPoints points;
  try {
    points = ConvertTable(*table_, chosen);
  } catch (const QuorrelError& error) {
    lblSummary->setText(QString("Choose the columns: %1.").arg(error.what()));
    ok->setEnabled(false);
    return;
  }
  const MeasuredData& converted = points.data;
  const int shown = std::min(converted.count(), kPreviewPoints);
  gridPreview->setRowCount(shown);
  for (int i = 0; i < shown; ++i) {
    const auto at = static_cast<std::size_t>(i);
    const QString values[] = {Number(converted.qz[at]), Number(converted.r[at]), Number(converted.dr[at]),
                              converted.hasResolution() ? Number(converted.sqz[at]) : QString("-")};
    for (int column = 0; column < 4; ++column) {
      gridPreview->setItem(i, column, new QTableWidgetItem(values[column]));
    }
  }
  lblSummary->setText(QString("%1 points; %2 comment or header lines skipped; %3 rows with R not "
                              "above zero dropped; %4 rows without Qz or R skipped.")
                          .arg(converted.count())
                          .arg(table_->skippedLines)
                          .arg(points.droppedNotPositive)
                          .arg(points.unusableRows));
  ok->setEnabled(converted.count() > 0);
}

TImportDlg::~TImportDlg() { ReleaseFocusQuietly(*this); }

}  // namespace quorrel
