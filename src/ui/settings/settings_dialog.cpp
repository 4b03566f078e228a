#include "ui/settings/settings_dialog.h"

#include <limits>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "common/error.h"
#include "model/settings_rules.h"
#include "shell/help_topics.h"
#include "ui/help/help_key.h"
#include "ui/help/help_viewer.h"
#include "ui/main/artwork.h"
#include "ui/platform/prompts.h"
#include "ui/settings/spin_flip_options.h"
#include "ui/widgets/quiet_focus_release.h"

namespace quorrel {

namespace {

QLabel* Caption(const char* text) { return new QLabel(QString::fromUtf8(text)); }

//! One line of a field table: caption right-aligned before the field, unit after it.
void AddFieldRow(QGridLayout& grid, QWidget* caption, QWidget* field, const char* unit = nullptr) {
  const int row = grid.rowCount();
  grid.addWidget(caption, row, 0, Qt::AlignRight);
  grid.addWidget(field, row, 1);
  if (unit != nullptr) grid.addWidget(Caption(unit), row, 2);
}

//! Wide enough for any value "%g" renders, even where a long caption competes for room.
void KeepWidth(QWidget& field) {
  field.setMinimumWidth(field.fontMetrics().horizontalAdvance("-0.00000E-000") + 16);
}

//! A grid of field rows that keeps its fields at their natural width.
QGridLayout* FieldGrid() {
  auto* grid = new QGridLayout;
  grid->setColumnStretch(3, 1);
  return grid;
}

//! A page whose contents sit at the top.
QWidget* Page(QLayout* contents) {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(contents);
  layout->addStretch();
  return page;
}

}  // namespace

TSettingsDlg::TSettingsDlg(CalcSettings& settings, const SampleModel& model,
                           const MeasuredData& measured, Prompts& prompts, HelpViewer& help,
                           QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      model_(model),
      measured_(measured),
      prompts_(prompts),
      help_(help) {
  setObjectName("TSettingsDlg");
  setWindowTitle("Calculation Settings");

  pages_ = new QTabWidget;
  pages_->setObjectName("PageControl1");
  // Every page's tab stays in sight: the dialog widens to them.
  pages_->setUsesScrollButtons(false);
  // The order follows SettingsPage, which currentPage() relies on.
  pages_->addTab(makeReflectivityPage(), "&Reflectivity");
  pages_->addTab(makeTransmissionPage(), "&Transmission");
  pages_->addTab(makeProfilePage(), "&Profile");
  pages_->addTab(makeBackgroundPage(), "&Background");
  pages_->addTab(makeResolutionPage(), "R&esolution");
  pages_->addTab(makeDatabasePage(), "&Database");

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pages_);
  layout->addWidget(makeButtons());

  connectControls();
  refresh();
  pages_->setCurrentIndex(static_cast<int>(SettingsPage::Reflectivity));
  btnCalc->setToolTip(CalcButtonHint(currentPage()));
}

QWidget* TSettingsDlg::makeReflectivityPage() {
  cbUserRange = new QCheckBox("user supplied &Q-range");
  cbUserRange->setObjectName("cbUserRange");
  edtminQ = realField("edtminQ", &CalcSettings::edtminQ);
  edtMaxQ = realField("edtMaxQ", &CalcSettings::edtMaxQ);
  edtNumPoints =
      spinField("edtNumPoints", CalcSettings::kNumPointsRange, &CalcSettings::edtNumPoints);
  cbMagnet = new QCheckBox("include &magnetization");
  cbMagnet->setObjectName("cbMagnet");
  spinFlipOptions = new SpinFlipOptions(
      settings_.spinFlip, [this](const QString& text) { prompts_.information(text); });

  auto* layout = new QVBoxLayout;
  layout->addWidget(cbUserRange);
  auto* range = FieldGrid();
  AddFieldRow(*range, Caption("calculate Qz  from"), edtminQ, "Å^-1");
  AddFieldRow(*range, Caption("to"), edtMaxQ, "Å^-1");
  AddFieldRow(*range, Caption("with"), edtNumPoints, "points");
  layout->addLayout(range);
  layout->addSpacing(12);
  layout->addWidget(cbMagnet);
  layout->addWidget(spinFlipOptions);
  return Page(layout);
}

QWidget* TSettingsDlg::makeTransmissionPage() {
  auto* note = Caption(
      "NB: The transimssion calculation only works for 'free' samples, i. e. where the "
      "reflractive index of the topmost layer ('air') is unity (n=1)!");
  note->setWordWrap(true);
  cbTransmission = new QCheckBox("calculate transmission");
  cbTransmission->setObjectName("cbTransmission");
  edtWavelength = realField("edtWavelength", &CalcSettings::edtWavelength);
  edtSampleThickness = realField("edtSampleThickness", &CalcSettings::edtSampleThickness);
  gbTransmission = new QGroupBox;
  gbTransmission->setObjectName("gbTransmission");
  auto* fields = FieldGrid();
  AddFieldRow(*fields, Caption("wavelength:"), edtWavelength, "Å");
  AddFieldRow(*fields, Caption("substrate thickness:"), edtSampleThickness, "mm");
  gbTransmission->setLayout(fields);

  auto* layout = new QVBoxLayout;
  layout->addWidget(note);
  layout->addWidget(cbTransmission);
  layout->addWidget(gbTransmission);
  return Page(layout);
}

QWidget* TSettingsDlg::makeProfilePage() {
  cbUserZ = new QCheckBox("user supplied &z-range");
  cbUserZ->setObjectName("cbUserZ");
  edtMinZ = integerField("edtMinZ", &CalcSettings::edtMinZ);
  edtMaxZ = integerField("edtMaxZ", &CalcSettings::edtMaxZ);
  edtNumPointsZ =
      spinField("edtNumPointsZ", CalcSettings::kNumPointsZRange, &CalcSettings::edtNumPointsZ);

  auto* layout = new QVBoxLayout;
  layout->addWidget(cbUserZ);
  auto* range = FieldGrid();
  AddFieldRow(*range, Caption("calculate profile from"), edtMinZ, "Å");
  AddFieldRow(*range, Caption("to"), edtMaxZ, "Å");
  AddFieldRow(*range, Caption("with"), edtNumPointsZ, "points");
  layout->addLayout(range);
  return Page(layout);
}

QWidget* TSettingsDlg::makeBackgroundPage() {
  cbBackground = new QCheckBox("add background noise");
  cbBackground->setObjectName("cbBackground");
  RBConstBG = new QRadioButton("constant:");
  RBConstBG->setObjectName("RBConstBG");
  RBLinearBG = new QRadioButton("linear:");
  RBLinearBG->setObjectName("RBLinearBG");
  RBGaussBG = new QRadioButton("gaussian:");
  RBGaussBG->setObjectName("RBGaussBG");
  RBLorentzBG = new QRadioButton("lorentzian:");
  RBLorentzBG->setObjectName("RBLorentzBG");
  edtY0 = realField("edtY0", &CalcSettings::edtY0);
  edtM = realField("edtM", &CalcSettings::edtM);
  edtPeakA = realField("edtPeakA", &CalcSettings::edtPeakA);
  edtPeakW = realField("edtPeakW", &CalcSettings::edtPeakW);
  edtPeakXC = realField("edtPeakXC", &CalcSettings::edtPeakXC);
  lblY0 = Caption("y0 = ");
  lblM = Caption("m = ");
  lblPeakA = Caption("A = ");
  lblPeakW = Caption("w = ");
  lblPeakXC = Caption("xc = ");

  GroupBoxBG = new QGroupBox;
  GroupBoxBG->setObjectName("GroupBoxBG");
  auto* kinds = new QVBoxLayout;
  for (QRadioButton* kind : {RBConstBG, RBLinearBG, RBGaussBG, RBLorentzBG}) {
    kinds->addWidget(kind);
  }
  kinds->addStretch();
  auto* fields = FieldGrid();
  AddFieldRow(*fields, lblY0, edtY0);
  AddFieldRow(*fields, lblM, edtM);
  AddFieldRow(*fields, lblPeakA, edtPeakA);
  AddFieldRow(*fields, lblPeakW, edtPeakW);
  AddFieldRow(*fields, lblPeakXC, edtPeakXC);
  // Hidden rows must not let the shown ones drift down.
  fields->setRowStretch(fields->rowCount(), 1);
  auto* columns = new QHBoxLayout(GroupBoxBG);
  columns->addLayout(kinds);
  columns->addSpacing(16);
  columns->addLayout(fields, 1);

  auto* layout = new QVBoxLayout;
  layout->addWidget(cbBackground);
  layout->addWidget(GroupBoxBG);
  return Page(layout);
}

QWidget* TSettingsDlg::makeResolutionPage() {
  cbVSelector = new QCheckBox("set by velocity selector");
  cbVSelector->setObjectName("cbVSelector");
  edtConstantRes = realField("edtConstantRes", &CalcSettings::edtConstantRes);
  edtDistribution = realField("edtDistribution", &CalcSettings::edtDistribution);

  pnlVSelector = new QWidget;
  pnlVSelector->setObjectName("pnlVSelector");
  auto* selector = FieldGrid();
  selector->setContentsMargins(0, 0, 0, 0);
  AddFieldRow(*selector, Caption("constant resolution at Qz = 0:"), edtConstantRes, "Å^-1");
  // The caption is two pieces, as the relative width d lambda / lambda is written.
  auto* distribution = new QWidget;
  auto* pieces = new QHBoxLayout(distribution);
  pieces->setContentsMargins(0, 0, 0, 0);
  pieces->setSpacing(0);
  pieces->addWidget(Caption("width of wavelength distributiuon (d"));
  pieces->addWidget(Caption("l/l):"));
  AddFieldRow(*selector, distribution, edtDistribution, "%");
  auto* selectorPage = new QVBoxLayout(pnlVSelector);
  selectorPage->setContentsMargins(0, 0, 0, 0);
  selectorPage->addLayout(selector);
  selectorPage->addStretch();

  pnlRegions = new QWidget;
  pnlRegions->setObjectName("pnlRegions");
  edtRegions = new QSpinBox;
  edtRegions->setObjectName("edtRegions");
  edtRegions->setRange(CalcSettings::kRegionsRange.minimum, CalcSettings::kRegionsRange.maximum);
  ResltnGrid = new QTableWidget(0, 2);
  ResltnGrid->setObjectName("ResltnGrid");
  ResltnGrid->verticalHeader()->hide();
  ResltnGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  ResltnGrid->setMinimumHeight(160);
  auto* count = FieldGrid();
  count->setContentsMargins(0, 0, 0, 0);
  AddFieldRow(*count, Caption("number of regions:"), edtRegions);
  auto* regions = new QVBoxLayout(pnlRegions);
  regions->setContentsMargins(0, 0, 0, 0);
  regions->addLayout(count);
  regions->addWidget(ResltnGrid);

  // The two panels share one place; the switch decides which one is shown.
  auto* place = new QGridLayout;
  place->addWidget(pnlVSelector, 0, 0);
  place->addWidget(pnlRegions, 0, 0);

  // The data's own resolution and the kernel belong to the user, not to the model file.
  cbDataResolution = new QCheckBox("from the data file (sQz, 1 sigma)");
  cbDataResolution->setObjectName("cbDataResolution");
  cbSmearing = new QComboBox;
  cbSmearing->setObjectName("cbSmearing");
  cbSmearing->addItems({"9-point (standard)", "accurate"});
  auto* kernel = FieldGrid();
  kernel->setContentsMargins(0, 0, 0, 0);
  AddFieldRow(*kernel, Caption("smearing kernel:"), cbSmearing);

  auto* layout = new QVBoxLayout;
  layout->addWidget(cbDataResolution);
  layout->addWidget(cbVSelector);
  layout->addLayout(place);
  layout->addLayout(kernel);
  return Page(layout);
}

QWidget* TSettingsDlg::makeDatabasePage() {
  RBNeutrons = new QRadioButton("neutrons");
  RBNeutrons->setObjectName("RBNeutrons");
  RBXrays = new QRadioButton("x-rays");
  RBXrays->setObjectName("RBXrays");
  btnRescanDB = new QPushButton("load database file");
  btnRescanDB->setObjectName("btnRescanDB");
  btnRescanDB->setAutoDefault(false);
  auto* note = Caption(
      "N.B.: The values in the database are given for a specified wavelength. See the "
      "'Database editor' section in the helpfile for more information on using values for "
      "different wavelengths. ");
  note->setWordWrap(true);

  auto* kinds = new QVBoxLayout;
  kinds->addWidget(Caption("Use database values for:"));
  kinds->addWidget(RBNeutrons);
  kinds->addWidget(RBXrays);
  auto* top = new QHBoxLayout;
  top->addLayout(kinds);
  top->addStretch();
  top->addWidget(btnRescanDB, 0, Qt::AlignTop);

  auto* layout = new QVBoxLayout;
  layout->addLayout(top);
  layout->addSpacing(12);
  layout->addWidget(note);
  return Page(layout);
}

QWidget* TSettingsDlg::makeButtons() {
  btnCalc = new QToolButton;
  btnCalc->setObjectName("btnCalc");
  btnCalc->setIcon(ToolBarIcon(ToolIcon::CalculateReflectivity));
  btnCalc->setIconSize(QSize(24, 24));
  auto* ok = new QPushButton("&OK");
  ok->setObjectName("btnOK");
  ok->setDefault(true);
  auto* cancel = new QPushButton("&Cancel");
  cancel->setObjectName("btnCancel");
  auto* helpButton = new QPushButton("&Help");
  helpButton->setObjectName("btnHelp");
  helpButton->setAutoDefault(false);
  // The controls are the store: closing either way keeps what was changed.
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(helpButton, &QPushButton::clicked, this, [this] { help_.showTopic("settingsdialog"); });

  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(btnCalc);
  layout->addStretch();
  layout->addWidget(ok);
  layout->addWidget(cancel);
  layout->addWidget(helpButton);
  return row;
}

TRealEdit* TSettingsDlg::realField(const char* name, double CalcSettings::*target) {
  auto* field = new TRealEdit;
  field->setObjectName(name);
  KeepWidth(*field);
  field->setInform([this](const QString& text) { prompts_.information(text); });
  connect(field, &NumericEdit::valueEdited, this, [this, field, target] {
    if (showing_) return;
    settings_.*target = field->value();
    changed();
  });
  realFields_.emplace_back(field, target);
  return field;
}

TIntegerEdit* TSettingsDlg::integerField(const char* name, int CalcSettings::*target) {
  auto* field = new TIntegerEdit;
  field->setObjectName(name);
  KeepWidth(*field);
  field->setInform([this](const QString& text) { prompts_.information(text); });
  connect(field, &NumericEdit::valueEdited, this, [this, field, target] {
    if (showing_) return;
    settings_.*target = field->value();
    changed();
  });
  integerFields_.emplace_back(field, target);
  return field;
}

QSpinBox* TSettingsDlg::spinField(const char* name, SpinRange range, int CalcSettings::*target) {
  auto* field = new QSpinBox;
  field->setObjectName(name);
  if (range.minimum == range.maximum) {
    // An open range: any whole number.
    field->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
  } else {
    field->setRange(range.minimum, range.maximum);
  }
  connect(field, &QSpinBox::valueChanged, this, [this, target](int value) {
    if (showing_) return;
    settings_.*target = value;
    changed();
  });
  spinFields_.emplace_back(field, target);
  return field;
}

void TSettingsDlg::connectControls() {
  // A switch that only stores its state; the view follows in changed().
  const auto store = [this](QCheckBox* box, bool CalcSettings::*target) {
    connect(box, &QCheckBox::toggled, this, [this, target](bool on) {
      if (showing_) return;
      settings_.*target = on;
      changed();
    });
  };
  store(cbMagnet, &CalcSettings::cbMagnet);
  connect(spinFlipOptions, &SpinFlipOptions::edited, this, &TSettingsDlg::changed);
  store(cbTransmission, &CalcSettings::cbTransmission);
  store(cbBackground, &CalcSettings::cbBackground);
  store(cbVSelector, &CalcSettings::cbVSelector);
  store(cbDataResolution, &CalcSettings::resolutionFromData);
  connect(cbSmearing, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (showing_) return;
    settings_.smearing = index == 1 ? SmearingKernel::Accurate : SmearingKernel::Standard;
    changed();
  });

  connect(cbUserRange, &QCheckBox::toggled, this, [this](bool on) {
    if (showing_) return;
    SetUserQRange(settings_, on, measured_);
    showQRange();
    changed();
  });
  connect(cbUserZ, &QCheckBox::toggled, this, [this](bool on) {
    if (showing_) return;
    try {
      SetUserZRange(settings_, on, model_);
    } catch (const CellError& error) {
      // The switch is off already; the range stays until the model's thickness reads.
      prompts_.error(QString::fromUtf8(error.what()));
    }
    showZRange();
    changed();
  });

  const auto kind = [this](QRadioButton* button, BackgroundKind background) {
    connect(button, &QRadioButton::toggled, this, [this, background](bool on) {
      if (showing_ || !on) return;
      settings_.background = background;
      changed();
    });
  };
  kind(RBConstBG, BackgroundKind::Constant);
  kind(RBLinearBG, BackgroundKind::Linear);
  kind(RBGaussBG, BackgroundKind::Gaussian);
  kind(RBLorentzBG, BackgroundKind::Lorentzian);

  connect(edtRegions, &QSpinBox::valueChanged, this, [this](int count) {
    if (showing_) return;
    SetRegionCount(settings_, count);
    showRegions();
    changed();
  });
  connect(ResltnGrid, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
    if (showing_) return;
    // Row 0 of the settings' grid holds the headings.
    settings_.resltnGrid.setCell(item->row() + 1, item->column(), item->text().toStdString());
    changed();
  });

  const auto radiation = [this](QRadioButton* button, Radiation kindOfRadiation) {
    connect(button, &QRadioButton::toggled, this, [this, kindOfRadiation](bool on) {
      if (showing_ || !on) return;
      settings_.radiation = kindOfRadiation;
      changed();
      // A calculation waiting for the table's values should see the new choice at once.
      QCoreApplication::processEvents();
    });
  };
  radiation(RBNeutrons, Radiation::Neutrons);
  radiation(RBXrays, Radiation::Xrays);
  connect(btnRescanDB, &QPushButton::clicked, this, &TSettingsDlg::databaseFileRequested);

  connect(pages_, &QTabWidget::currentChanged, this, [this] {
    const bool profile = currentPage() == SettingsPage::Profile;
    btnCalc->setToolTip(CalcButtonHint(currentPage()));
    btnCalc->setIcon(
        ToolBarIcon(profile ? ToolIcon::CalculateProfile : ToolIcon::CalculateReflectivity));
  });
  connect(btnCalc, &QToolButton::clicked, this,
          [this] { emit calculateRequested(currentPage() == SettingsPage::Profile); });

  BindHelpKey(*this, help_, help_context::kSettingsDialog);
}

void TSettingsDlg::refresh() {
  const QScopedValueRollback<bool> guard(showing_, true);
  cbUserRange->setChecked(settings_.cbUserRange);
  cbMagnet->setChecked(settings_.cbMagnet);
  spinFlipOptions->refresh();
  cbTransmission->setChecked(settings_.cbTransmission);
  cbUserZ->setChecked(settings_.cbUserZ);
  cbBackground->setChecked(settings_.cbBackground);
  cbVSelector->setChecked(settings_.cbVSelector);
  cbDataResolution->setChecked(settings_.resolutionFromData);
  cbSmearing->setCurrentIndex(settings_.smearing == SmearingKernel::Accurate ? 1 : 0);
  for (const auto& [field, value] : realFields_) field->setValue(settings_.*value);
  for (const auto& [field, value] : integerFields_) field->setValue(settings_.*value);
  for (const auto& [field, value] : spinFields_) field->setValue(settings_.*value);
  // In the order of BackgroundKind.
  QRadioButton* const kinds[] = {RBConstBG, RBLinearBG, RBGaussBG, RBLorentzBG};
  kinds[static_cast<int>(settings_.background)]->setChecked(true);
  (settings_.radiation == Radiation::Neutrons ? RBNeutrons : RBXrays)->setChecked(true);
  showRegions();
  applyView();
}

void TSettingsDlg::showQRange() {
  const QScopedValueRollback<bool> guard(showing_, true);
  edtminQ->setValue(settings_.edtminQ);
  edtMaxQ->setValue(settings_.edtMaxQ);
  edtNumPoints->setValue(settings_.edtNumPoints);
}

void TSettingsDlg::showZRange() {
  const QScopedValueRollback<bool> guard(showing_, true);
  edtMinZ->setValue(settings_.edtMinZ);
  edtMaxZ->setValue(settings_.edtMaxZ);
  edtNumPointsZ->setValue(settings_.edtNumPointsZ);
}

void TSettingsDlg::showRegions() {
  const QScopedValueRollback<bool> guard(showing_, true);
  const TextGrid& grid = settings_.resltnGrid;
  edtRegions->setValue(settings_.edtRegions);
  QStringList headings;
  for (int column = 0; column < grid.columnCount(); ++column) {
    headings << QString::fromStdString(grid.cell(0, column));
  }
  ResltnGrid->setColumnCount(grid.columnCount());
  ResltnGrid->setHorizontalHeaderLabels(headings);
  ResltnGrid->setRowCount(grid.rowCount() - 1);
  for (int row = 1; row < grid.rowCount(); ++row) {
    for (int column = 0; column < grid.columnCount(); ++column) {
      const QString text = QString::fromStdString(grid.cell(row, column));
      if (QTableWidgetItem* item = ResltnGrid->item(row - 1, column)) {
        // Replacing an item would end an edit in progress in it.
        if (item->text() != text) item->setText(text);
      } else {
        ResltnGrid->setItem(row - 1, column, new QTableWidgetItem(text));
      }
    }
  }
}

void TSettingsDlg::applyView() {
  const CalcSettingsView view = ViewOf(settings_, measured_.hasResolution());
  for (QWidget* field : {static_cast<QWidget*>(edtminQ), static_cast<QWidget*>(edtMaxQ),
                         static_cast<QWidget*>(edtNumPoints)}) {
    field->setEnabled(view.qRangeEnabled);
  }
  spinFlipOptions->applyView(view.spinFlipVisible, view.spinFlipFieldsVisible);
  gbTransmission->setVisible(view.transmissionVisible);
  edtSampleThickness->setEnabled(view.sampleThicknessEnabled);
  for (QWidget* field : {static_cast<QWidget*>(edtMinZ), static_cast<QWidget*>(edtMaxZ),
                         static_cast<QWidget*>(edtNumPointsZ)}) {
    field->setEnabled(view.zRangeEnabled);
  }
  GroupBoxBG->setVisible(view.backgroundVisible);
  lblY0->setVisible(view.y0Visible);
  edtY0->setVisible(view.y0Visible);
  lblM->setVisible(view.slopeVisible);
  edtM->setVisible(view.slopeVisible);
  for (QWidget* peak : {static_cast<QWidget*>(lblPeakA), static_cast<QWidget*>(edtPeakA),
                        static_cast<QWidget*>(lblPeakW), static_cast<QWidget*>(edtPeakW),
                        static_cast<QWidget*>(lblPeakXC), static_cast<QWidget*>(edtPeakXC)}) {
    peak->setVisible(view.peakVisible);
  }
  pnlVSelector->setVisible(view.vSelectorVisible);
  pnlRegions->setVisible(view.regionsVisible);
  cbDataResolution->setEnabled(view.dataResolutionEnabled);
  cbDataResolution->setToolTip(view.dataResolutionEnabled
                                   ? QString()
                                   : "The loaded data carry no resolution column (sQz).");
  for (QWidget* model : {static_cast<QWidget*>(cbVSelector), pnlVSelector, pnlRegions}) {
    model->setEnabled(view.modelResolutionEnabled);
  }
}

void TSettingsDlg::changed() {
  applyView();
  emit settingsChanged();
}

SettingsPage TSettingsDlg::currentPage() const {
  return static_cast<SettingsPage>(pages_->currentIndex());
}

TSettingsDlg::~TSettingsDlg() { ReleaseFocusQuietly(*this); }

}  // namespace quorrel
