// The calculation settings dialog, driven as the user would, and the settings it keeps.

#include <QClipboard>
#include <QGuiApplication>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>

#include "model/settings_rules.h"
#include "qt_test_registry.h"
#include "test_services.h"
#include "ui/help/help_viewer.h"
#include "ui/settings/settings_dialog.h"

namespace quorrel {

using testing::ScriptedPrompts;

namespace {

//! The dialog on screen with everything it works on.
struct OpenDialog {
  CalcSettings settings;
  SampleModel model;
  MeasuredData measured;
  ScriptedPrompts prompts;
  QWidget helpOwner;
  HelpViewer help{&helpOwner};
  TSettingsDlg dialog{settings, model, measured, prompts, help};

  //! Shows the dialog and waits until it has the focus, which typing needs.
  bool show() {
    dialog.show();
    dialog.activateWindow();
    return QTest::qWaitForWindowActive(&dialog);
  }
  template <typename Widget>
  Widget* find(const char* name) {
    return dialog.findChild<Widget*>(name);
  }
  QString text(const char* field) { return find<QLineEdit>(field)->text(); }
  //! Clicks near the left end, where a check box or radio button has its mark.
  void click(const char* name) {
    auto* button = find<QAbstractButton>(name);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
  }
  void openPage(const QString& caption) {
    QTabBar* tabs = find<QTabWidget>("PageControl1")->tabBar();
    for (int i = 0; i < tabs->count(); ++i) {
      if (tabs->tabText(i) == caption) {
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(i).center());
      }
    }
  }
  //! Replaces the field's text by typing, as after selecting it all.
  void type(const char* field, const QString& keys) {
    QLineEdit* edit = find<QLineEdit>(field);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, keys);
  }
  bool shown(const char* name) { return find<QWidget>(name)->isVisible(); }
  bool enabled(const char* name) { return find<QWidget>(name)->isEnabled(); }
};

}  // namespace

class SettingsDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void theQRangeTakesTheMeasuredPointsWhenSwitchedOff() {
    OpenDialog open;
    QVERIFY(open.show());
    QSignalSpy changed(&open.dialog, &TSettingsDlg::settingsChanged);
    open.click("cbUserRange");  // no data yet: only disabled
    QVERIFY(!open.enabled("edtminQ") && !open.enabled("edtMaxQ") && !open.enabled("edtNumPoints"));
    QCOMPARE(open.text("edtMaxQ"), QString("0.25"));
    QCOMPARE(changed.count(), 1);

    open.click("cbUserRange");
    QVERIFY(open.enabled("edtMaxQ"));
    for (int i = 0; i < 120; ++i) open.measured.qz.push_back(0.01 + 0.29 * i / 119);
    open.measured.fileName = "/data/film.dat";
    open.click("cbUserRange");
    QCOMPARE(open.text("edtminQ"), QString("0.01"));
    QCOMPARE(open.text("edtMaxQ"), QString("0.3"));
    QCOMPARE(open.find<QSpinBox>("edtNumPoints")->value(), 120);
    QVERIFY(!open.settings.cbUserRange && open.settings.edtNumPoints == 120);
    QVERIFY(!open.enabled("edtminQ"));
  }

  void theAutomaticDepthRangeFollowsTheModel() {
    OpenDialog open;
    QVERIFY(open.show());
    open.model.baseGrid.setCell(2, kColThickness, "100");
    open.openPage("&Profile");
    QVERIFY(!open.enabled("edtMinZ"));
    open.click("cbUserZ");
    open.type("edtMaxZ", "300");
    QCOMPARE(open.settings.edtMaxZ, 300);
    open.click("cbUserZ");
    QCOMPARE(open.text("edtMinZ"), QString("-25"));
    QCOMPARE(open.text("edtMaxZ"), QString("125"));
    QCOMPARE(open.find<QSpinBox>("edtNumPointsZ")->value(), 50);
    QVERIFY(!open.enabled("edtMaxZ") && !open.enabled("edtNumPointsZ"));

    // A thickness that is not a number: reported, the range stays.
    open.model.baseGrid.setCell(2, kColThickness, "thick");
    open.click("cbUserZ");
    open.click("cbUserZ");
    QCOMPARE(open.prompts.errors.size(), 1);
    QVERIFY(open.prompts.errors.front().contains("thick"));
    QCOMPARE(open.text("edtMaxZ"), QString("125"));
    QVERIFY(!open.enabled("edtMaxZ"));
  }

  void regionRowsFollowTheNumberOfRegions() {
    OpenDialog open;
    QVERIFY(open.show());
    open.openPage("R&esolution");
    auto* grid = open.find<QTableWidget>("ResltnGrid");
    auto* regions = open.find<QSpinBox>("edtRegions");
    QCOMPARE(grid->horizontalHeaderItem(1)->text(), QString("delta Qz"));
    QTest::keyClick(regions, Qt::Key_Up);
    QCOMPARE(grid->rowCount(), 2);
    QVERIFY(grid->item(1, 0)->text() == "0" && grid->item(1, 1)->text() == "0");
    QCOMPARE(open.settings.resltnGrid.rowCount(), 3);

    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualItemRect(grid->item(1, 1)).center());
    QTest::keyClick(grid, Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(editor != nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "0.002");
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(open.settings.resltnGrid.cell(2, 1), std::string("0.002"));  // committed later

    QTest::keyClick(regions, Qt::Key_Down);
    QCOMPARE(grid->rowCount(), 1);
    QCOMPARE(open.settings.edtRegions, 1);
  }

  void switchesShowTheirFields() {
    OpenDialog open;
    QVERIFY(open.show());
    open.openPage("&Transmission");
    QVERIFY(!open.shown("gbTransmission"));
    open.click("cbTransmission");
    QVERIFY(open.shown("gbTransmission") && open.enabled("edtSampleThickness"));
    open.click("cbTransmission");
    QVERIFY(!open.shown("gbTransmission") && !open.settings.cbTransmission);

    open.openPage("&Background");
    QVERIFY(!open.shown("GroupBoxBG"));
    open.click("cbBackground");
    QVERIFY(open.shown("GroupBoxBG") && open.shown("edtY0") && !open.shown("edtM"));
    open.click("RBLinearBG");
    QVERIFY(open.shown("edtY0") && open.shown("edtM") && !open.shown("edtPeakA") &&
            !open.shown("edtPeakW") && !open.shown("edtPeakXC"));
    QCOMPARE(open.settings.background, BackgroundKind::Linear);
    open.click("RBConstBG");
    QVERIFY(open.shown("edtY0") && !open.shown("edtM"));
    open.click("RBLorentzBG");
    QVERIFY(open.shown("edtM") && open.shown("edtPeakXC"));

    open.openPage("R&esolution");
    open.click("cbVSelector");
    QVERIFY(open.shown("pnlVSelector") && !open.shown("pnlRegions"));
  }

  void realFieldsKeepTheirTextConvertible() {
    OpenDialog open;
    QVERIFY(open.show());
    open.type("edtMaxQ", "1e");
    QCOMPARE(open.text("edtMaxQ"), QString("1"));
    QCOMPARE(open.settings.edtMaxQ, 1.0);
    open.type("edtMaxQ", "15");
    auto* field = open.find<QLineEdit>("edtMaxQ");
    field->setCursorPosition(1);
    QTest::keyClick(field, Qt::Key_E);
    QCOMPARE(open.text("edtMaxQ"), QString("1E5"));
    QCOMPARE(open.settings.edtMaxQ, 1e5);

    QGuiApplication::clipboard()->clear();
    QTest::keySequence(field, QKeySequence::Paste);
    QCOMPARE(open.prompts.informations, QStringList{"No text on the Clipboard"});
  }

  void aValidatedFieldIsLimitedWhenLeft() {
    QWidget window;
    auto* tolerance = new TRealEdit(&window);
    auto* next = new QLineEdit(&window);
    next->move(0, 40);
    tolerance->setRange(1e-37, 1);
    tolerance->setValidate(true);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    tolerance->setFocus();
    QTest::keyClicks(tolerance, "5");
    next->setFocus();
    QCOMPARE(tolerance->text(), QString("1"));
    QCOMPARE(tolerance->value(), 1.0);
    QCOMPARE(tolerance->palette().color(QPalette::Text), QColor(Qt::red));
  }

  void cancelKeepsEveryChange() {
    OpenDialog open;
    QVERIFY(open.show());
    open.type("edtMaxQ", "0.5");
    open.click("cbMagnet");
    open.click("btnCancel");
    QVERIFY(!open.dialog.isVisible());
    QVERIFY(open.settings.edtMaxQ == 0.5 && open.settings.cbMagnet);
    open.dialog.show();
    QCOMPARE(open.text("edtMaxQ"), QString("0.5"));
  }

  void theButtonsAskForCalculationsFilesAndHelp() {
    OpenDialog open;
    QVERIFY(open.show());
    QSignalSpy calculate(&open.dialog, &TSettingsDlg::calculateRequested);
    auto* button = open.find<QToolButton>("btnCalc");
    QCOMPARE(button->toolTip(), QString("calculate reflectivity"));
    open.click("btnCalc");
    open.openPage("&Profile");
    QCOMPARE(button->toolTip(), QString("calculate profile"));
    open.click("btnCalc");
    open.openPage("&Database");
    QCOMPARE(button->toolTip(), QString("calculate reflectivity"));
    QCOMPARE(calculate.count(), 2);
    QVERIFY(!calculate.at(0).front().toBool() && calculate.at(1).front().toBool());

    QSignalSpy database(&open.dialog, &TSettingsDlg::databaseFileRequested);
    open.click("RBXrays");
    open.click("btnRescanDB");
    QCOMPARE(open.settings.radiation, Radiation::Xrays);
    QCOMPARE(database.count(), 1);

    open.click("btnHelp");
    QVERIFY(open.help.window()->currentPage().toString().endsWith("settings.html"));
    open.help.window()->close();
    QVERIFY(open.show());
    QTest::keyClick(&open.dialog, Qt::Key_F1);
    QVERIFY(open.help.window()->isVisible());
  }

  void refreshShowsSettingsChangedElsewhere() {
    OpenDialog open;
    QVERIFY(open.show());
    QSignalSpy changed(&open.dialog, &TSettingsDlg::settingsChanged);
    open.settings.edtMaxQ = 0.4;
    open.settings.cbUserRange = false;
    open.settings.cbBackground = true;
    open.settings.background = BackgroundKind::Gaussian;
    open.settings.edtPeakW = 2.5e-7;
    SetRegionCount(open.settings, 3);
    open.dialog.refresh();
    QCOMPARE(open.text("edtMaxQ"), QString("0.4"));
    QVERIFY(!open.enabled("edtMaxQ"));
    open.openPage("&Background");
    QVERIFY(open.find<QRadioButton>("RBGaussBG")->isChecked() && open.shown("edtPeakW"));
    QCOMPARE(open.text("edtPeakW"), QString("2.5E-07"));
    QCOMPARE(open.find<QTableWidget>("ResltnGrid")->rowCount(), 3);
    QCOMPARE(changed.count(), 0);
  }
};

QUORREL_QT_TEST(SettingsDialogTest)

}  // namespace quorrel

#include "settings_dialog_test.moc"
