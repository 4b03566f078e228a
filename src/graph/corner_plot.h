#pragma once
// The corner plot of a sampled posterior: each value's histogram on the diagonal and every
// pair's samples below it, the values named along the bottom row and the left column.

#include <span>

#include <QSize>
#include <QString>
#include <QStringList>
#include <QWidget>

class QCustomPlot;

namespace quorrel {

class CornerPlot : public QWidget {
  Q_OBJECT

 public:
  explicit CornerPlot(QWidget* parent = nullptr);
  ~CornerPlot() override;

  //! `rows` holds samples x names.size() numbers, one sample after the other. A long chain's
  //! pair plots show an evenly spaced subset of its samples; the histograms count every one.
  void setSamples(const QStringList& names, std::span<const double> rows);
  int valueCount() const { return static_cast<int>(names_.size()); }

  //! Writes the plot to a picture file whose extension says its kind: ".pdf" and ".svg" as
  //! vector drawings of `size` points, ".png" as `size` pixels. False when the kind is unknown
  //! or the file could not be written.
  bool saveTo(const QString& fileName, QSize size);

 private:
  QCustomPlot* plot_;
  QStringList names_;
};

}  // namespace quorrel
