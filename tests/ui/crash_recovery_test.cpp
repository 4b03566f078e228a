// The work of a run that ends without closing properly comes back at the next start.

#include <QFile>
#include <QProcess>
#include <QtTest>

#include "qt_test_registry.h"
#include "test_services.h"
#include "ui/calc/calculation_runner.h"
#include "ui/model/model_window.h"

namespace quorrel {

using testing::TestServices;

namespace {

QString RecoveryFileOf(const TestServices& services) {
  return services.dataFolder.filePath("recovery.qrec");
}

}  // namespace

class CrashRecoveryTest : public QObject {
  Q_OBJECT

 private slots:
  void aKilledRunIsRestoredAtTheNextStart() {
    TestServices services;
    QProcess child;
    child.start(QUORREL_RECOVERY_CHILD, {services.dataFolder.path()});
    QVERIFY(child.waitForStarted());
    QByteArray said;
    while (!said.contains("ready") && child.waitForReadyRead(30000)) {
      said += child.readAllStandardOutput();
    }
    QVERIFY(said.contains("ready"));
    QCOMPARE(child.state(), QProcess::Running);
    child.kill();
    QVERIFY(child.waitForFinished());
    QVERIFY(QFile::exists(RecoveryFileOf(services)));

    auto window = services.start({"nosplash", "nodatabase"});
    window->show();
    QCOMPARE(services.prompts.questions.size(), 1);
    QVERIFY(services.prompts.questions.front().startsWith(
        "Quorrel did not close properly. Restore the model you were working on?\n(last saved "));
    QCOMPARE(window->state().model.type, SampleType::MultipleLayers);
    QCOMPARE(window->state().model.mlGrid.cell(1, kColThickness), std::string("71.5"));
    QVERIFY(window->state().settings.cbMagnet);
    QVERIFY(window->state().data.count() > 100);
    QVERIFY(window->modelChanged());
    QCOMPARE(window->modelWindow().windowTitle(), QString("Model - multilayer.par"));
    QTRY_COMPARE(window->calculations().running(), 0);
  }

  void declinedOrCleanlyClosedWorkIsNotOfferedAgain() {
    TestServices services;
    {
      auto window = services.start();
      window->show();
      window->keepForRecovery();  // nothing changed: nothing kept
      QVERIFY(!QFile::exists(RecoveryFileOf(services)));
      window->state().model.baseGrid.setCell(2, kColThickness, "33");
      window->keepForRecovery();
      QVERIFY(QFile::exists(RecoveryFileOf(services)));
      services.prompts.saveChoices = {SaveChoice::Discard};
      QVERIFY(window->close());
    }
    QVERIFY(!QFile::exists(RecoveryFileOf(services)));
    services.prompts.questions.clear();
    {
      auto window = services.start();
      window->show();
      QVERIFY(services.prompts.questions.isEmpty());  // a clean end leaves nothing to offer
      window->state().model.baseGrid.setCell(2, kColThickness, "34");
      window->keepForRecovery();
    }  // gone without closing, as in a crash
    services.prompts.confirmations = {false};
    services.prompts.questions.clear();
    auto window = services.start();
    window->show();
    QCOMPARE(services.prompts.questions.size(), 1);  // the offer, declined
    QCOMPARE(window->state().model.baseGrid.cell(2, kColThickness), std::string("25"));
    QVERIFY(!QFile::exists(RecoveryFileOf(services)));
  }
};

QUORREL_QT_TEST(CrashRecoveryTest)

}  // namespace quorrel

#include "crash_recovery_test.moc"
