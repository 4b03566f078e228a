// How long the reflectivity window keeps the user-interface thread busy with a large curve:
// 100 000 measured points and a calculated curve at each of them, plotted, drawn, read out
// under the mouse and picked with Ctrl+click. Runs the real window off screen; prints one line
// per step with the best and the worst of several runs.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>

#include "calc/curves.h"
#include "model/measured_data.h"
#include "ui/platform/headless_prompts.h"
#include "ui/plot/reflectivity_window.h"

namespace quorrel {
namespace {

constexpr int kPoints = 100000;

MeasuredData LargeData() {
  MeasuredData data;
  data.fileName = "large.dat";
  for (int i = 0; i < kPoints; ++i) {
    const double q = 0.005 + 0.295 * i / (kPoints - 1);
    // A fringed decay with scatter, so that every pixel column holds a spread of values.
    const double r = 1e-8 / (q * q * q * q) * (1.2 + std::sin(q * 600.0)) * (1 + 0.1 * (i % 7));
    data.qz.push_back(q);
    data.r.push_back(std::min(r, 1.0));
    data.dr.push_back(0.05 * data.r.back());
  }
  data.fitRegionLow = data.qz.front();
  data.fitRegionHigh = data.qz.back();
  return data;
}

ReflectivityResult CurveAt(const MeasuredData& data) {
  ReflectivityResult result;
  for (std::size_t i = 0; i < data.qz.size(); ++i) {
    const double q = data.qz[i];
    const double r = std::min(1e-8 / (q * q * q * q) * (1.2 + std::sin(q * 600.0)), 1.0);
    result.plain.append(q, r);
    result.ranges.takePoint(q, r);
    result.ranges.takePoint(q, data.r[i]);
  }
  return result;
}

//! Best and worst milliseconds of `step` over `repeats` runs; pending events are handled
//! after each run, outside the time.
void Report(const char* name, int repeats, const std::function<void()>& step) {
  double best = 1e9;
  double worst = 0;
  for (int i = 0; i < repeats; ++i) {
    QElapsedTimer clock;
    clock.start();
    step();
    const double ms = clock.nsecsElapsed() / 1e6;
    best = std::min(best, ms);
    worst = std::max(worst, ms);
    QCoreApplication::processEvents();
  }
  std::printf("%-58s %8.2f .. %8.2f ms, %d runs\n", name, best, worst, repeats);
}

void Move(QWidget* area, QPoint at) {
  QMouseEvent move(QEvent::MouseMove, at, area->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(area, &move);
}

void CtrlClick(QWidget* area, QPoint at) {
  QMouseEvent press(QEvent::MouseButtonPress, at, area->mapToGlobal(at), Qt::LeftButton,
                    Qt::LeftButton, Qt::ControlModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, at, area->mapToGlobal(at), Qt::LeftButton,
                      Qt::NoButton, Qt::ControlModifier);
  QApplication::sendEvent(area, &press);
  QApplication::sendEvent(area, &release);
}

}  // namespace
}  // namespace quorrel

int main(int argc, char* argv[]) {
  using namespace quorrel;
  QApplication app(argc, argv);
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  HeadlessPrompts prompts;
  MeasuredData data = LargeData();
  const ReflectivityResult result = CurveAt(data);
  TfrmPlot window(data, prompts);
  window.resize(900, 600);
  window.show();
  QCoreApplication::processEvents();
  QWidget* area = window.graph().findChild<QWidget*>("plotArea");

  Report("100 000 measured points plotted and drawn", 5, [&] {
    window.showMeasuredData();
    window.repaint();
  });
  std::printf("%-58s %8zu of %d\n", "measured points drawn", window.graph().drawnPoints(0).size(),
              kPoints);
  Report("a curve of 100 000 points plotted and drawn", 5, [&] {
    window.showReflectivity(result);
    window.repaint();
  });
  Report("the fit's newest curve of 100 000 points drawn", 5, [&] {
    window.showFitCurve(result.plain);
    window.repaint();
  });
  window.setPlotChoices({.view = ReflectivityView::RQz4, .residuals = true});
  Report("the same in the view R·Qz^4 with the residuals strip", 5, [&] {
    window.showFitCurve(result.plain);
    window.repaint();
  });
  std::printf("%-58s %8zu of %d\n", "residuals drawn", window.graph().drawnResiduals().size(),
              kPoints);
  window.setPlotChoices({});
  Report("window resized and drawn", 5, [&] {
    window.resize(window.width() == 900 ? 880 : 900, 600);
    window.repaint();
  });
  int x = 100;
  Report("mouse read-out in the status bar", 20, [&] {
    Move(area, QPoint(x, 200));
    x = x == 100 ? 400 : 100;
  });
  Report("Ctrl+click picks the nearest of 100 000 points", 10, [&] {
    CtrlClick(area, QPoint(x, 200));
    window.repaint();
    x = x == 100 ? 400 : 100;
  });
  return 0;
}
