#pragma once
// A grid of the model editor on screen: editable cells that commit while they are typed,
// row labels in the left column that can be dragged to move rows, and the mouse releases
// that make a row current or open the popup menu.

#include <QTableView>

#include "ui/model/text_grid_model.h"

namespace quorrel {

class GridView : public QTableView {
  Q_OBJECT

 public:
  GridView(TextGridModel& model, QWidget* parent = nullptr);

 signals:
  //! A mouse button was released over data row `row` (counted as in the grid, from 1).
  void releasedOverRow(int row);
  //! The right button was released over the label of data row `row`, at `globalPos`.
  void labelRightReleased(int row, QPoint globalPos);
  //! A row label was dragged from data row `from` to data row `to`.
  void rowDragged(int from, int to);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  //! Ctrl+wheel over a numeric cell tunes its value by 1 % a notch, with Shift by 0.1 %.
  void wheelEvent(QWheelEvent* event) override;

 private:
  void sectionMoved(int logical, int oldVisual, int newVisual);
  bool undoingMove_ = false;
};

}  // namespace quorrel
