#include "graph/plot_files.h"

#include <qcustomplot.h>
#include <QFileInfo>
#include <QSvgGenerator>

namespace quorrel {

bool SavePlot(QCustomPlot& plot, const QString& fileName, QSize size, const QString& title) {
  const QString kind = QFileInfo(fileName).suffix().toLower();
  if (kind == "pdf") return plot.savePdf(fileName, size.width(), size.height());
  if (kind == "png") return plot.savePng(fileName, size.width(), size.height());
  if (kind != "svg") return false;
  QSvgGenerator svg;
  svg.setFileName(fileName);
  svg.setSize(size);
  svg.setViewBox(QRect(QPoint(0, 0), size));
  svg.setTitle(title);
  QCPPainter painter(&svg);
  if (!painter.isActive()) return false;
  painter.setMode(QCPPainter::pmVectorized);
  plot.toPainter(&painter, size.width(), size.height());
  painter.end();
  return QFileInfo(fileName).size() > 0;
}

}  // namespace quorrel
