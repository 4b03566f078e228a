#include "ui/database/material_editor_dialog.h"

#include <initializer_list>
#include <utility>

#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "database/database_error.h"
#include "shell/help_topics.h"
#include "ui/help/help_key.h"
#include "ui/help/help_viewer.h"
#include "ui/platform/prompts.h"

namespace quorrel {

namespace {

const char* const kHelpTopic = "DatabaseEditor";
const char* const kXrayNote = "(for 8047 eV x-rays, see help)";
constexpr int kElementPage = 0;
constexpr int kCompoundPage = 1;
constexpr int kLargestCharge = 999;

MaterialKind KindOfPage(int page) {
  return page == kElementPage ? MaterialKind::Element : MaterialKind::Compound;
}

int PageOfKind(MaterialKind kind) {
  return kind == MaterialKind::Element ? kElementPage : kCompoundPage;
}

QString Q(const std::string& text) { return QString::fromStdString(text); }

QString NumberText(const std::optional<int>& value) {
  return value ? QString::number(*value) : QString();
}

//! Keeps the cursor where it is when the text does not change.
void ShowText(QLineEdit* edit, const QString& text) {
  if (edit->text() != text) edit->setText(text);
}

//! Read-only fields take the window's colour, so that browsing does not look like editing.
template <typename Edit>
void SetEditable(Edit* edit, bool editable) {
  edit->setReadOnly(!editable);
  QPalette palette = edit->palette();
  palette.setBrush(QPalette::Base, editable ? QPalette().base() : QPalette().window());
  edit->setPalette(palette);
}

QLineEdit* FieldEdit(const char* name, int maxLength, int widthInCharacters) {
  auto* edit = new QLineEdit;
  edit->setObjectName(name);
  edit->setMaxLength(maxLength);
  edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * widthInCharacters);
  return edit;
}

}  // namespace

TMyDBEditDlg::TMyDBEditDlg(Prompts& prompts, HelpViewer& help,
                           std::function<bool(const QString&)> confirm, QWidget* parent)
    : QDialog(parent), prompts_(prompts), help_(help), confirm_(std::move(confirm)) {
  setObjectName("TMyDBEditDlg");
  setWindowTitle("Edit Database");
  setModal(true);

  PageControl1 = new QTabWidget;
  PageControl1->setObjectName("PageControl1");
  ElementSheet = makePage("ElementSheet", elementFields_, true);
  CompoundSheet = makePage("CompoundSheet", compoundFields_, false);
  PageControl1->addTab(ElementSheet, "Elements");
  PageControl1->addTab(CompoundSheet, "Compounds");
  PageControl1->setCurrentIndex(kElementPage);

  OKBtn = new QPushButton("&Done");
  OKBtn->setObjectName("OKBtn");
  OKBtn->setDefault(true);
  HelpBtn = new QPushButton("&Hilfe");
  HelpBtn->setObjectName("HelpBtn");

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(makeNavigator());
  bottom->addStretch();
  bottom->addWidget(OKBtn);
  bottom->addWidget(HelpBtn);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(PageControl1);
  layout->addLayout(bottom);

  connect(PageControl1, &QTabWidget::currentChanged, this, &TMyDBEditDlg::pageChanged);
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(HelpBtn, &QPushButton::clicked, this, [this] { help_.showTopic(kHelpTopic); });
  BindHelpKey(*this, help_, help_context::kMaterialEditor);

  showRecord();
}

TMyDBEditDlg::~TMyDBEditDlg() = default;

QWidget* TMyDBEditDlg::makePage(const char* objectName, PageFields& fields, bool withCharge) {
  auto* page = new QWidget;
  page->setObjectName(objectName);
  auto* grid = new QGridLayout(page);
  grid->setColumnStretch(2, 1);
  int row = 0;
  auto addRow = [&](const char* label, QWidget* field, QWidget* unit = nullptr) {
    grid->addWidget(new QLabel(label), row, 0);
    if (unit == nullptr) {
      grid->addWidget(field, row, 1, 1, 2);
    } else {
      grid->addWidget(field, row, 1);
      grid->addWidget(unit, row, 2);
    }
    ++row;
  };

  fields.name = FieldEdit("name", kNameSize, 30);
  addRow("name", fields.name);
  if (withCharge) {
    fields.ncharge = FieldEdit("ncharge", 3, 6);
    fields.ncharge->setValidator(new QIntValidator(0, kLargestCharge, fields.ncharge));
    fields.ncharge->setMaximumWidth(fields.ncharge->minimumWidth() * 2);
    addRow("Z", fields.ncharge, new QWidget);
  }
  fields.weight = FieldEdit("weight", kValueSize, 16);
  addRow("weight", fields.weight, new QLabel("g / mol"));
  fields.density = FieldEdit("density", kValueSize, 16);
  addRow("density", fields.density, new QLabel("g / ccm"));
  fields.delta = FieldEdit("delta", kValueSize, 16);
  addRow("delta", fields.delta, new QLabel(kXrayNote));
  fields.beta = FieldEdit("beta", kValueSize, 16);
  addRow("beta", fields.beta, new QLabel(kXrayNote));
  fields.b_coh = FieldEdit("b_coh", kValueSize, 16);
  addRow("b_coh", fields.b_coh, new QLabel("fm"));
  fields.abs_xs = FieldEdit("abs_xs", kValueSize, 16);
  auto* absorption = new QWidget;
  auto* absorptionUnit = new QHBoxLayout(absorption);
  absorptionUnit->setContentsMargins(0, 0, 0, 0);
  absorptionUnit->setSpacing(0);
  absorptionUnit->addWidget(new QLabel("barn"));
  absorptionUnit->addWidget(new QLabel(" (for 2200 m/s n, see help)"));
  absorptionUnit->addStretch();
  addRow("abs_xs", fields.abs_xs, absorption);

  fields.info1 = new QPlainTextEdit;
  fields.info1->setObjectName("info1");
  fields.info1->setTabChangesFocus(true);
  fields.info1->setFixedHeight(fields.info1->fontMetrics().lineSpacing() * 4 + 12);
  auto* comment = new QLabel("comment");
  grid->addWidget(comment, row, 0, Qt::AlignTop);
  grid->addWidget(fields.info1, row, 1, 1, 2);
  grid->setRowStretch(row + 1, 1);
  return page;
}

QWidget* TMyDBEditDlg::makeNavigator() {
  auto* navigator = new QWidget;
  navigator->setObjectName("Navigator");
  auto* row = new QHBoxLayout(navigator);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(1);
  auto button = [&](QToolButton*& target, const char* name, const QString& text, const char* hint,
                    auto action) {
    target = new QToolButton;
    target->setObjectName(name);
    target->setText(text);
    target->setToolTip(hint);
    target->setMinimumWidth(28);
    row->addWidget(target);
    connect(target, &QToolButton::clicked, this, action);
  };
  button(btnFirst, "btnFirst", "|\u25C0", "First record",
         [this] { run([](MaterialEditing& e) { e.first(); }); });
  button(btnPrior, "btnPrior", "\u25C0", "Prior record",
         [this] { run([](MaterialEditing& e) { e.prior(); }); });
  button(btnNext, "btnNext", "\u25B6", "Next record",
         [this] { run([](MaterialEditing& e) { e.next(); }); });
  button(btnLast, "btnLast", "\u25B6|", "Last record",
         [this] { run([](MaterialEditing& e) { e.last(); }); });
  button(btnInsert, "btnInsert", "+", "Insert record",
         [this] { run([](MaterialEditing& e) { e.insert(); }); });
  button(btnDelete, "btnDelete", "\u2212", "Delete record", [this] { removeRecord(); });
  button(btnEdit, "btnEdit", "\u270E", "Edit record",
         [this] { run([](MaterialEditing& e) { e.edit(); }); });
  button(btnPost, "btnPost", "\u2714", "Post edit",
         [this] { run([](MaterialEditing& e) { e.post(); }); });
  button(btnCancel, "btnCancel", "\u2716", "Cancel edit",
         [this] { run([](MaterialEditing& e) { e.cancel(); }); });
  button(btnRefresh, "btnRefresh", "\u21BB", "Refresh data",
         [this] { run([](MaterialEditing& e) { e.refresh(); }); });

  row->addSpacing(12);
  row->addWidget(new QLabel("ID"));
  row->addSpacing(4);
  ID = new QLineEdit;
  ID->setObjectName("ID");
  ID->setReadOnly(true);
  ID->setEnabled(false);  // greyed: the editor assigns it
  ID->setFocusPolicy(Qt::NoFocus);
  ID->setFixedWidth(ID->fontMetrics().averageCharWidth() * 8);
  row->addWidget(ID);
  return navigator;
}

TMyDBEditDlg::PageFields& TMyDBEditDlg::shownFields() {
  const MaterialKind kind = editing_ ? editing_->kind() : KindOfPage(PageControl1->currentIndex());
  return kind == MaterialKind::Element ? elementFields_ : compoundFields_;
}

int TMyDBEditDlg::editTable(const std::filesystem::path& tablePath) {
  if (!openTable(tablePath)) return QDialog::Rejected;
  return exec();
}

bool TMyDBEditDlg::openTable(const std::filesystem::path& tablePath) {
  closeTable();
  try {
    table_.open(tablePath, TableAccess::ReadWrite);
    editing_.emplace(table_, KindOfPage(PageControl1->currentIndex()));
  } catch (const DatabaseError& error) {
    closeTable();
    prompts_.error(Q(error.what()));
    return false;
  }
  showRecord();
  return true;
}

void TMyDBEditDlg::closeTable() {
  editing_.reset();
  table_.close();
  showRecord();
}

void TMyDBEditDlg::done(int result) {
  if (editing_ && editing_->editing() && !run([](MaterialEditing& e) { e.post(); })) return;
  closeTable();
  QDialog::done(result);
}

void TMyDBEditDlg::keyPressEvent(QKeyEvent* event) {
  if (editing_ && editing_->editing()) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
      run([](MaterialEditing& e) { e.post(); });
      return;
    }
    if (event->key() == Qt::Key_Escape) {
      run([](MaterialEditing& e) { e.cancel(); });
      return;
    }
  }
  QDialog::keyPressEvent(event);
}

template <typename Operation>
bool TMyDBEditDlg::run(Operation operation) {
  if (!editing_) return false;
  if (editing_->editing()) collectFields();
  bool succeeded = true;
  try {
    operation(*editing_);
  } catch (const DatabaseError& error) {
    prompts_.error(Q(error.what()));
    succeeded = false;
  }
  showRecord();
  return succeeded;
}

void TMyDBEditDlg::pageChanged() {
  const MaterialKind kind = KindOfPage(PageControl1->currentIndex());
  if (!editing_ || editing_->kind() == kind) return;
  if (!run([kind](MaterialEditing& e) { e.setKind(kind); })) {
    // The edit could not be stored: its page stays in front.
    const QSignalBlocker blocker(PageControl1);
    PageControl1->setCurrentIndex(PageOfKind(editing_->kind()));
  }
}

void TMyDBEditDlg::removeRecord() {
  if (!editing_ || !confirm_("Delete record?")) return;
  run([](MaterialEditing& e) { e.remove(); });
}

void TMyDBEditDlg::collectFields() {
  const PageFields& f = shownFields();
  MaterialRecord& record = editing_->edited();
  record.name = f.name->text().toStdString();
  if (f.ncharge != nullptr) {
    bool ok = false;
    const int charge = f.ncharge->text().toInt(&ok);
    record.ncharge = ok ? std::optional(charge) : std::nullopt;
  }
  record.weight = f.weight->text().toStdString();
  record.density = f.density->text().toStdString();
  record.delta = f.delta->text().toStdString();
  record.beta = f.beta->text().toStdString();
  record.b_coh = f.b_coh->text().toStdString();
  record.abs_xs = f.abs_xs->text().toStdString();
  record.info1 = f.info1->toPlainText().toStdString();
}

void TMyDBEditDlg::showRecord() {
  const MaterialRecord empty;
  const MaterialRecord* shown = editing_ ? editing_->current() : nullptr;
  const MaterialRecord& r = shown != nullptr ? *shown : empty;
  const PageFields& f = shownFields();
  ShowText(f.name, Q(r.name));
  if (f.ncharge != nullptr) ShowText(f.ncharge, NumberText(r.ncharge));
  ShowText(f.weight, Q(r.weight));
  ShowText(f.density, Q(r.density));
  ShowText(f.delta, Q(r.delta));
  ShowText(f.beta, Q(r.beta));
  ShowText(f.b_coh, Q(r.b_coh));
  ShowText(f.abs_xs, Q(r.abs_xs));
  if (f.info1->toPlainText() != Q(r.info1)) f.info1->setPlainText(Q(r.info1));
  ID->setText(shown != nullptr ? NumberText(r.ID) : QString());

  const bool tableOpen = editing_.has_value();
  const bool editing = tableOpen && editing_->editing();
  const bool hasRecord = tableOpen && editing_->position().has_value();
  for (QLineEdit* edit :
       {f.name, f.ncharge, f.weight, f.density, f.delta, f.beta, f.b_coh, f.abs_xs}) {
    if (edit != nullptr) SetEditable(edit, editing);
  }
  SetEditable(f.info1, editing);
  btnFirst->setEnabled(tableOpen && !editing_->atFirst());
  btnPrior->setEnabled(tableOpen && !editing_->atFirst());
  btnNext->setEnabled(tableOpen && !editing_->atLast());
  btnLast->setEnabled(tableOpen && !editing_->atLast());
  btnInsert->setEnabled(tableOpen);
  btnDelete->setEnabled(hasRecord || editing);
  btnEdit->setEnabled(hasRecord && !editing);
  btnPost->setEnabled(editing);
  btnCancel->setEnabled(editing);
  btnRefresh->setEnabled(tableOpen);
}

}  // namespace quorrel
