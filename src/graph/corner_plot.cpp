#include "graph/corner_plot.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <qcustomplot.h>
#include <QVBoxLayout>

#include "graph/plot_files.h"

namespace quorrel {

namespace {

constexpr int kBins = 30;
// More dots than this make a pair plot a blot and its drawing slow.
constexpr std::size_t kMostDots = 4000;

struct Range {
  double low = 0.0;
  double high = 1.0;
};

Range RangeOf(const std::vector<double>& values) {
  const auto [low, high] = std::minmax_element(values.begin(), values.end());
  Range range{*low, *high};
  if (!(range.high > range.low)) {
    const double pad = range.low == 0.0 ? 1.0 : std::abs(range.low) * 1e-3;
    range = {range.low - pad, range.high + pad};
  }
  return range;
}

void StyleAxes(QCPAxisRect* rect, const Range& x, bool showX, const QString& xName,
               bool showY, const QString& yName) {
  QCPAxis* bottom = rect->axis(QCPAxis::atBottom);
  QCPAxis* left = rect->axis(QCPAxis::atLeft);
  bottom->setRange(x.low, x.high);
  bottom->ticker()->setTickCount(3);
  left->ticker()->setTickCount(3);
  bottom->setTickLabels(showX);
  left->setTickLabels(showY);
  if (showX) bottom->setLabel(xName);
  if (showY) left->setLabel(yName);
  QFont font = bottom->tickLabelFont();
  font.setPointSize(7);
  bottom->setTickLabelFont(font);
  left->setTickLabelFont(font);
  bottom->setTickLabelRotation(30);
}

}  // namespace

CornerPlot::CornerPlot(QWidget* parent) : QWidget(parent), plot_(new QCustomPlot(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(plot_);
  plot_->plotLayout()->clear();
  setMinimumSize(320, 320);
}

CornerPlot::~CornerPlot() = default;

void CornerPlot::setSamples(const QStringList& names, std::span<const double> rows) {
  names_ = names;
  plot_->clearPlottables();
  plot_->plotLayout()->clear();
  const std::size_t n = static_cast<std::size_t>(names.size());
  if (n == 0 || rows.size() < n) {
    plot_->replot();
    return;
  }
  const std::size_t samples = rows.size() / n;
  std::vector<std::vector<double>> columns(n);
  for (std::size_t j = 0; j < n; ++j) {
    columns[j].reserve(samples);
    for (std::size_t s = 0; s < samples; ++s) columns[j].push_back(rows[s * n + j]);
  }
  std::vector<Range> ranges;
  for (const auto& column : columns) ranges.push_back(RangeOf(column));
  const std::size_t stride = std::max<std::size_t>(1, samples / kMostDots);
  const QColor ink(31, 87, 153);
  for (std::size_t row = 0; row < n; ++row) {
    for (std::size_t col = 0; col <= row; ++col) {
      auto* rect = new QCPAxisRect(plot_);
      rect->setAutoMargins(QCP::msLeft | QCP::msBottom);
      rect->setMargins(QMargins(0, 4, 4, 0));
      plot_->plotLayout()->addElement(static_cast<int>(row), static_cast<int>(col), rect);
      const bool bottomRow = row + 1 == n;
      StyleAxes(rect, ranges[col], bottomRow, names[static_cast<int>(col)],
                col == 0 && row > 0, names[static_cast<int>(row)]);
      QCPAxis* x = rect->axis(QCPAxis::atBottom);
      QCPAxis* y = rect->axis(QCPAxis::atLeft);
      if (row == col) {
        // The histogram as a step line over its bins.
        const Range& r = ranges[col];
        const double width = (r.high - r.low) / kBins;
        std::vector<double> counts(kBins, 0.0);
        for (const double v : columns[col]) {
          const int bin = std::clamp(static_cast<int>((v - r.low) / width), 0, kBins - 1);
          counts[static_cast<std::size_t>(bin)] += 1.0;
        }
        auto* bars = new QCPBars(x, y);
        QVector<double> keys, values;
        for (int b = 0; b < kBins; ++b) {
          keys.push_back(r.low + (b + 0.5) * width);
          values.push_back(counts[static_cast<std::size_t>(b)]);
        }
        bars->setData(keys, values, true);
        bars->setWidth(width);
        bars->setPen(QPen(ink));
        bars->setBrush(QColor(ink.red(), ink.green(), ink.blue(), 90));
        y->setRange(0, *std::max_element(counts.begin(), counts.end()) * 1.08);
        y->setTickLabels(false);
      } else {
        auto* dots = new QCPGraph(x, y);
        QVector<double> keys, values;
        for (std::size_t s = 0; s < samples; s += stride) {
          keys.push_back(columns[col][s]);
          values.push_back(columns[row][s]);
        }
        dots->setData(keys, values);
        dots->setLineStyle(QCPGraph::lsNone);
        dots->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc,
                                              QColor(ink.red(), ink.green(), ink.blue(), 60),
                                              2.5));
        dots->setAdaptiveSampling(false);
        y->setRange(ranges[row].low, ranges[row].high);
      }
    }
  }
  plot_->replot();
}

bool CornerPlot::saveTo(const QString& fileName, QSize size) {
  return SavePlot(*plot_, fileName, size, "posterior");
}

}  // namespace quorrel
