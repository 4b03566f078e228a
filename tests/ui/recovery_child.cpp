// A program that works on a model and is then killed: it loads the multilayer example and
// its data, changes a thickness, lets the window keep its work for recovery, says "ready"
// and waits to be killed. The first argument is the user's data folder to use.

#include <cstdio>

#include <QApplication>
#include <QTemporaryDir>

#include "test_services.h"
#include "ui/model/model_window.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc < 2) return 2;
  quorrel::testing::ScriptedPrompts prompts;
  quorrel::testing::RecordingDesktop desktop;
  quorrel::testing::TemporarySettings settings;
  settings.store().write("Main", "expertmode", "1");
  quorrel::TForm1 window({prompts, desktop, settings.store(), QString::fromLocal8Bit(argv[1])},
                         quorrel::ReadCommandLine({"nosplash", "nodatabase"}));
  window.show();
  window.loadDataFile(QUORREL_EXAMPLES "/multilayer_measured.dat");
  window.loadModelFile(QUORREL_EXAMPLES "/multilayer.par");
  window.state().model.mlGrid.setCell(1, quorrel::kColThickness, "71.5");
  window.state().settings.cbMagnet = true;
  window.modelWindow().refresh();
  window.keepForRecovery();
  std::printf("ready\n");
  std::fflush(stdout);
  return QApplication::exec();
}
