#include "ui/main/measurements_panel.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/number_conversion.h"
#include "common/number_format.h"
#include "shell/measurement_texts.h"

namespace quorrel {

namespace {

enum Column { kLabel, kFile, kPoints, kScale, kBackground, kOverrides, kColumns };

QTableWidgetItem* Cell(const QString& text, bool editable) {
  auto* item = new QTableWidgetItem(text);
  if (!editable) item->setFlags(item->flags() & ~Qt::ItemIsEditable);
  return item;
}

std::optional<double> Number(const QString& text) {
  const std::string typed = text.trimmed().toStdString();
  std::optional<double> value = LocaleToDouble(typed);
  if (!value) value = LocaleToDouble(typed, '.');
  return value;
}

}  // namespace

MeasurementsPanel::MeasurementsPanel(QWidget* parent) : QDockWidget("Measurements", parent) {
  setObjectName("MeasurementsPanel");
  auto* body = new QWidget;
  table_ = new QTableWidget(0, kColumns);
  table_->setObjectName("tblMeasurements");
  table_->setHorizontalHeaderLabels(
      {"label", "file", "points", "scale", "background", "overrides"});
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->verticalHeader()->hide();
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setToolTip("Label, scale and the constant background y0 (empty: none) are typed "
                     "in place; overrides as \"rho_bulk = 6.35e-6; rho_2 = 1e-6\".");
  btnAdd_ = new QPushButton("&Add...");
  btnAdd_->setObjectName("btnAddMeasurement");
  btnRemove_ = new QPushButton("&Remove");
  btnRemove_->setObjectName("btnRemoveMeasurement");
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(btnAdd_);
  buttons->addWidget(btnRemove_);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(body);
  layout->addWidget(table_);
  layout->addLayout(buttons);
  setWidget(body);
  connect(btnAdd_, &QPushButton::clicked, this, &MeasurementsPanel::addRequested);
  connect(btnRemove_, &QPushButton::clicked, this, &MeasurementsPanel::removeSelected);
  connect(table_, &QTableWidget::cellChanged, this, &MeasurementsPanel::cellEdited);
}

void MeasurementsPanel::show(const std::vector<Measurement>& measurements,
                             const SampleModel& model) {
  showing_ = true;
  measurements_ = measurements;
  model_ = model;
  table_->setRowCount(static_cast<int>(measurements.size()));
  for (int row = 0; row < table_->rowCount(); ++row) {
    const Measurement& m = measurements[static_cast<std::size_t>(row)];
    table_->setItem(row, kLabel, Cell(QString::fromStdString(m.label), true));
    table_->setItem(row, kFile, Cell(QFileInfo(QString::fromStdString(m.data.fileName)).fileName(),
                                     false));
    table_->item(row, kFile)->setToolTip(QString::fromStdString(m.data.fileName));
    table_->setItem(row, kPoints, Cell(QString::number(m.data.count()), false));
    table_->setItem(row, kScale, Cell(QString::fromStdString(FormatPattern(m.scale, "0.0000")), true));
    table_->setItem(row, kBackground,
                    Cell(QString::fromStdString(BackgroundText(m.background)), true));
    table_->setItem(row, kOverrides,
                    Cell(QString::fromStdString(OverridesText(m, model)), true));
  }
  table_->resizeColumnsToContents();
  btnRemove_->setEnabled(!measurements.empty());
  showing_ = false;
}

void MeasurementsPanel::cellEdited(int row, int column) {
  if (showing_ || row < 0 || row >= static_cast<int>(measurements_.size())) return;
  std::vector<Measurement> measurements = measurements_;
  Measurement& m = measurements[static_cast<std::size_t>(row)];
  const QString text = table_->item(row, column)->text();
  QString refusal;
  switch (column) {
    case kLabel:
      if (text.trimmed().isEmpty()) {
        refusal = "a measurement needs a label";
      } else {
        m.label = text.trimmed().toStdString();
      }
      break;
    case kScale:
      if (const std::optional<double> scale = Number(text); scale && *scale > 0.0) {
        m.scale = *scale;
      } else {
        refusal = "the scale is a number above 0";
      }
      break;
    case kBackground: {
      // "none" or empty switches it off; a number (after "y0 =", if typed) is y0.
      QString value = text.trimmed();
      if (value.isEmpty() || value == "none") {
        m.background.on = false;
        break;
      }
      value = value.mid(value.lastIndexOf('=') + 1);
      if (const std::optional<double> y0 = Number(value)) {
        m.background.on = true;
        m.background.y0 = *y0;
      } else {
        refusal = "the background is a number (y0), or empty for none";
      }
      break;
    }
    case kOverrides: {
      const OverridesRead read = ReadOverrides(text.toStdString(), model_);
      if (read.refusal.empty()) {
        m.overrides = read.overrides;
      } else {
        refusal = QString::fromStdString(read.refusal);
      }
      break;
    }
    default:
      return;
  }
  if (!refusal.isEmpty()) {
    emit refused(refusal);
    show(measurements_, model_);
    return;
  }
  emit edited(measurements, "editing " + QString::fromStdString(m.label));
}

void MeasurementsPanel::removeSelected() {
  const int row = table_->currentRow();
  if (row < 0 || row >= static_cast<int>(measurements_.size())) return;
  std::vector<Measurement> measurements = measurements_;
  const QString label = QString::fromStdString(measurements[static_cast<std::size_t>(row)].label);
  measurements.erase(measurements.begin() + row);
  emit edited(measurements, "removing " + label);
}

}  // namespace quorrel
