#pragma once
// A grid of the model editor as a Qt table: row 0 of the grid gives the column headings,
// column 0 the row labels, and the other cells are the table's items.

#include <functional>
#include <optional>
#include <string>
#include <utility>

#include <QAbstractTableModel>

#include "model/text_grid.h"

namespace quorrel {

class TextGridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  //! An edit of cell (row, column), both counted as in the grid. The grid may change in more
  //! cells than the edited one (identical sigmas), so every edit refreshes the whole table.
  using CellEdit = std::function<void(int row, int column, const std::string& text)>;

  TextGridModel(const TextGrid& grid, CellEdit edit, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  //! The grid's cells changed.
  void cellsChanged();
  //! The grid's number of rows may have changed.
  void rowsChanged();
  //! Shows or hides the angle column theta(mag) after the grid's columns; an empty angle
  //! shows as the default it stands for.
  void showAngleColumn(bool shown);
  bool angleColumnShown() const { return angleShown_; }
  //! Marks the cell (row, column) of the grid as one that cannot be read; none unmarks.
  void markUnreadable(std::optional<std::pair<int, int>> cell);
  std::optional<std::pair<int, int>> unreadableCell() const { return unreadable_; }

 private:
  std::optional<std::pair<int, int>> unreadable_;
  const TextGrid& grid_;
  CellEdit edit_;
  int shownRows_;
  bool angleShown_ = false;
};

}  // namespace quorrel
