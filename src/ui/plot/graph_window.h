#pragma once
// A child window of the main window that shows one graph and reads the mouse out into the
// status bar.

#include <optional>
#include <string>

#include <QWidget>

#include "graph/xy_graph.h"
#include "shell/status_texts.h"

namespace quorrel {

class GraphWindow : public QWidget {
  Q_OBJECT

 public:
  XyGraph& graph() { return *xyGraph1; }
  const XyGraph& graph() const { return *xyGraph1; }

 signals:
  void statusText(const QString& text);

 protected:
  GraphWindow(const QString& caption, int helpContext, QWidget* parent);
  //! The status text for the mouse at a data point, or at none when the conversion failed.
  virtual std::string readout(std::optional<DataPoint> point) const = 0;

  XyGraph* xyGraph1;

 private:
  void mouseMovedOverGraph(QPointF pixel);
};

}  // namespace quorrel
