// How quickly the program answers "calculate reflectivity": the time from the command to the
// curve drawn, and the longest time the user-interface thread is blocked meanwhile. Runs the
// real main window off screen; prints one line per case.

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>

#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QWheelEvent>

#include "bench_models.h"
#include "calc/point_background.h"
#include "calc/point_resolution.h"
#include "calc/reflectivity_run.h"
#include "files/curve_files.h"
#include "ui/fit/fit_dialog.h"
#include "ui/plot/reflectivity_window.h"
#include "ui/model/model_window.h"
#include "shell/command_line.h"
#include "ui/calc/calculation_runner.h"
#include "ui/calc/live_recalculation.h"
#include "ui/main/main_window.h"
#include "ui/platform/desktop_services.h"
#include "ui/platform/headless_prompts.h"
#include "ui/platform/qt_settings_store.h"

namespace quorrel {
namespace {

struct Timing {
  double toCurveMs = 0;
  double longestBlockMs = 0;
  double commandMs = 0;
};

//! One "calculate reflectivity" from the command to the curve drawn. A timer that fires
//! every millisecond measures the longest gap between its ticks: the longest time the
//! event loop could not run.
Timing Measure(TForm1& window) {
  Timing timing;
  QElapsedTimer clock;
  QElapsedTimer sinceTick;
  QTimer ticker;
  ticker.setInterval(1);
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    timing.longestBlockMs = std::max(timing.longestBlockMs, sinceTick.nsecsElapsed() / 1e6);
    sinceTick.restart();
  });
  QEventLoop loop;
  // Connected after the window's own handler, so it runs once the curve is drawn.
  const auto connection = QObject::connect(
      &window.calculations(), &CalculationRunner::reflectivityReady, [&] {
        timing.toCurveMs = clock.nsecsElapsed() / 1e6;
        loop.quit();
      });
  ticker.start();
  sinceTick.start();
  clock.start();
  window.calculateReflectivity();
  timing.commandMs = clock.nsecsElapsed() / 1e6;
  loop.exec();
  // The handler that drew the curve ran on this thread too: count it in.
  timing.longestBlockMs = std::max(timing.longestBlockMs, sinceTick.nsecsElapsed() / 1e6);
  ticker.stop();
  QObject::disconnect(connection);
  return timing;
}

//! An edit of a cell of the layer table (`edit` changes it as the user does) to the
//! recalculated curve handed to the reflectivity window, which draws it at once: the editor
//! hands over every keystroke, and the curves follow at once when the last calculation was
//! fast, else after the editing pause.
double MeasureCellEdit(TForm1& window, const std::function<void()>& edit) {
  QElapsedTimer clock;
  QEventLoop loop;
  double toCurveMs = 0;
  const auto connection = QObject::connect(
      &window.calculations(), &CalculationRunner::reflectivityReady, [&] {
        toCurveMs = clock.nsecsElapsed() / 1e6;
        loop.quit();
      });
  clock.start();
  edit();
  loop.exec();
  QObject::disconnect(connection);
  // Let the profile that was requested with it finish before the next case.
  while (window.calculations().running() > 0) QCoreApplication::processEvents();
  return toCurveMs;
}

void ReportTyping(const char* name, TForm1& window, int row, int column) {
  auto* view = window.modelWindow().findChild<QTableView*>("BaseGrid");
  QAbstractItemModel* cells = view->model();
  const QModelIndex cell = cells->index(row - 1, column - 1);
  double best = 1e9;
  double worst = 0;
  for (int i = 0; i < 10; ++i) {
    const double ms = MeasureCellEdit(
        window, [&] { cells->setData(cell, QString::number(20.5 + i)); });
    best = std::min(best, ms);
    worst = std::max(worst, ms);
  }
  std::printf("%-44s typed cell to curve %7.1f .. %7.1f ms\n", name, best, worst);
  const QPoint at = view->visualRect(cell).center();
  best = 1e9;
  worst = 0;
  for (int i = 0; i < 10; ++i) {
    const double ms = MeasureCellEdit(window, [&] {
      QWheelEvent wheel(at, view->viewport()->mapToGlobal(at), QPoint(), QPoint(0, 120),
                        Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
      QApplication::sendEvent(view->viewport(), &wheel);
    });
    best = std::min(best, ms);
    worst = std::max(worst, ms);
  }
  std::printf("%-44s Ctrl+wheel notch to curve %7.1f .. %7.1f ms\n", name, best, worst);
}

//! The fit of two period thicknesses of the multilayer example, started 14 % off, through
//! the dialog as a user runs it.
void ReportFit(TForm1& window) {
  window.loadDataFile(QUORREL_EXAMPLES "/multilayer_measured.dat");
  window.loadModelFile(QUORREL_EXAMPLES "/multilayer.par");
  window.state().model.mlGrid.setCell(1, kColThickness, "80");
  window.state().model.mlGrid.setCell(2, kColThickness, "60");
  window.fitSession().setIncludeResolution(true);
  window.fitSession().setIncludeBackground(true);
  TFitDlg& dialog = window.fitDialog();
  dialog.showOptions();
  dialog.present(window.state().model, FitDataFor(window.state().settings, window.state().data));
  auto* list = dialog.findChild<QListWidget*>("CheckListBox1");
  list->item(9)->setCheckState(Qt::Checked);
  list->item(13)->setCheckState(Qt::Checked);
  QEventLoop loop;
  FitOutcome outcome;
  QObject::connect(&dialog, &TFitDlg::runFinished, [&](const FitOutcome& ended) {
    outcome = ended;
    loop.quit();
  });
  QElapsedTimer clock;
  clock.start();
  dialog.findChild<QPushButton*>("btn1iter")->click();
  loop.exec();
  const double ms = clock.nsecsElapsed() / 1e6;
  std::printf("%-44s fit through the dialog %7.1f ms, %lld chi-square evaluations, d = %s\n",
              "examples/multilayer.par, d_ML1 and d_ML2", ms, outcome.evaluations,
              qPrintable(list->item(9)->text() + ", " + list->item(13)->text()));
  dialog.findChild<QPushButton*>("CancelBtn")->click();
}

void Report(const char* name, TForm1& window, int repeats) {
  Timing best{1e9, 1e9, 1e9};
  Timing worst;
  for (int i = 0; i < repeats; ++i) {
    const Timing t = Measure(window);
    best = {std::min(best.toCurveMs, t.toCurveMs), std::min(best.longestBlockMs, t.longestBlockMs),
            std::min(best.commandMs, t.commandMs)};
    worst = {std::max(worst.toCurveMs, t.toCurveMs),
             std::max(worst.longestBlockMs, t.longestBlockMs),
             std::max(worst.commandMs, t.commandMs)};
  }
  std::printf("%-44s command to curve %7.1f .. %7.1f ms, UI thread blocked at most %5.1f .. "
              "%5.1f ms (the command itself %.2f .. %.2f ms), %d runs\n",
              name, best.toCurveMs, worst.toCurveMs, best.longestBlockMs, worst.longestBlockMs,
              best.commandMs, worst.commandMs, repeats);
}

//! The road of a data set of 100 000 points (an ORSO file) through the window: loading and
//! plotting it, the curve at its points, a fit of one thickness, the curve file and the
//! clipboard.
void ReportLargeData(TForm1& window, const QString& folder) {
  const QString path = folder + "/large.ort";
  {
    std::ofstream out(path.toStdString());
    out << "# # ORSO reflectivity data file | 1.0 standard | YAML encoding | x\n"
           "# columns:\n# - {name: Qz, unit: 1/angstrom}\n# - {name: R}\n# - {error_of: R}\n"
           "# - {error_of: Qz}\n";
    for (int i = 0; i < 100000; ++i) {
      const double q = 0.005 + 0.295 * i / 99999;
      out << q << ' ' << 1e-8 / (q * q * q * q) << ' ' << 1e-9 << ' ' << 0.0212 * q << '\n';
    }
  }
  window.loadModelFile(QUORREL_EXAMPLES "/multilayer.par");
  window.state().settings.resolutionFromData = true;
  QElapsedTimer clock;
  clock.start();
  window.loadDataFile(path);
  const double loadMs = clock.nsecsElapsed() / 1e6;
  while (window.calculations().running() > 0) QCoreApplication::processEvents();
  std::printf("%-44s load and plot %7.1f ms\n", "100 000 points (.ort)", loadMs);
  Report("100 000 points, nine-point kernel", window, 3);
  window.state().settings.smearing = SmearingKernel::Accurate;
  Report("100 000 points, accurate kernel", window, 3);

  QMdiSubWindow* plot = window.frameOf(window.plotWindow());
  plot->mdiArea()->setActiveSubWindow(plot);
  clock.restart();
  window.copyData();
  std::printf("%-44s copy data %7.1f ms\n", "100 000 points", clock.nsecsElapsed() / 1e6);
  clock.restart();
  WriteReflectivityFile((folder + "/large_curve.dat").toStdString(),
                        RunReflectivityCalculation(window.state().model, window.state().settings,
                                                   window.state().data),
                        false, false);
  std::printf("%-44s curve computed and written %7.1f ms\n", "100 000 points",
              clock.nsecsElapsed() / 1e6);

  FitSession& session = window.fitSession();
  FitData measured = FitDataFor(window.state().settings, window.state().data);
  session.setIncludeResolution(true);
  session.setRunMode(RunMode::IterateToMinimum);
  session.open(window.state().model, std::move(measured));
  session.toggleVary(2);
  clock.restart();
  const DoItResult result = session.doIt();
  std::printf("%-44s fit of one entry %7.1f ms, %lld chi-square evaluations\n",
              "100 000 points, nine-point kernel", clock.nsecsElapsed() / 1e6,
              result.outcome ? result.outcome->evaluations : -1LL);
  session.cancel();
}

}  // namespace
}  // namespace quorrel

int main(int argc, char* argv[]) {
  using namespace quorrel;
  QApplication app(argc, argv);
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  QTemporaryDir folder;
  QSettings settings(folder.filePath("Quorrel.conf"), QSettings::IniFormat);
  QtSettingsStore store(settings);
  store.write("Main", "expertmode", "1");
  HeadlessPrompts prompts;
  SystemDesktopServices desktop;
  TForm1 window({prompts, desktop, store, folder.filePath("data")},
                ReadCommandLine({"nosplash", "nodatabase"}));
  window.show();
  QApplication::processEvents();

  window.loadModelFile(QUORREL_EXAMPLES "/default.par");
  Report("examples/default.par (100 points)", window, 20);
  ReportTyping("examples/default.par", window, 2, kColThickness);
  window.loadModelFile(QUORREL_EXAMPLES "/multilayer.par");
  ReportTyping("examples/multilayer.par", window, 2, kColThickness);

  ReportFit(window);
  window.state().model = MagneticLayers(100);
  window.state().settings = FullRun();
  window.state().data = MeasuredData{};
  Report("100 magnetic layers, 999 smeared points", window, 10);
  ReportLargeData(window, folder.path());
  return 0;
}
