#pragma once
// The dialog "Edit Database": browses, adds, changes and deletes the records of the material
// table, elements and compounds on a page each. The rules live in MaterialEditing; the
// dialog shows its current record and turns the navigator's clicks into its operations.

#include <filesystem>
#include <functional>
#include <optional>

#include <QDialog>

#include "database/material_editing.h"
#include "database/material_table.h"

class QKeyEvent;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace quorrel {

class HelpViewer;
class Prompts;

class TMyDBEditDlg : public QDialog {
  Q_OBJECT

 public:
  //! `confirm` asks a yes/no question ("Delete record?") and says whether the answer is yes.
  TMyDBEditDlg(Prompts& prompts, HelpViewer& help, std::function<bool(const QString&)> confirm,
               QWidget* parent = nullptr);
  ~TMyDBEditDlg() override;

  //! Shows the table at `tablePath` for editing; returns when "&Done" (or the close box)
  //! closes it. A table that cannot be opened is reported and the dialog is not shown.
  int editTable(const std::filesystem::path& tablePath);

  //! Opens the table and shows its records on the current page, without waiting; closing
  //! the dialog closes the table. False, after telling the user, when it cannot be opened.
  bool openTable(const std::filesystem::path& tablePath);

  //! Closing stores a pending edit first; when the table refuses it, the dialog stays open
  //! with the edit, so that nothing typed is lost unseen.
  void done(int result) override;

 protected:
  //! While editing, Enter posts and Escape cancels the edit instead of closing the dialog.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  //! The edit boxes of one page; `ncharge` only on the Elements page.
  struct PageFields {
    QLineEdit* name = nullptr;
    QLineEdit* ncharge = nullptr;
    QLineEdit* weight = nullptr;
    QLineEdit* density = nullptr;
    QLineEdit* delta = nullptr;
    QLineEdit* beta = nullptr;
    QLineEdit* b_coh = nullptr;
    QLineEdit* abs_xs = nullptr;
    QPlainTextEdit* info1 = nullptr;
  };

  QWidget* makePage(const char* objectName, PageFields& fields, bool withCharge);
  QWidget* makeNavigator();
  //! The fields of the page whose kind is being edited.
  PageFields& shownFields();

  //! Runs one navigator operation on what the fields hold; a table failure is shown.
  template <typename Operation>
  bool run(Operation operation);
  void pageChanged();
  void removeRecord();
  void collectFields();
  //! Fills the fields and sets what can be edited and clicked.
  void showRecord();
  void closeTable();

  Prompts& prompts_;
  HelpViewer& help_;
  std::function<bool(const QString&)> confirm_;
  MaterialTable table_;
  std::optional<MaterialEditing> editing_;

  QTabWidget* PageControl1;
  QWidget* ElementSheet;
  QWidget* CompoundSheet;
  PageFields elementFields_;
  PageFields compoundFields_;
  QToolButton* btnFirst;
  QToolButton* btnPrior;
  QToolButton* btnNext;
  QToolButton* btnLast;
  QToolButton* btnInsert;
  QToolButton* btnDelete;
  QToolButton* btnEdit;
  QToolButton* btnPost;
  QToolButton* btnCancel;
  QToolButton* btnRefresh;
  QLineEdit* ID;
  QPushButton* OKBtn;
  QPushButton* HelpBtn;
};

}  // namespace quorrel
