#pragma once
// The measurements panel: the data sets fitted together, with their label, file, scale,
// background and contrast overrides, to add, remove and edit.

#include <functional>
#include <vector>

#include <QDockWidget>

#include "model/measurement.h"
#include "model/sample_model.h"

class QPushButton;
class QTableWidget;

namespace quorrel {

class MeasurementsPanel : public QDockWidget {
  Q_OBJECT

 public:
  explicit MeasurementsPanel(QWidget* parent = nullptr);

  //! Shows `measurements`; `model` names the overridden entries.
  void show(const std::vector<Measurement>& measurements, const SampleModel& model);

 signals:
  //! The user changed the list: the measurements as the panel now holds them, and what the
  //! change was ("editing D2O", "removing H2O").
  void edited(const std::vector<quorrel::Measurement>& measurements, const QString& what);
  //! "Add..." was pressed.
  void addRequested();
  //! A value that cannot be taken, with the reason.
  void refused(const QString& message);

 private:
  void cellEdited(int row, int column);
  void removeSelected();

  QTableWidget* table_;
  QPushButton* btnAdd_;
  QPushButton* btnRemove_;
  std::vector<Measurement> measurements_;
  SampleModel model_;
  bool showing_ = false;
};

}  // namespace quorrel
