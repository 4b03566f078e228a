#pragma once
// The model editor's window; for now it shows the current model without editing it.

#include <QWidget>

#include "model/sample_model.h"

class QLabel;
class QRadioButton;
class QTableWidget;
class QGroupBox;

namespace quorrel {

class TfrmModel : public QWidget {
  Q_OBJECT

 public:
  explicit TfrmModel(QWidget* parent = nullptr);

  //! Shows the sample type, the layer table and, for multiple layers, the stack.
  void showModel(const SampleModel& model);
  //! The width of the sample type panel, which the window arrangement leaves room for.
  int topPanelWidth() const;

  //! The window's fixed width.
  static constexpr int kWidth = 570;

 private:
  QGroupBox* TopPanel;
  QRadioButton* RBIndep;
  QRadioButton* RBFunction;
  QRadioButton* RBMulti;
  QRadioButton* RBSymFilm;
  QLabel* lblCounts;
  QTableWidget* BaseGrid;
  QLabel* lblStack;
  QTableWidget* MLGrid;
};

}  // namespace quorrel
