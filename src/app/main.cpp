// quorrel: the desktop program.

#include <cstdio>

#include <QApplication>
#include <QFileInfo>
#include <QPrinter>
#include <QProxyStyle>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>

#include "ui/platform/headless_prompts.h"
#include "common/decimal_separator.h"
#include "shell/command_line.h"
#include "ui/calc/calculation_runner.h"
#include "ui/main/artwork.h"
#include "ui/main/main_window.h"
#include "ui/platform/desktop_services.h"
#include "ui/platform/dialog_prompts.h"
#include "ui/platform/qt_settings_store.h"

namespace {

//! Tool tips appear after half a second.
class ToolTipDelayStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* data) const override {
    if (hint == SH_ToolTip_WakeUpDelay) return 500;
    return QProxyStyle::styleHint(hint, option, widget, data);
  }
};

//! The desktop of a run that nobody watches: the summary is printed into a PDF file.
class PdfDesktopServices : public quorrel::SystemDesktopServices {
 public:
  explicit PdfDesktopServices(QString pdf) : pdf_(std::move(pdf)) {}
  bool choosePrinter(QPrinter& printer, QWidget*) override {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf_);
    return true;
  }

 private:
  QString pdf_;
};

//! Once the calculations started at start-up have ended, saves a picture of the window
//! and prints the summary into a PDF file, as asked, and ends the program: 0 when
//! everything worked, 1 with the reason otherwise.
void FinishWhenIdle(quorrel::TForm1& window, const quorrel::StartupSwitches& switches,
                    const quorrel::HeadlessPrompts& prompts) {
  const auto finish = [&window, &switches, &prompts] {
    bool written = true;
    if (switches.screenshot) {
      const QString file = QString::fromStdString(*switches.screenshot);
      if (!window.grab().save(file, "PNG")) {
        std::fprintf(stderr, "quorrel: could not write %s\n", qPrintable(file));
        written = false;
      }
    }
    if (switches.printPdf) {
      window.printSummary();
      if (!QFileInfo::exists(QString::fromStdString(*switches.printPdf))) {
        std::fprintf(stderr, "quorrel: could not print to %s\n", switches.printPdf->c_str());
        written = false;
      }
    }
    window.close();
    QCoreApplication::exit(written && !prompts.failed() ? 0 : 1);
  };
  if (window.calculations().running() == 0) {
    finish();
  } else {
    QObject::connect(&window.calculations(), &quorrel::CalculationRunner::idle, &window, finish,
                     Qt::SingleShotConnection);
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Quorrel");
  QApplication::setOrganizationName("Ostral");
  QApplication::setStyle(new ToolTipDelayStyle);
  QApplication::setWindowIcon(quorrel::ProgramIcon());
  quorrel::SetDecimalSeparator(quorrel::SystemDecimalSeparator());

  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
  const quorrel::StartupSwitches switches = quorrel::ReadCommandLine(arguments);
  if (switches.error) {
    std::fprintf(stderr, "quorrel: %s\n", switches.error->c_str());
    return 1;
  }

  // A run that writes its pictures answers its own questions: it never waits for a person.
  const bool unattended = switches.screenshot || switches.printPdf;
  quorrel::DialogPrompts dialogs;
  quorrel::HeadlessPrompts headless;
  quorrel::Prompts& prompts = unattended ? static_cast<quorrel::Prompts&>(headless)
                                         : static_cast<quorrel::Prompts&>(dialogs);
  PdfDesktopServices desktop(QString::fromStdString(switches.printPdf.value_or("")));
  quorrel::SystemDesktopServices systemDesktop;
  quorrel::DesktopServices& services = switches.printPdf
                                           ? static_cast<quorrel::DesktopServices&>(desktop)
                                           : static_cast<quorrel::DesktopServices&>(systemDesktop);
  QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "Ostral", "Quorrel");
  quorrel::QtSettingsStore store(settings);

  quorrel::TForm1 window(
      {prompts, services, store, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)},
      switches);
  dialogs.setParent(&window);
  dialogs.setHelp(&window.help());
  window.show();

  QTimer::singleShot(0, &window, [&] {
    // The data first, so that the model's calculations run at the measured points.
    if (switches.dataFile) window.loadDataFile(QString::fromStdString(*switches.dataFile));
    if (switches.modelFile) {
      window.loadModelFile(QString::fromStdString(*switches.modelFile));
      window.calculateReflectivity();
      window.calculateProfile();
    }
    if (switches.projectFile) {
      window.openProjectFile(QString::fromStdString(*switches.projectFile));
      window.recalculate();
    }
    if (unattended) FinishWhenIdle(window, switches, headless);
  });
  return QApplication::exec();
}
