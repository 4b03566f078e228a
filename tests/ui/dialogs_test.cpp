// The about box, the tips window and the settings store on QSettings.

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextBrowser>
#include <QtTest>

#include "qt_test_registry.h"
#include "shell/tips.h"
#include "test_services.h"
#include "ui/help/help_viewer.h"
#include "ui/main/about_box.h"
#include "ui/main/tips_window.h"

namespace quorrel {

using testing::RecordingDesktop;
using testing::ScratchFiles;
using testing::TemporarySettings;

class DialogsTest : public QObject {
  Q_OBJECT

  QWidget helpOwner_;
  HelpViewer help_{&helpOwner_};

 private slots:
  void theAboutBoxNamesTheProgramAndTheSystem() {
    RecordingDesktop desktop;
    TAboutBox box(desktop, help_);
    box.setContactAddress("author@example.org");
    QSignalSpy status(&box, &TAboutBox::statusText);
    box.show();
    QCOMPARE(box.windowTitle(), QString("Infos"));
    QCOMPARE(box.findChild<QLabel*>("Label1")->text(), QString("Quorrel"));
    QVERIFY(QRegularExpression(R"(^Version \d+\.\d+\.\d+  build \d+$)")
                .match(box.findChild<QLabel*>("Label2")->text())
                .hasMatch());
    QCOMPARE(box.findChild<QLabel*>("Label3")->text(), QString("Ostral"));
    QVERIFY(QRegularExpression(R"(^Operating System: Linux \d+\.\d+ build \d+$)")
                .match(box.findChild<QLabel*>("Label4")->text())
                .hasMatch());

    auto* more = box.findChild<QPushButton*>("Button2");
    auto* ok = box.findChild<QPushButton*>("OKButton");
    auto* history = box.findChild<QTextBrowser*>("History");
    QVERIFY(!history->isVisible() && ok->isVisible());
    QTest::mouseClick(more, Qt::LeftButton);
    QVERIFY(history->isVisible() && !ok->isVisible());
    QCOMPARE(more->text(), QString("&less info"));
    QTest::mouseClick(more, Qt::LeftButton);
    QVERIFY(!history->isVisible() && ok->isVisible());
    QCOMPARE(more->text(), QString("&more info"));

    auto* maker = box.findChild<QLabel*>("Label3");
    QTest::mouseMove(maker, QPoint(3, 3));
    QVERIFY(!status.isEmpty());
    QCOMPARE(status.last().first().toString(),
             QString("click here to send an e-mail to the author"));
    QTest::mouseClick(maker, Qt::LeftButton);
    QCOMPARE(desktop.mails, QStringList{"author@example.org?Quorrel"});
  }

  void theTipsWrapAroundAndTheBoxChoosesExpertMode() {
    RecordingDesktop desktop;
    auto* tips = new TfTipOfTheDay(desktop, help_, std::size_t{13});
    QSignalSpy expert(tips, &TfTipOfTheDay::expertModeChosen);
    QPointer<TfTipOfTheDay> alive(tips);
    tips->show();
    auto* text = tips->findChild<QLabel*>("lblTip");
    QVERIFY(text->text().startsWith("that writing tips of the day"));
    QTest::mouseClick(tips->findChild<QPushButton*>("btnNext"), Qt::LeftButton);
    QCOMPARE(tips->tipIndex(), std::size_t{0});
    QVERIFY(text->text().startsWith("that you can select a region"));
    tips->findChild<QCheckBox*>("cbDontShow")->setChecked(true);
    QTest::mouseClick(tips->findChild<QPushButton*>("btnClose"), Qt::LeftButton);
    QCOMPARE(expert.count(), 1);
    QTRY_VERIFY(alive.isNull());  // released when closed
  }

  void aRandomTipIsOneOfTheFirstThirteen() {
    RecordingDesktop desktop;
    for (int i = 0; i < 20; ++i) {
      TfTipOfTheDay tips(desktop, help_);
      QVERIFY(tips.tipIndex() < kFirstTipChoices);
    }
  }

  void allTipsArePrinted() {
    RecordingDesktop desktop;
    ScratchFiles files;
    desktop.pdfFile = files.path("tips.pdf");
    TfTipOfTheDay tips(desktop, help_, std::size_t{0});
    QTest::mouseClick(tips.findChild<QPushButton*>("btnPrint"), Qt::LeftButton);
    QVERIFY(QFileInfo(desktop.pdfFile).size() > 1000);
  }

  void theStoreMatchesNamesWithoutCaseAndKeepsText() {
    TemporarySettings settings;
    QtSettingsStore& store = settings.store();
    store.write("Main", "expertmode", "1");
    QCOMPARE(store.read("MAIN", "EXPERTMODE"), std::optional<std::string>("1"));
    store.write("main", "ExpertMode", "0");
    QCOMPARE(settings.stored("Main/expertmode").toString(), QString("0"));
    QVERIFY(!settings.stored("main/ExpertMode").isValid());
    store.write("Last Session", "wavelength", "4.66");
    QCOMPARE(settings.stored("Last Session/wavelength").toString(), QString("4.66"));
    store.write("Window", "top", "5");
    store.removeSection("WINDOW");
    QVERIFY(!store.read("Window", "top"));
    QVERIFY(!store.read("Nothing", "here"));
  }
};

QUORREL_QT_TEST(DialogsTest)

}  // namespace quorrel

#include "dialogs_test.moc"
