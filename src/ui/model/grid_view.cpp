#include "ui/model/grid_view.h"

#include <algorithm>
#include <iterator>

#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <QWheelEvent>

#include "model/cell_values.h"

namespace quorrel {

namespace {

//! Cell editors hand over their text at every keystroke, so rules that follow a cell (and
//! the curves) keep up with the typing.
class TypingDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
      connect(line, &QLineEdit::textEdited, this, [this, line] {
        emit const_cast<TypingDelegate*>(this)->commitData(line);
      });
    }
    return editor;
  }
};

}  // namespace

GridView::GridView(TextGridModel& model, QWidget* parent) : QTableView(parent) {
  setModel(&model);
  setItemDelegate(new TypingDelegate(this));
  setEditTriggers(QAbstractItemView::AllEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setTabKeyNavigation(true);
  setMouseTracking(true);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  horizontalHeader()->setMinimumSectionSize(30);
  // Room for each heading: d, rho, Im(rho), sigma, R(mag), I(mag).
  const int widths[] = {64, 84, 100, 76, 70, 70};
  for (int column = 0; column < model.columnCount(); ++column) {
    setColumnWidth(column, widths[std::min<std::size_t>(column, std::size(widths) - 1)]);
  }
  verticalHeader()->setSectionsMovable(true);
  verticalHeader()->setDefaultSectionSize(22);
  verticalHeader()->setMinimumWidth(52);
  verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  viewport()->installEventFilter(this);
  verticalHeader()->viewport()->installEventFilter(this);
  connect(verticalHeader(), &QHeaderView::sectionMoved, this, &GridView::sectionMoved);
}

void GridView::wheelEvent(QWheelEvent* event) {
  if (!(event->modifiers() & Qt::ControlModifier)) {
    QTableView::wheelEvent(event);
    return;
  }
  // Some platforms turn Shift+wheel into a sideways turn.
  const QPoint turn = event->angleDelta();
  const int notches = (turn.y() != 0 ? turn.y() : turn.x()) / 120;
  const QModelIndex cell = indexAt(event->position().toPoint());
  event->accept();
  if (notches == 0 || !cell.isValid()) return;
  const double fraction = event->modifiers() & Qt::ShiftModifier ? 0.001 : 0.01;
  const std::optional<std::string> tuned =
      TunedCellText(cell.data(Qt::EditRole).toString().toStdString(), notches, fraction);
  if (tuned) model()->setData(cell, QString::fromStdString(*tuned), Qt::EditRole);
}

bool GridView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint position = mouse->position().toPoint();
    if (watched == viewport()) {
      const QModelIndex cell = indexAt(position);
      if (cell.isValid()) emit releasedOverRow(cell.row() + 1);
    } else if (watched == verticalHeader()->viewport()) {
      const int row = verticalHeader()->logicalIndexAt(position);
      if (row >= 0) {
        emit releasedOverRow(row + 1);
        if (mouse->button() == Qt::RightButton) {
          emit labelRightReleased(row + 1, mouse->globalPosition().toPoint());
        }
      }
    }
  }
  return QTableView::eventFilter(watched, event);
}

void GridView::sectionMoved(int /*logical*/, int oldVisual, int newVisual) {
  if (undoingMove_) return;
  // The header only shows the rows; the grid moves them, and the header returns to order.
  undoingMove_ = true;
  verticalHeader()->moveSection(newVisual, oldVisual);
  undoingMove_ = false;
  emit rowDragged(oldVisual + 1, newVisual + 1);
}

}  // namespace quorrel
