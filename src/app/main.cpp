// quorrel: the desktop program.

#include <cstdio>

#include <QApplication>
#include <QProxyStyle>
#include <QSettings>
#include <QTimer>

#include "app/headless_prompts.h"
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

//! Once the calculations started at start-up have ended, saves a picture of the window and
//! ends the program: 0 when everything worked, 1 with the reason otherwise.
void SaveScreenshotWhenIdle(quorrel::TForm1& window, const QString& file,
                            const quorrel::HeadlessPrompts& prompts) {
  const auto save = [&window, file, &prompts] {
    const bool saved = window.grab().save(file, "PNG");
    if (!saved) std::fprintf(stderr, "quorrel: could not write %s\n", qPrintable(file));
    window.close();
    QCoreApplication::exit(saved && !prompts.failed() ? 0 : 1);
  };
  if (window.calculations().running() == 0) {
    save();
  } else {
    QObject::connect(&window.calculations(), &quorrel::CalculationRunner::idle, &window, save,
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

  // A screenshot run answers its own questions, so it never waits for a person.
  quorrel::DialogPrompts dialogs;
  quorrel::HeadlessPrompts headless;
  quorrel::Prompts& prompts = switches.screenshot ? static_cast<quorrel::Prompts&>(headless)
                                                  : static_cast<quorrel::Prompts&>(dialogs);
  quorrel::SystemDesktopServices desktop;
  QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "Ostral", "Quorrel");
  quorrel::QtSettingsStore store(settings);

  quorrel::TForm1 window({prompts, desktop, store}, switches);
  dialogs.setParent(&window);
  window.show();

  QTimer::singleShot(0, &window, [&] {
    // The data first, so that the model's calculations run at the measured points.
    if (switches.dataFile) window.loadDataFile(QString::fromStdString(*switches.dataFile));
    if (switches.modelFile) {
      window.loadModelFile(QString::fromStdString(*switches.modelFile));
      window.calculateReflectivity();
      window.calculateProfile();
    }
    if (switches.screenshot) {
      SaveScreenshotWhenIdle(window, QString::fromStdString(*switches.screenshot), headless);
    }
  });
  return QApplication::exec();
}
