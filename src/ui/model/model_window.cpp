#include "ui/model/model_window.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "shell/help_topics.h"

namespace quorrel {

namespace {

//! Row 0 of the grid becomes the header; column 0 holds the row labels.
void FillTable(QTableWidget& table, const TextGrid& grid) {
  table.clear();
  table.setColumnCount(grid.columnCount());
  table.setRowCount(grid.rowCount() - 1);
  QStringList headers;
  for (int column = 0; column < grid.columnCount(); ++column) {
    headers << QString::fromStdString(grid.cell(0, column));
  }
  table.setHorizontalHeaderLabels(headers);
  for (int row = 1; row < grid.rowCount(); ++row) {
    for (int column = 0; column < grid.columnCount(); ++column) {
      auto* item = new QTableWidgetItem(QString::fromStdString(grid.cell(row, column)));
      if (column == 0) item->setBackground(table.palette().button());
      table.setItem(row - 1, column, item);
    }
  }
}

void PrepareTable(QTableWidget& table) {
  table.setEditTriggers(QAbstractItemView::NoEditTriggers);
  table.verticalHeader()->hide();
  table.horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  table.horizontalHeader()->setDefaultSectionSize(76);
}

}  // namespace

TfrmModel::TfrmModel(QWidget* parent)
    : QWidget(parent),
      TopPanel(new QGroupBox("sample type:")),
      RBIndep(new QRadioButton("independent layers")),
      RBFunction(new QRadioButton("analytical profile function")),
      RBMulti(new QRadioButton("multiple layers")),
      RBSymFilm(new QRadioButton("symmetric film")),
      lblCounts(new QLabel),
      BaseGrid(new QTableWidget),
      lblStack(new QLabel),
      MLGrid(new QTableWidget) {
  setObjectName("TfrmModel");
  setWindowTitle("Model");
  setProperty("helpContext", help_context::kModelEditor);
  TopPanel->setObjectName("TopPanel");
  TopPanel->setToolTip("this is the sample type");
  auto* types = new QGridLayout(TopPanel);
  types->addWidget(RBIndep, 0, 0);
  types->addWidget(RBFunction, 0, 1);
  types->addWidget(RBMulti, 1, 0);
  types->addWidget(RBSymFilm, 1, 1);
  for (QRadioButton* button : {RBIndep, RBFunction, RBMulti, RBSymFilm}) {
    // Shown, not chosen here: the editor that changes the model replaces this view.
    button->setAttribute(Qt::WA_TransparentForMouseEvents);
    button->setFocusPolicy(Qt::NoFocus);
  }
  BaseGrid->setObjectName("BaseGrid");
  BaseGrid->setToolTip("this is the 'basic' sample");
  MLGrid->setObjectName("MLGrid");
  MLGrid->setToolTip("This is the multilayer stack");
  PrepareTable(*BaseGrid);
  PrepareTable(*MLGrid);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(TopPanel);
  layout->addWidget(lblCounts);
  layout->addWidget(lblStack);
  layout->addWidget(MLGrid, 1);
  layout->addWidget(BaseGrid, 2);
  showModel(SampleModel());
}

void TfrmModel::showModel(const SampleModel& model) {
  RBIndep->setChecked(model.type == SampleType::IndependentLayers);
  RBFunction->setChecked(model.type == SampleType::ProfileFunction);
  RBMulti->setChecked(model.type == SampleType::MultipleLayers);
  RBSymFilm->setChecked(model.type == SampleType::SymmetricFilm);
  lblCounts->setText(QString("number of layers: %1").arg(model.edtLayers));
  FillTable(*BaseGrid, model.baseGrid);
  const bool multilayer = model.type == SampleType::MultipleLayers;
  lblStack->setVisible(multilayer);
  MLGrid->setVisible(multilayer);
  if (multilayer) {
    lblStack->setText(QString("multilayer stack of %1 layers, %2 repetitions, appended to layer "
                              "No. %3")
                          .arg(model.edtStackedLayers)
                          .arg(model.edtRepts)
                          .arg(model.edtInsertLayer));
    FillTable(*MLGrid, model.mlGrid);
  }
}

// The panel spans the window's client area; its width is read from the window so it is
// right before the panel has been laid out.
int TfrmModel::topPanelWidth() const { return width(); }

}  // namespace quorrel
