#include "ui/plot/graph_window.h"

#include <QVBoxLayout>

namespace quorrel {

GraphWindow::GraphWindow(const QString& caption, int helpContext, QWidget* parent)
    : QWidget(parent), xyGraph1(new XyGraph) {
  setWindowTitle(caption);
  setProperty("helpContext", helpContext);
  xyGraph1->setObjectName("xyGraph1");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(xyGraph1);
  xyGraph1->setLeftMargin(50);
  xyGraph1->setYTitleOffset(20);
  connect(xyGraph1, &XyGraph::mouseMoved, this, &GraphWindow::mouseMovedOverGraph);
  resize(480, 320);
}

void GraphWindow::mouseMovedOverGraph(QPointF pixel) {
  if (!xyGraph1->isVisible()) return;
  std::optional<DataPoint> point;
  if (const std::optional<QPointF> converted = xyGraph1->pixelToData(pixel)) {
    point = DataPoint{converted->x(), converted->y()};
  }
  emit statusText(QString::fromStdString(readout(point)));
}

}  // namespace quorrel
