#include "ui/function/function_dialog.h"

#include <initializer_list>

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QSpinBox>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "common/error.h"
#include "files/user_function_file.h"
#include "model/function_choice.h"
#include "parser/builtin_profiles.h"
#include "shell/help_topics.h"
#include "ui/help/help_key.h"
#include "ui/help/help_viewer.h"
#include "ui/platform/paths.h"
#include "ui/platform/prompts.h"
#include "ui/platform/shared_file_dialogs.h"

namespace quorrel {

namespace {

const char* const kInstruction =
    "replace the 'z' above by your expression, use 'z' as the independent variable and A, B, "
    "C, D, or E (in this order!) as parameters. Enter a description below.";
const char* const kFileFilter = "Quorrel user function (*.fnc)";
const char* const kFileSuffix = "fnc";
constexpr int kMaxParameters = 5;
// The built-in rows and the user panel start under their radio button's text.
constexpr int kIndent = 22;

//! Keeps the cursor where the user left it when the text is already the one shown.
void ShowText(QLineEdit* edit, const std::string& text) {
  const QString shown = QString::fromStdString(text);
  if (edit->text() != shown) edit->setText(shown);
}

//! A control that keeps its place in the layout while hidden, so that switching the kind
//! does not make the dialog jump.
void KeepPlaceWhenHidden(QWidget* widget) {
  QSizePolicy policy = widget->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  widget->setSizePolicy(policy);
}

}  // namespace

TFunctionDlg::TFunctionDlg(FunctionSettings& function, SharedFileDialogs& files,
                           Prompts& prompts, HelpViewer& help, QWidget* parent)
    : QDialog(parent), function_(function), files_(files), prompts_(prompts), help_(help) {
  setObjectName("TFunctionDlg");
  setWindowTitle("Function");
  setModal(true);

  RBbuiltin = new QRadioButton("built in (high speed):");
  RBbuiltin->setObjectName("RBbuiltin");
  cbbFunction = new QComboBox;
  cbbFunction->setObjectName("cbbFunction");
  for (const BuiltInProfile& profile : BuiltInProfiles()) cbbFunction->addItem(profile.name);
  lblFunction = new QLabel;
  lblFunction->setObjectName("lblFunction");
  lblFunction->setTextInteractionFlags(Qt::TextSelectableByMouse);
  lblComment = new QLabel;
  lblComment->setObjectName("lblComment");
  lblComment->setWordWrap(true);
  for (QWidget* widget : std::initializer_list<QWidget*>{cbbFunction, lblFunction, lblComment}) {
    KeepPlaceWhenHidden(widget);
  }

  RBUser = new QRadioButton("user defined (low speed):");
  RBUser->setObjectName("RBUser");
  edtUserFunction = new QLineEdit;
  edtUserFunction->setObjectName("edtUserFunction");
  auto* instruction = new QLabel(kInstruction);
  instruction->setObjectName("lblInstruction");
  instruction->setWordWrap(true);
  edtComment = new QLineEdit;
  edtComment->setObjectName("edtComment");
  edtNumParameters = new QSpinBox;
  edtNumParameters->setObjectName("edtNumParameters");
  edtNumParameters->setRange(0, kMaxParameters);
  btnLoadFnc = new QToolButton;
  btnLoadFnc->setObjectName("btnLoadFnc");
  btnLoadFnc->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
  btnLoadFnc->setToolTip("load function");
  btnSaveFnc = new QToolButton;
  btnSaveFnc->setObjectName("btnSaveFnc");
  btnSaveFnc->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
  btnSaveFnc->setToolTip("save function");

  btnOK = new QPushButton("&OK");
  btnOK->setObjectName("btnOK");
  btnOK->setDefault(true);
  btnCANCEL = new QPushButton("&Cancel");
  btnCANCEL->setObjectName("btnCANCEL");
  btnHELP = new QPushButton("&Help");
  btnHELP->setObjectName("btnHELP");

  auto* builtInRow = new QHBoxLayout;
  builtInRow->addWidget(RBbuiltin);
  builtInRow->addWidget(cbbFunction, 1);
  auto* builtInTexts = new QVBoxLayout;
  builtInTexts->setContentsMargins(kIndent, 0, 0, 0);
  builtInTexts->addWidget(lblFunction);
  builtInTexts->addWidget(lblComment);

  auto* userPanel = new QFrame;
  userPanel->setObjectName("pnlUser");
  userPanel->setFrameShape(QFrame::StyledPanel);
  auto* user = new QGridLayout(userPanel);
  user->addWidget(new QLabel("f(z)="), 0, 0);
  user->addWidget(edtUserFunction, 0, 1);
  user->addWidget(instruction, 1, 1);
  user->addWidget(edtComment, 2, 1);
  auto* countRow = new QHBoxLayout;
  countRow->addWidget(new QLabel("number of parameter:"));
  countRow->addWidget(edtNumParameters);
  countRow->addStretch();
  countRow->addWidget(btnLoadFnc);
  countRow->addWidget(btnSaveFnc);
  user->addLayout(countRow, 3, 1);
  auto* userIndent = new QHBoxLayout;
  userIndent->setContentsMargins(kIndent, 0, 0, 0);
  userIndent->addWidget(userPanel);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnOK);
  buttons->addWidget(btnCANCEL);
  buttons->addWidget(btnHELP);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(builtInRow);
  layout->addLayout(builtInTexts);
  layout->addSpacing(8);
  layout->addWidget(RBUser);
  layout->addLayout(userIndent);
  layout->addStretch();
  layout->addLayout(buttons);
  setMinimumWidth(460);

  connect(RBbuiltin, &QRadioButton::toggled, this, [this](bool on) {
    if (on && !showing_) kindChosen(FunctionKind::BuiltIn);
  });
  connect(RBUser, &QRadioButton::toggled, this, [this](bool on) {
    if (on && !showing_) kindChosen(FunctionKind::UserDefined);
  });
  connect(cbbFunction, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (!showing_) functionChosen(index);
  });
  connect(edtUserFunction, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (!showing_) function_.expression = text.toStdString();
  });
  connect(edtComment, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (!showing_) function_.comment = text.toStdString();
  });
  connect(edtNumParameters, &QSpinBox::valueChanged, this, [this](int count) {
    if (!showing_) function_.numParameters = count;
  });
  connect(btnLoadFnc, &QToolButton::clicked, this, &TFunctionDlg::loadFunction);
  connect(btnSaveFnc, &QToolButton::clicked, this, &TFunctionDlg::saveFunction);
  connect(btnOK, &QPushButton::clicked, this, &TFunctionDlg::confirm);
  connect(btnCANCEL, &QPushButton::clicked, this, &QDialog::reject);
  connect(btnHELP, &QPushButton::clicked, this, [this] { help_.showTopic("functiondialog"); });
  BindHelpKey(*this, help_, help_context::kFunctionDialog);

  refresh();
}

void TFunctionDlg::refresh() {
  const QScopedValueRollback guard(showing_, true);
  const bool builtIn = function_.kind == FunctionKind::BuiltIn;
  RBbuiltin->setChecked(builtIn);
  RBUser->setChecked(!builtIn);

  const auto catalogue = BuiltInProfiles();
  const int index = function_.builtInIndex;
  const bool listed = index >= 0 && index < static_cast<int>(catalogue.size());
  cbbFunction->setCurrentIndex(listed ? index : -1);
  lblFunction->setText(listed ? catalogue[static_cast<std::size_t>(index)].formulaText : "");
  lblComment->setText(listed ? catalogue[static_cast<std::size_t>(index)].comment : "");

  ShowText(edtUserFunction, function_.expression);
  ShowText(edtComment, function_.comment);
  edtNumParameters->setValue(function_.numParameters);

  cbbFunction->setVisible(builtIn);
  lblFunction->setVisible(builtIn);
  lblComment->setVisible(builtIn);
  for (QWidget* control : std::initializer_list<QWidget*>{edtUserFunction, edtComment,
                                                         edtNumParameters, btnLoadFnc,
                                                         btnSaveFnc}) {
    control->setEnabled(!builtIn);
  }
}

void TFunctionDlg::kindChosen(FunctionKind kind) {
  function_.kind = kind;
  // Back to built-in: the listed function's parameter count applies again.
  if (kind == FunctionKind::BuiltIn) ChooseBuiltInFunction(function_, function_.builtInIndex);
  refresh();
}

void TFunctionDlg::functionChosen(int index) {
  ChooseBuiltInFunction(function_, index);
  refresh();
}

void TFunctionDlg::loadFunction() {
  // The open dialog stays in the folder of the data and model files.
  const auto file = files_.open("Load User Defined Function File", kFileFilter, kFileSuffix,
                                FolderRule::Keep);
  if (!file) return;
  try {
    LoadUserFunction(ToPath(*file), function_);
  } catch (const FileError& error) {
    prompts_.error(QString::fromStdString(error.what()));
  }
  // A bad count still leaves the comment and expression read before it.
  refresh();
}

void TFunctionDlg::saveFunction() {
  const auto file = files_.save("Save User Defined Function", kFileFilter, kFileSuffix);
  if (!file) return;
  try {
    SaveUserFunction(ToPath(*file), function_);
  } catch (const FileError& error) {
    prompts_.error(QString::fromStdString(error.what()));
  }
}

void TFunctionDlg::confirm() {
  ConfirmFunction(function_);
  accept();
}

}  // namespace quorrel
