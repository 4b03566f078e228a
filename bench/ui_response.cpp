// How quickly the program answers "calculate reflectivity": the time from the command to the
// curve drawn, and the longest time the user-interface thread is blocked meanwhile. Runs the
// real main window off screen; prints one line per case.

#include <algorithm>
#include <cstdio>

#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include "bench_models.h"
#include "files/model_file_reader.h"
#include "shell/command_line.h"
#include "ui/calc/calculation_runner.h"
#include "ui/main/main_window.h"
#include "ui/platform/desktop_services.h"
#include "ui/platform/prompts.h"
#include "ui/platform/qt_settings_store.h"

namespace quorrel {
namespace {

//! Nobody answers: the cases load nothing through dialogs.
class SilentPrompts : public Prompts {
 public:
  std::optional<QString> openFile(const FileDialogRequest&) override { return std::nullopt; }
  std::optional<QString> saveFile(const FileDialogRequest&) override { return std::nullopt; }
  void information(const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
  void error(const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
  LoadAnswer abortOrIgnore(const QString&) override { return LoadAnswer::Abort; }
  SaveChoice askSaveChanges(const QString&) override { return SaveChoice::Discard; }
};

class NoDesktop : public DesktopServices {
 public:
  bool openAddress(const QString&) override { return false; }
  bool writeMail(const QString&, const QString&) override { return false; }
  bool choosePrinter(QPrinter&, QWidget*) override { return false; }
};

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

}  // namespace
}  // namespace quorrel

int main(int argc, char* argv[]) {
  using namespace quorrel;
  QApplication app(argc, argv);
  QTemporaryDir folder;
  QSettings settings(folder.filePath("Quorrel.conf"), QSettings::IniFormat);
  QtSettingsStore store(settings);
  store.write("Main", "expertmode", "1");
  SilentPrompts prompts;
  NoDesktop desktop;
  TForm1 window({prompts, desktop, store}, ReadCommandLine({"nosplash", "nodatabase"}));
  window.show();
  QApplication::processEvents();

  ReadModelFile(QUORREL_EXAMPLES "/default.par", window.state().model, window.state().settings,
                window.state().editor);
  Report("examples/default.par (100 points)", window, 20);

  window.state().model = MagneticLayers(100);
  window.state().settings = FullRun();
  Report("100 magnetic layers, 999 smeared points", window, 10);
  return 0;
}
