#include <algorithm>

#include <qcustomplot.h>

#include "graph/xy_graph.h"

// Filled bands between two curves: the spread of a posterior's curves around the fit.

namespace quorrel {

void XyGraph::setCurveBand(int band, const std::vector<double>& x,
                           const std::vector<double>& lower, const std::vector<double>& upper,
                           QColor color) {
  CurveBand& shown = curveBands_[band];
  if (shown.lower == nullptr) {
    shown.lower = plot_->addGraph();
    shown.upper = plot_->addGraph();
    for (QCPGraph* edge : {shown.lower, shown.upper}) {
      edge->setLayer("grid");
      edge->removeFromLegend();
      edge->setSelectable(QCP::stNone);
    }
    shown.upper->setChannelFillGraph(shown.lower);
  }
  QColor edge = color;
  edge.setAlpha(std::min(255, color.alpha() * 2));
  shown.lower->setPen(QPen(edge, 0.5));
  shown.upper->setPen(QPen(edge, 0.5));
  shown.upper->setBrush(color);
  shown.x = x;
  shown.low = lower;
  shown.high = upper;
  changed();
}

void XyGraph::clearCurveBands() {
  for (const auto& [number, band] : curveBands_) {
    plot_->removeGraph(band.lower);
    plot_->removeGraph(band.upper);
  }
  curveBands_.clear();
  changed();
}

void XyGraph::drawCurveBands() {
  for (const auto& [number, band] : curveBands_) {
    QVector<double> x(band.x.begin(), band.x.end()), low, high;
    for (std::size_t i = 0; i < band.x.size(); ++i) {
      const double factor = valueScale_ ? valueScale_(band.x[i]) : 1.0;
      low.push_back(band.low[i] * factor);
      high.push_back(band.high[i] * factor);
    }
    band.lower->setData(x, low, true);
    band.upper->setData(x, high, true);
  }
}

}  // namespace quorrel
