#include "ui/model/model_window.h"

#include <QAction>
#include <QAbstractItemDelegate>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSplitter>
#include <QVBoxLayout>

#include "model/editor_fields.h"
#include "model/grid_cell_rules.h"
#include "model/profile_function.h"
#include "model/row_operations.h"
#include "model/sample_type_choice.h"
#include "shell/help_topics.h"
#include "ui/model/grid_view.h"
#include "ui/model/text_grid_model.h"
#include "ui/platform/prompts.h"
#include "ui/widgets/quiet_focus_release.h"

namespace quorrel {

namespace {

constexpr const char* kParameterNames[] = {"A", "B", "C", "D", "E"};
// Counts typed beyond their bounds reach the rules, which limit or ignore them.
constexpr int kTypedCountLimit = 99999;

QSpinBox* SpinBox(const char* name, int minimum, int maximum) {
  auto* spin = new QSpinBox;
  spin->setObjectName(name);
  spin->setRange(minimum, maximum);
  spin->setMinimumWidth(70);
  return spin;
}

QFrame* Panel(const char* name, const char* hint) {
  auto* panel = new QFrame;
  panel->setObjectName(name);
  panel->setToolTip(hint);
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setMouseTracking(true);
  return panel;
}

bool Within(const QWidget* widget, const QWidget* area) {
  return widget != nullptr && (widget == area || area->isAncestorOf(widget));
}

}  // namespace

TfrmModel::TfrmModel(SampleModel& model, EditorState& editor, const CalcSettings& settings,
                     Prompts& prompts, QWidget* parent)
    : QWidget(parent), model_(model), editor_(editor), settings_(settings), prompts_(prompts) {
  setObjectName("TfrmModel");
  setWindowTitle("Model");
  setProperty("helpContext", help_context::kModelEditor);
  setMouseTracking(true);

  baseModel_ = new TextGridModel(
      model_.baseGrid,
      [this](int row, int column, const std::string& text) {
        EditBaseCell(model_, row, column, text);
        edited();
      },
      this);
  mlModel_ = new TextGridModel(
      model_.mlGrid,
      [this](int row, int column, const std::string& text) {
        model_.mlGrid.setCell(row, column, text);
        edited();
      },
      this);
  BaseGrid = new GridView(*baseModel_);
  BaseGrid->setObjectName("BaseGrid");
  BaseGrid->setToolTip("this is the 'basic' sample");
  MLGrid = new GridView(*mlModel_);
  MLGrid->setObjectName("MLGrid");
  MLGrid->setToolTip("This is the multilayer stack");
  for (const auto& [view, grid] : {std::pair{BaseGrid, EditorGrid::Base},
                                   std::pair{MLGrid, EditorGrid::Multilayer}}) {
    const EditorGrid which = grid;
    connect(view, &GridView::releasedOverRow, this,
            [this, which](int row) { ReleaseOverCell(editor_, which, row); });
    connect(view, &GridView::labelRightReleased, this,
            [this, which](int, QPoint at) { openPopup(which, at); });
    connect(view, &GridView::rowDragged, this, [this, which](int from, int to) {
      MoveRow(model_, which, from, to);
      (which == EditorGrid::Base ? baseModel_ : mlModel_)->cellsChanged();
      edited("moving a row");
    });
    view->viewport()->installEventFilter(this);
  }

  auto* splitter = new QSplitter(Qt::Vertical);
  splitter->addWidget(MLGrid);
  splitter->addWidget(BaseGrid);
  splitter->setStretchFactor(1, 1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->setSpacing(4);
  layout->addWidget(buildTopPanel());
  layout->addWidget(buildIndependentPanel());
  layout->addWidget(buildFunctionPanel());
  layout->addWidget(buildMultilayerPanel());
  layout->addWidget(splitter, 1);
  buildPopupMenu();
  connect(qApp, &QApplication::focusChanged, this, &TfrmModel::focusChanged);
  for (GridView* view : {BaseGrid, MLGrid}) {
    connect(view->itemDelegate(), &QAbstractItemDelegate::closeEditor, this,
            &TfrmModel::typingEnded);
  }
  refresh();
}

TfrmModel::~TfrmModel() {
  // Focus changes while QWidget's destructor deletes the grids, after this one has run: the
  // application must not call back into the half-destroyed editor.
  disconnect(qApp, &QApplication::focusChanged, this, &TfrmModel::focusChanged);
  ReleaseFocusQuietly(*this);
}

QWidget* TfrmModel::buildTopPanel() {
  TopPanel = new QGroupBox("sample type:");
  TopPanel->setObjectName("TopPanel");
  TopPanel->setToolTip("this is the sample type");
  TopPanel->setMouseTracking(true);
  TopPanel->installEventFilter(this);
  RBIndep = new QRadioButton("independent layers");
  RBFunction = new QRadioButton("analytical profile function");
  RBMulti = new QRadioButton("multiple layers");
  RBSymFilm = new QRadioButton("symmetric film");
  auto* types = new QGridLayout(TopPanel);
  const std::pair<QRadioButton*, SampleType> buttons[] = {
      {RBIndep, SampleType::IndependentLayers},
      {RBFunction, SampleType::ProfileFunction},
      {RBMulti, SampleType::MultipleLayers},
      {RBSymFilm, SampleType::SymmetricFilm}};
  const char* names[] = {"RBIndep", "RBFunction", "RBMulti", "RBSymFilm"};
  for (int i = 0; i < 4; ++i) {
    QRadioButton* button = buttons[i].first;
    const SampleType type = buttons[i].second;
    button->setObjectName(names[i]);
    types->addWidget(button, i / 2, i % 2);
    connect(button, &QRadioButton::clicked, this, [this, type] { chooseType(type); });
  }
  return TopPanel;
}

QWidget* TfrmModel::buildIndependentPanel() {
  pnlIndep = Panel("pnlIndep", "this sets the number of layers of the 'basic' sample");
  edtLayers = SpinBox("edtLayers", -kTypedCountLimit, kTypedCountLimit);
  lblSymmetric = new QLabel("remember it's symmetric: one side of the film + the core!");
  lblSymmetric->setObjectName("lblSymmetric");
  cbIdenticalSigmas = new QCheckBox("identical sigmas");
  cbIdenticalSigmas->setObjectName("cbIdenticalSigmas");
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel("number of layers:"));
  row->addWidget(edtLayers);
  row->addStretch();
  row->addWidget(cbIdenticalSigmas);
  auto* layout = new QVBoxLayout(pnlIndep);
  layout->setContentsMargins(6, 4, 6, 4);
  layout->addLayout(row);
  layout->addWidget(lblSymmetric);
  connect(edtLayers, &QSpinBox::valueChanged, this,
          [this](int value) { countChanged(&SetLayerCount, value); });
  connect(cbIdenticalSigmas, &QCheckBox::toggled, this, [this](bool on) {
    if (refreshing_) return;
    model_.identicalSigmas = on;
    edited();
  });
  pnlIndep->installEventFilter(this);
  return pnlIndep;
}

QWidget* TfrmModel::buildFunctionPanel() {
  pnlFunction = Panel("pnlFunction", "this are the function parameters");
  edtFunctionLayer = SpinBox("edtFunctionLayer", 0, 0);
  edtLayerThickness = new TCardinalEdit;
  edtLayerThickness->setObjectName("edtLayerThickness");
  edtLayerThickness->setRange(0, 99);  // shown, not enforced
  edtLayerThickness->setMaximumWidth(70);
  edtNumCalcLayers = SpinBox("edtNumCalcLayers", 0, kMaxFunctionSteps);
  btnEditFunction = new QPushButton("edit function...");
  btnEditFunction->setObjectName("btnEditFunction");
  btnEditFunction->setToolTip("click here to select a function");
  btnTestFunction = new QPushButton("I want to test my function");
  btnTestFunction->setObjectName("btnTestFunction");
  btnTestFunction->setToolTip("calculate profile and reflectivity");

  auto* settings = new QFormLayout;
  settings->setContentsMargins(0, 0, 0, 0);
  settings->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
  settings->addRow("append function to layer No.", edtFunctionLayer);
  settings->addRow("thickness of functional steps in Å", edtLayerThickness);
  settings->addRow("number of steps", edtNumCalcLayers);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(btnEditFunction);
  buttons->addWidget(btnTestFunction);
  buttons->addStretch();
  auto* top = new QHBoxLayout;
  top->addLayout(settings);
  top->addStretch();
  top->addLayout(buttons);

  auto* parameters = new QGridLayout;
  for (int i = 0; i < 5; ++i) {
    auto* label = new QLabel(QString(kParameterNames[i]) + " = ");
    label->setObjectName(QString("lbl") + kParameterNames[i]);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* edit = new TRealEdit;
    edit->setObjectName(QString("edt") + kParameterNames[i]);
    edit->setRange(-kMaxParameterMagnitude, kMaxParameterMagnitude);
    edit->setValidate(true);
    edit->setInform([this](const QString& text) { prompts_.information(text); });
    parameters->addWidget(label, i / 3, 2 * (i % 3));
    parameters->addWidget(edit, i / 3, 2 * (i % 3) + 1);
    parameterLabels_[static_cast<std::size_t>(i)] = label;
    parameterEdits_[static_cast<std::size_t>(i)] = edit;
    connect(edit, &NumericEdit::valueEdited, this, [this, i, edit] {
      if (refreshing_) return;
      SetFunctionParameter(model_, i, edit->value());
      edited();
    });
  }
  auto* layout = new QVBoxLayout(pnlFunction);
  layout->setContentsMargins(6, 4, 6, 4);
  layout->addLayout(top);
  layout->addLayout(parameters);

  connect(edtFunctionLayer, &QSpinBox::valueChanged, this,
          [this](int value) { countChanged(&SetFunctionLayer, value); });
  connect(edtNumCalcLayers, &QSpinBox::valueChanged, this,
          [this](int value) { countChanged(&SetNumCalcLayers, value); });
  connect(edtLayerThickness, &NumericEdit::valueEdited, this, [this] {
    if (refreshing_) return;
    model_.edtLayerThickness = edtLayerThickness->value();
    edited();
  });
  connect(btnEditFunction, &QPushButton::clicked, this, &TfrmModel::editFunctionRequested);
  connect(btnTestFunction, &QPushButton::clicked, this, &TfrmModel::testFunction);
  for (QLabel* label : parameterLabels_) label->hide();
  for (TRealEdit* edit : parameterEdits_) edit->hide();
  pnlFunction->installEventFilter(this);
  return pnlFunction;
}

QWidget* TfrmModel::buildMultilayerPanel() {
  pnlMulti = Panel("pnlMulti", "this are the multilayer parameters");
  edtStackedLayers = SpinBox("edtStackedLayers", -kTypedCountLimit, kTypedCountLimit);
  edtRepts = SpinBox("edtRepts", 1, kMaxRepetitions);
  edtInsertLayer = SpinBox("edtInsertLayer", 0, 0);
  auto* layout = new QFormLayout(pnlMulti);
  layout->setContentsMargins(6, 4, 6, 4);
  layout->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
  layout->addRow("number of layers in the stack:", edtStackedLayers);
  layout->addRow("number of repetitions:", edtRepts);
  layout->addRow("append multilayer stack to layer No.", edtInsertLayer);
  connect(edtStackedLayers, &QSpinBox::valueChanged, this,
          [this](int value) { countChanged(&SetStackedLayerCount, value); });
  connect(edtRepts, &QSpinBox::valueChanged, this,
          [this](int value) { countChanged(&SetRepetitions, value); });
  connect(edtInsertLayer, &QSpinBox::valueChanged, this,
          [this](int value) { countChanged(&SetInsertLayer, value); });
  pnlMulti->installEventFilter(this);
  return pnlMulti;
}

void TfrmModel::buildPopupMenu() {
  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName("PopupMenu1");
  popupTitle = PopupMenu1->addAction("using");
  popupTitle->setObjectName("popupTitle");
  Elements1 = PopupMenu1->addMenu("&Elements");
  Elements1->setObjectName("Elements1");
  Compounds1 = PopupMenu1->addMenu("&Compounds");
  Compounds1->setObjectName("Compounds1");
  PopupMenu1->addSeparator();
  const std::pair<const char*, const char*> rowItems[] = {
      {"CopyRow1", "Copy &Row"}, {"PasteRow1", "&Paste Row"}, {nullptr, nullptr},
      {"InsertRow1", "&Insert Row"}, {"DeleteRow1", "&Delete Row"}};
  for (const auto& [name, caption] : rowItems) {
    if (name == nullptr) {
      PopupMenu1->addSeparator();
    } else {
      PopupMenu1->addAction(caption)->setObjectName(name);
    }
  }
  const auto rowItem = [this](const char* name) {
    return PopupMenu1->findChild<QAction*>(name);
  };
  connect(rowItem("CopyRow1"), &QAction::triggered, this, [this] {
    if (const auto text = CopyRow(model_, editor_, popupGrid_)) {
      QApplication::clipboard()->setText(QString::fromStdString(*text));
    }
  });
  connect(rowItem("PasteRow1"), &QAction::triggered, this, [this] {
    PasteRow(model_, editor_, popupGrid_, QApplication::clipboard()->text().toStdString());
    refresh();
    edited("pasting a row");
  });
  connect(rowItem("InsertRow1"), &QAction::triggered, this, [this] {
    InsertRow(model_, editor_, popupGrid_);
    refresh();
    edited("inserting a row");
  });
  connect(rowItem("DeleteRow1"), &QAction::triggered, this, [this] {
    DeleteRow(model_, editor_, popupGrid_);
    refresh();
    edited("deleting a row");
  });
  setMaterialLists(MaterialLists{});
}

void TfrmModel::setMaterialLists(const MaterialLists& lists) {
  const auto fill = [this](QMenu* menu, const std::vector<std::string>& captions,
                           MaterialKind kind) {
    menu->clear();
    if (captions.empty()) {
      menu->addAction("(none)")->setEnabled(false);
      return;
    }
    for (std::size_t i = 0; i < captions.size(); ++i) {
      const int position = static_cast<int>(i);
      connect(menu->addAction(QString::fromStdString(captions[i])), &QAction::triggered, this,
              [this, kind, position] { emit materialChosen(popupGrid_, kind, position); });
    }
  };
  fill(Elements1, lists.elements, MaterialKind::Element);
  fill(Compounds1, lists.compounds, MaterialKind::Compound);
}

void TfrmModel::refresh() {
  refreshing_ = true;
  RBIndep->setChecked(model_.type == SampleType::IndependentLayers);
  RBFunction->setChecked(model_.type == SampleType::ProfileFunction);
  RBMulti->setChecked(model_.type == SampleType::MultipleLayers);
  RBSymFilm->setChecked(model_.type == SampleType::SymmetricFilm);
  edtLayers->setValue(model_.edtLayers);
  cbIdenticalSigmas->setChecked(model_.identicalSigmas);
  edtFunctionLayer->setMaximum(model_.edtLayers);
  edtFunctionLayer->setValue(model_.edtFunctionLayer);
  edtLayerThickness->setValue(model_.edtLayerThickness);
  edtNumCalcLayers->setValue(model_.edtNumCalcLayers);
  for (std::size_t i = 0; i < parameterEdits_.size(); ++i) {
    parameterEdits_[i]->setValue(model_.function.parameters[i]);
  }
  btnTestFunction->setEnabled(editor_.testFunctionEnabled);
  edtStackedLayers->setValue(model_.edtStackedLayers);
  edtRepts->setValue(model_.edtRepts);
  edtInsertLayer->setMaximum(model_.edtLayers);
  edtInsertLayer->setValue(model_.edtInsertLayer);
  baseModel_->rowsChanged();
  mlModel_->rowsChanged();
  followSpinFlip();
  arrangePanels();
  refreshing_ = false;
}

void TfrmModel::followSpinFlip() {
  const bool shown = SpinFlipOn(settings_);
  for (const auto& [grid, view] : {std::pair{baseModel_, BaseGrid}, std::pair{mlModel_, MLGrid}}) {
    if (grid->angleColumnShown() == shown) continue;
    grid->showAngleColumn(shown);
    if (shown) view->setColumnWidth(kColThetaM - 1, kAngleColumnWidth);
  }
}

int TfrmModel::fixedWidth() const {
  return kWidth + (baseModel_->angleColumnShown() ? kAngleColumnWidth : 0);
}

void TfrmModel::showFunctionParameters() {
  for (std::size_t i = 0; i < parameterEdits_.size(); ++i) {
    const bool shown = static_cast<int>(i) < model_.function.numParameters;
    parameterLabels_[i]->setText(QString::fromStdString(model_.function.parameterNames[i]) +
                                 " = ");
    parameterLabels_[i]->setVisible(shown);
    parameterEdits_[i]->setVisible(shown);
  }
  btnTestFunction->setEnabled(editor_.testFunctionEnabled);
}

void TfrmModel::arrangePanels() {
  const SampleType type = model_.type;
  pnlFunction->setVisible(type == SampleType::ProfileFunction);
  pnlMulti->setVisible(type == SampleType::MultipleLayers);
  MLGrid->setVisible(type == SampleType::MultipleLayers);
  lblSymmetric->setVisible(type == SampleType::SymmetricFilm);
  cbIdenticalSigmas->setVisible(type == SampleType::SymmetricFilm);
}

void TfrmModel::chooseType(SampleType type) {
  if (refreshing_) return;
  ChooseSampleType(model_, type);
  baseModel_->cellsChanged();
  arrangePanels();
  edited();
}

void TfrmModel::countChanged(void (*rule)(SampleModel&, int), int value) {
  if (refreshing_) return;
  rule(model_, value);
  // The rule may have limited or ignored the value, and counts move other bounds.
  refresh();
  edited();
}

void TfrmModel::edited(const char* what) {
  if (!refreshing_) emit modelEdited(QString(what));
}

void TfrmModel::windowDeactivated() {
  LeaveMLGrid(model_);
  mlModel_->cellsChanged();
}

void TfrmModel::markUnreadableCell(std::optional<EditorCell> cell) {
  const auto at = [&](EditorGrid grid) -> std::optional<std::pair<int, int>> {
    if (!cell || cell->grid != grid) return std::nullopt;
    return std::pair{cell->row, cell->column};
  };
  baseModel_->markUnreadable(at(EditorGrid::Base));
  mlModel_->markUnreadable(at(EditorGrid::Multilayer));
}

int TfrmModel::topPanelWidth() const {
  // The panel spans the window's client area; its width is read from the window so it is
  // right before the panel has been laid out.
  return width();
}

void TfrmModel::focusChanged(QWidget* old, QWidget* now) {
  if (Within(old, BaseGrid) && !Within(now, BaseGrid)) {
    LeaveBaseGrid(model_);
    baseModel_->cellsChanged();
  }
  if (Within(old, MLGrid) && !Within(now, MLGrid)) windowDeactivated();
}

void TfrmModel::openPopup(EditorGrid grid, QPoint globalPos) {
  popupGrid_ = grid;
  popupTitle->setText(settings_.radiation == Radiation::Neutrons ? "using neutron values"
                                                                  : "using x-ray values");
  PopupMenu1->popup(globalPos);
}

void TfrmModel::testFunction() { emit testFunctionRequested(); }

bool TfrmModel::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseMove) emit statusText(QString());
  return QWidget::eventFilter(watched, event);
}

}  // namespace quorrel
