#pragma once
// The import dialog: the first lines of a plain text table, what each column holds, the units,
// and the points they give, before the user accepts them.

#include <optional>
#include <vector>

#include <QDialog>

#include "files/column_import.h"
#include "ui/widgets/numeric_edit.h"

class QComboBox;
class QDialogButtonBox;
class QHBoxLayout;
class QLabel;
class QPlainTextEdit;
class QTableWidget;

namespace quorrel {

class HelpViewer;

class TImportDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TImportDlg(HelpViewer& help, QWidget* parent = nullptr);
  ~TImportDlg() override;

  //! Shows `table` with `remembered` as the starting choice; the mapping once accepted.
  std::optional<ColumnMapping> ask(const TextTable& table, const ColumnMapping& remembered);

  //! Fills the dialog without running it (ask() does this first).
  void present(const TextTable& table, const ColumnMapping& remembered);
  //! The mapping the controls show.
  ColumnMapping mapping() const;

 private:
  //! Converts the table under the current mapping into the preview and the summary.
  void showPoints();

  const TextTable* table_ = nullptr;
  bool showing_ = false;
  QPlainTextEdit* memLines = nullptr;
  QHBoxLayout* columnRow_ = nullptr;
  std::vector<QComboBox*> columns_;
  QComboBox* cbQUnit = nullptr;
  QComboBox* cbSqzWidth = nullptr;
  TRealEdit* edtXrayWavelength = nullptr;
  QTableWidget* gridPreview = nullptr;
  QLabel* lblSummary = nullptr;
  QDialogButtonBox* buttons_ = nullptr;
};

}  // namespace quorrel
