// Pictures of the program for its documentation, made from the examples: the main window
// after a fit of the multilayer example, the model editor, the settings dialog, the fit
// dialog and the help on the sample types.
// Usage: quorrel-screenshots EXAMPLES_FOLDER OUTPUT_FOLDER

#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include "fit/fit_data.h"
#include "ui/calc/calculation_runner.h"
#include "shell/help_topics.h"
#include "ui/fit/fit_dialog.h"
#include "ui/help/help_viewer.h"
#include "ui/main/artwork.h"
#include "ui/main/main_window.h"
#include "ui/model/model_window.h"
#include "ui/platform/desktop_services.h"
#include "ui/platform/headless_prompts.h"
#include "ui/platform/qt_settings_store.h"
#include "ui/settings/settings_dialog.h"

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
  const bool saved = widget.grab().save(file, "PNG");
  std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(file));
  return saved;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setWindowIcon(ProgramIcon());
  if (argc != 3) {
    std::fprintf(stderr, "usage: quorrel-screenshots EXAMPLES_FOLDER OUTPUT_FOLDER\n");
    return 2;
  }
  const QString examples = QString::fromLocal8Bit(argv[1]);
  const QDir output(QString::fromLocal8Bit(argv[2]));
  QDir().mkpath(output.path());

  QTemporaryDir home;
  QSettings settings(home.filePath("Quorrel.conf"), QSettings::IniFormat);
  QtSettingsStore store(settings);
  store.write("Main", "expertmode", "1");
  HeadlessPrompts prompts;
  SystemDesktopServices desktop;
  TForm1 window({prompts, desktop, store, home.filePath("data")},
                ReadCommandLine({"nosplash"}));
  window.resize(1280, 820);
  window.show();
  window.tile();
  window.loadDataFile(examples + "/multilayer_measured.dat");
  window.loadModelFile(examples + "/multilayer.par");
  // Start the fit from thicknesses that are off, as a user's first guess would be.
  window.state().model.mlGrid.setCell(1, kColThickness, "76");
  window.state().model.mlGrid.setCell(2, kColThickness, "65");
  window.refreshModelViews();
  window.recalculate();
  Settle(window);

  bool ok = Save(*window.frameOf(window.modelWindow()), output.filePath("model_editor.png"));

  TSettingsDlg& settingsDialog = window.settingsDialog();
  window.showSettings();
  settingsDialog.findChild<QTabWidget*>()->setCurrentIndex(4);  // R&esolution
  QCoreApplication::processEvents();
  ok = Save(settingsDialog, output.filePath("settings_dialog.png")) && ok;
  settingsDialog.close();

  TFitDlg& fit = window.fitDialog();
  window.fitSession().setIncludeResolution(true);
  window.fitSession().setIncludeBackground(true);
  fit.showOptions();
  fit.present(window.state().model, FitDataFor(window.state().settings, window.state().data));
  auto* list = fit.findChild<QListWidget*>("CheckListBox1");
  list->item(9)->setCheckState(Qt::Checked);   // d of the stack's first layer
  list->item(13)->setCheckState(Qt::Checked);  // d of its second
  QEventLoop run;
  QObject::connect(&fit, &TFitDlg::runFinished, &run, &QEventLoop::quit);
  fit.findChild<QPushButton*>("btn1iter")->click();
  run.exec();
  ok = Save(fit, output.filePath("fit_dialog.png")) && ok;
  fit.findChild<QPushButton*>("OKBtn")->click();
  window.acceptFit();
  Settle(window);
  ok = Save(window, output.filePath("main_window.png")) && ok;

  window.help().showContext(help_context::kSampleTypes);
  HelpWindow& help = *window.help().window();
  help.resize(720, 900);
  QCoreApplication::processEvents();
  ok = Save(help, output.filePath("help_sample_types.png")) && ok;

  window.close();
  return ok ? 0 : 1;
}
