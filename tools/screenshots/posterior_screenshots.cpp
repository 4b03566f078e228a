// Pictures of a sampled posterior for the documentation: the sampling dialog and the
// posterior's window with its corner plot of the multilayer example, and the 68 % / 95 % bands
// in the reflectivity and profile windows of the film of examples/sampling, whose thin first
// layer the data determine poorly.
// Usage: quorrel-posterior-screenshots EXAMPLES_FOLDER OUTPUT_FOLDER

#include <cstdio>
#include <tuple>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>

#include "ui/calc/calculation_runner.h"
#include "ui/fit/posterior_window.h"
#include "ui/fit/sampling_dialog.h"
#include "ui/main/main_window.h"
#include "ui/platform/desktop_services.h"
#include "ui/platform/headless_prompts.h"
#include "ui/platform/qt_settings_store.h"
#include "ui/plot/profile_window.h"
#include "ui/plot/reflectivity_window.h"

namespace {

using namespace quorrel;

void Settle(TForm1& window) {
  QEventLoop loop;
  if (window.calculations().running() > 0) {
    QObject::connect(&window.calculations(), &CalculationRunner::idle, &loop, &QEventLoop::quit);
    loop.exec();
  }
  QCoreApplication::processEvents();
}

bool Save(QWidget& widget, const QString& file) {
  QCoreApplication::processEvents();
  const bool saved = widget.grab().save(file, "PNG");
  std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(file));
  return saved;
}

//! Ticks the table's row of `label` and types its bounds.
void Sample(QTableWidget& table, const QString& label, const QString& lower, const QString& upper) {
  for (int row = 0; row < table.rowCount(); ++row) {
    if (!table.item(row, 0)->text().startsWith(label)) continue;
    table.item(row, 1)->setText(lower);
    table.item(row, 2)->setText(upper);
    table.item(row, 0)->setCheckState(Qt::Checked);
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: quorrel-posterior-screenshots EXAMPLES_FOLDER OUTPUT_FOLDER\n");
    return 2;
  }
  const QString examples = QString::fromLocal8Bit(argv[1]);
  const QDir output(QString::fromLocal8Bit(argv[2]));
  QDir().mkpath(output.path());

  QTemporaryDir home;
  QSettings settings(home.filePath("Quorrel.conf"), QSettings::IniFormat);
  QtSettingsStore store(settings);
  HeadlessPrompts prompts;
  SystemDesktopServices desktop;
  TForm1 window({prompts, desktop, store, home.filePath("data")},
                ReadCommandLine({"nosplash"}));
  window.resize(1280, 820);
  window.show();
  window.tile();
  window.loadDataFile(examples + "/multilayer_measured.dat");
  window.loadModelFile(examples + "/multilayer.par");
  window.fitSession().setIncludeResolution(true);
  window.fitSession().setIncludeBackground(true);
  window.recalculate();
  Settle(window);

  window.samplePosterior();
  TSamplingDlg& dialog = window.samplingDialog();
  Sample(dialog.entries(), "sigma_1", "2", "6");
  Sample(dialog.entries(), "d_ML1", "66", "74");
  Sample(dialog.entries(), "d_ML2", "66", "74");
  dialog.walkers().setValue(32);
  dialog.burnIn().setValue(300);
  dialog.steps().setValue(1500);
  dialog.seed().setValue(7);
  dialog.sampleButton().click();
  QElapsedTimer waited;
  waited.start();
  bool shownRunning = false;
  while (dialog.running() && waited.elapsed() < 120000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    if (!shownRunning && waited.elapsed() > 400) {
      shownRunning = Save(dialog, output.filePath("sampling_dialog.png"));
    }
  }
  QCoreApplication::processEvents();
  TfrmPosterior* posterior = dialog.posteriorWindow();
  if (posterior == nullptr) {
    std::fprintf(stderr, "the sampling gave no posterior\n");
    return 1;
  }
  dialog.close();
  bool ok = Save(*posterior, output.filePath("posterior_corner.png"));

  window.loadDataFile(examples + "/sampling/film400.dat");
  window.loadModelFile(examples + "/contrasts/film_true.par");
  window.state().settings.cbBackground = true;
  window.state().settings.edtY0 = 2e-6;
  window.recalculate();
  Settle(window);
  window.samplePosterior();
  for (const auto& [label, lower, upper] :
       {std::tuple{"d_1", "2", "30"}, std::tuple{"rho_1", "0", "8e-6"},
        std::tuple{"sigma_1", "0", "8"}, std::tuple{"d_2", "60", "110"},
        std::tuple{"rho_2", "0", "3e-6"}, std::tuple{"sigma_2", "1", "12"},
        std::tuple{"scale", "0.7", "1.1"}}) {
    Sample(dialog.entries(), label, lower, upper);
  }
  dialog.walkers().setValue(128);
  dialog.burnIn().setValue(1500);
  dialog.steps().setValue(800);
  dialog.sampleButton().click();
  waited.restart();
  while (dialog.running() && waited.elapsed() < 300000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  QCoreApplication::processEvents();
  dialog.close();
  // The data fix the curve within their noise: a close look at the second fringe.
  window.plotWindow().graph().setAxisLimits(GraphAxis::X, {0.13, 0.22});
  window.plotWindow().graph().setAxisLimits(GraphAxis::Y, {1.5e-6, 1.2e-5});
  ok = Save(*window.frameOf(window.plotWindow()), output.filePath("posterior_bands_reflectivity.png")) && ok;
  ok = Save(*window.frameOf(window.profileWindow()), output.filePath("posterior_bands_profile.png")) && ok;
  return ok ? 0 : 1;
}
