#include "ui/model/text_grid_model.h"

#include <QColor>

#include "common/number_format.h"
#include "model/sample_model.h"

namespace quorrel {

namespace {

//! A light red that keeps the cell's text readable.
const QColor kUnreadableColour(255, 170, 170);

}  // namespace

TextGridModel::TextGridModel(const TextGrid& grid, CellEdit edit, QObject* parent)
    : QAbstractTableModel(parent),
      grid_(grid),
      edit_(std::move(edit)),
      shownRows_(grid.rowCount() - 1) {}

int TextGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : shownRows_;
}

int TextGridModel::columnCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return grid_.columnCount() - 1 + (angleShown_ ? 1 : 0);
}

QVariant TextGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  if (role == Qt::BackgroundRole) {
    if (unreadable_ == std::pair{index.row() + 1, index.column() + 1}) return kUnreadableColour;
    return {};
  }
  if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
  const std::string& text = grid_.cell(index.row() + 1, index.column() + 1);
  if (text.empty() && index.column() + 1 == kColThetaM) {
    return QString::fromStdString(FormatGeneral(kDefaultThetaM));
  }
  return QString::fromStdString(text);
}

QVariant TextGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Horizontal) {
    if (section + 1 == kColThetaM) return QString(kThetaMHeader);
    return QString::fromStdString(grid_.cell(0, section + 1));
  }
  return QString::fromStdString(grid_.cell(section + 1, 0));
}

Qt::ItemFlags TextGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool TextGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole) return false;
  const std::string text = value.toString().toStdString();
  // Leaving a cell as it was shown (an empty angle shows its default) changes nothing.
  if (data(index, Qt::EditRole).toString().toStdString() == text) return true;
  edit_(index.row() + 1, index.column() + 1, text);
  cellsChanged();
  return true;
}

void TextGridModel::showAngleColumn(bool shown) {
  if (shown == angleShown_) return;
  const int column = kColThetaM - 1;
  if (shown) {
    beginInsertColumns({}, column, column);
    angleShown_ = true;
    endInsertColumns();
  } else {
    beginRemoveColumns({}, column, column);
    angleShown_ = false;
    endRemoveColumns();
  }
}

void TextGridModel::markUnreadable(std::optional<std::pair<int, int>> cell) {
  if (cell == unreadable_) return;
  unreadable_ = cell;
  cellsChanged();
}

void TextGridModel::cellsChanged() {
  if (shownRows_ == 0) return;
  emit dataChanged(index(0, 0), index(shownRows_ - 1, columnCount() - 1));
  emit headerDataChanged(Qt::Vertical, 0, shownRows_ - 1);
  emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void TextGridModel::rowsChanged() {
  const int rows = grid_.rowCount() - 1;
  if (rows == shownRows_) {
    cellsChanged();
    return;
  }
  beginResetModel();
  shownRows_ = rows;
  endResetModel();
}

}  // namespace quorrel
