// The file commands of the main window through their dialogs: models saved and read back
// under either decimal separator, curves saved, failed saves, the save button, another
// material table, and the question before a changed model is lost.

#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QSpinBox>
#include <QtTest>

#include "common/decimal_separator.h"
#include "files/model_file_writer.h"
#include "qt_test_registry.h"
#include "test_services.h"
#include "ui/calc/calculation_runner.h"
#include "ui/calc/live_recalculation.h"
#include "ui/model/model_window.h"
#include "ui/platform/shared_file_dialogs.h"
#include "ui/plot/profile_window.h"
#include "ui/plot/reflectivity_slots.h"
#include "ui/plot/reflectivity_window.h"

namespace quorrel {

using testing::ScratchFiles;
using testing::TestServices;

namespace {

QByteArray Content(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class FileCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void aModelIsSavedAndReadBackUnchanged() {
    for (const char separator : {'.', ','}) {
      ScopedDecimalSeparator scoped(separator);
      TestServices services;
      ScratchFiles files;
      auto window = services.start();
      window->show();
      QVERIFY(window->loadModelFile(QUORREL_EXAMPLES "/multilayer.par"));
      const std::string loaded = ModelFileText(window->state().model, window->state().settings);
      const QString saved = files.path("copy.par");
      services.prompts.files = {saved};
      QVERIFY(window->saveModel());
      QCOMPARE(services.prompts.requests.back().title, QString("Save Model Paramters"));
      QCOMPARE(services.prompts.requests.back().filter, QString("model parameters (*.par)"));
      QCOMPARE(window->modelWindow().windowTitle(), QString("Model - copy.par"));

      auto again = services.start();
      again->show();
      services.prompts.files = {saved};
      again->loadModel();
      QCOMPARE(services.prompts.requests.back().title, QString("Open Model Parameter File"));
      QCOMPARE(ModelFileText(again->state().model, again->state().settings), loaded);
      QCOMPARE(again->state().model.edtRepts, 10);
      QVERIFY(!again->modelChanged());
      QTRY_COMPARE(again->calculations().running(), 0);
      QTRY_COMPARE(window->calculations().running(), 0);
    }
  }

  void cancellingTheModelDialogStillCalculates() {
    TestServices services;
    auto window = services.start();
    window->show();
    QTRY_COMPARE(window->calculations().running(), 0);  // the start-up curves
    window->loadModel();
    QCOMPARE(window->calculations().running(), 2);
    QTRY_COMPARE(window->calculations().running(), 0);
  }

  void aChangedModelIsOfferedForSavingFirst() {
    TestServices services;
    ScratchFiles files;
    auto window = services.start();
    window->show();
    QTRY_COMPARE(window->calculations().running(), 0);  // the start-up curves
    window->state().model.baseGrid.setCell(2, kColThickness, "99");
    QVERIFY(window->modelChanged());
    services.prompts.saveChoices = {SaveChoice::Cancel};
    window->loadModel();
    QCOMPARE(services.prompts.questions, QStringList{"Save changes to the new model?"});
    QVERIFY(services.prompts.requests.empty());  // no open dialog after Cancel
    QCOMPARE(window->calculations().running(), 0);

    // Closing: Save writes the model, then the window closes.
    const QString saved = files.path("mine.par");
    services.prompts.saveChoices = {SaveChoice::Save};
    services.prompts.files = {saved};
    QVERIFY(window->close());
    QVERIFY(Content(saved).contains("\r\n99\r\n"));
  }

  void closingWithAnUnchangedModelAsksNothing() {
    TestServices services;
    auto window = services.start();
    window->show();
    QVERIFY(window->close());
    QVERIFY(services.prompts.questions.isEmpty());
  }

  void curvesAreSavedAsTheWindowsShowThem() {
    TestServices services;
    ScratchFiles files;
    auto window = services.start();
    window->show();
    window->state().settings.cbMagnet = true;
    window->calculateReflectivity();
    window->calculateProfile();
    QTRY_COMPARE(window->calculations().running(), 0);
    services.prompts.files = {files.path("curve.dat"), files.path("depth.pro")};
    QVERIFY(window->saveReflectivity());
    QVERIFY(window->saveProfile());
    QCOMPARE(services.prompts.requests[0].title, QString("Save Reflectivity Data"));
    QCOMPARE(services.prompts.requests[0].filter,
             QString("calculated data (*.dat);;ORSO reflectivity (*.ort)"));
    QCOMPARE(services.prompts.requests[1].title, QString("Save Scattering Length Density Profile"));
    QCOMPARE(window->plotWindow().windowTitle(), QString("Reflectivity - curve.dat"));
    QCOMPARE(window->profileWindow().windowTitle(), QString("Profile - depth.pro"));
    const QList<QByteArray> lines = Content(files.path("curve.dat")).split('\n');
    QCOMPARE(lines.size(), 101);  // 100 lines and the end after the last CR LF
    QCOMPARE(lines[0].count('\t'), 5);  // Qz, R, 0, up, (empty), down
    QVERIFY(lines[0].startsWith("0.000e00\t1.000e00\t0\t"));
    QCOMPARE(Content(files.path("depth.pro")).count('\n'), 100);
  }

  void aFailedSaveKeepsTheOldFileAndSaysWhy() {
    TestServices services;
    ScratchFiles files;
    auto window = services.start();
    window->show();
    const QString folder = files.path("taken");
    QVERIFY(QDir().mkpath(folder));  // a folder stands where the file should go
    services.prompts.files = {folder};
    QVERIFY(!window->saveModel());
    QCOMPARE(services.prompts.errors.size(), 1);
    QVERIFY(services.prompts.errors.front().contains("taken"));
    QCOMPARE(window->modelWindow().windowTitle(), QString("Model"));
  }

  void theSaveButtonSavesTheActiveWindowsFile() {
    TestServices services;
    ScratchFiles files;
    auto window = services.start();
    window->show();
    auto* area = window->findChild<QMdiArea*>("mdiArea");
    area->setActiveSubWindow(window->frameOf(window->modelWindow()));
    services.prompts.files = {files.path("button.par")};
    window->saveActive();
    QCOMPARE(services.prompts.requests.back().title, QString("Save Model Paramters"));
    area->setActiveSubWindow(window->frameOf(window->profileWindow()));
    services.prompts.files = {files.path("button.pro")};
    window->saveActive();
    QCOMPARE(services.prompts.requests.back().title,
             QString("Save Scattering Length Density Profile"));
    QVERIFY(QFile::exists(files.path("button.par")) && QFile::exists(files.path("button.pro")));
  }

  void aBadTableKeepsTheListsAndThePathThatWorked() {
    TestServices services;
    ScratchFiles files;
    auto window = services.start();
    window->show();
    const std::size_t elements = window->materialLists().elements.size();
    const std::string path = window->state().sldDatabasePath;
    QVERIFY(elements > 80);
    services.prompts.files = {files.write("broken.db", "not a table")};
    window->loadMaterialTableFromDisk();
    QCOMPARE(services.prompts.informations.size(), 1);
    QVERIFY(services.prompts.informations.front().startsWith(
        "There is something wrong with this database file."));
    QCOMPARE(window->materialLists().elements.size(), elements);
    QCOMPARE(window->state().sldDatabasePath, path);
    // Loading a table from disk leaves the open dialog's folder alone.
    QVERIFY(window->fileDialogs().openFolder() != files.path(""));
  }

  void editsAreRecalculatedUnlessSwitchedOff() {
    TestServices services;
    auto window = services.start();
    window->show();
    QTRY_COMPARE(window->calculations().running(), 0);
    QSignalSpy curves(&window->calculations(), &CalculationRunner::reflectivityReady);
    window->modelWindow().findChild<QSpinBox*>("edtLayers")->setValue(2);
    QVERIFY(curves.wait(5000));
    QTRY_COMPARE(window->calculations().running(), 0);

    window->findChild<QAction*>("mnuRecalculateWhileEditing")->setChecked(false);
    curves.clear();
    window->modelWindow().findChild<QSpinBox*>("edtLayers")->setValue(3);
    QTest::qWait(LiveRecalculation::kDelayMs * 4);
    QCOMPARE(curves.count(), 0);
  }
};

QUORREL_QT_TEST(FileCommandsTest)

}  // namespace quorrel

#include "file_commands_test.moc"
