#pragma once
// The dialog "Function": chooses the profile function of the analytical profile type, a
// built-in one from the catalogue or a user expression in z and A .. E.

#include <QDialog>

#include "model/function_settings.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QToolButton;

namespace quorrel {

class HelpViewer;
class Prompts;
class SharedFileDialogs;

class TFunctionDlg : public QDialog {
  Q_OBJECT

 public:
  //! Edits `function` in place: the kind and the built-in choice take effect as they are
  //! made, also when the dialog is then cancelled.
  TFunctionDlg(FunctionSettings& function, SharedFileDialogs& files, Prompts& prompts,
               HelpViewer& help, QWidget* parent = nullptr);

  //! Shows `function` again, after something else (a model file) has changed it.
  void refresh();

 private:
  void kindChosen(FunctionKind kind);
  void functionChosen(int index);
  void loadFunction();
  void saveFunction();
  void confirm();

  FunctionSettings& function_;
  SharedFileDialogs& files_;
  Prompts& prompts_;
  HelpViewer& help_;
  //! Set while the controls are being filled from `function_`, so that their change
  //! signals are not taken for the user's edits.
  bool showing_ = false;

  QRadioButton* RBbuiltin;
  QRadioButton* RBUser;
  QComboBox* cbbFunction;
  QLabel* lblFunction;
  QLabel* lblComment;
  QLineEdit* edtUserFunction;
  QLineEdit* edtComment;
  QSpinBox* edtNumParameters;
  QToolButton* btnLoadFnc;
  QToolButton* btnSaveFnc;
  QPushButton* btnOK;
  QPushButton* btnCANCEL;
  QPushButton* btnHELP;
};

}  // namespace quorrel
