// The main window: start-up with and without settings, the switches, the settings kept at
// shut-down, menus and tool bar, window arrangement, logos and help.

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTextBrowser>
#include <QToolButton>
#include <QtTest>

#include "qt_test_registry.h"
#include "shell/tiling.h"
#include "test_services.h"
#include "ui/help/help_viewer.h"
#include "ui/main/splash_screen.h"
#include "ui/main/tips_window.h"
#include "ui/main/tool_bar.h"
#include "ui/model/model_window.h"
#include "ui/plot/profile_window.h"
#include "ui/platform/shared_file_dialogs.h"
#include "ui/plot/reflectivity_window.h"

namespace quorrel {

using testing::TestServices;

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  static QAction* item(TForm1& window, const char* name) {
    return window.findChild<QAction*>(name);
  }
  static TfTipOfTheDay* visibleTips(TForm1& window) {
    for (auto* tips : window.findChildren<TfTipOfTheDay*>()) {
      if (tips->isVisible()) return tips;
    }
    return nullptr;
  }

 private slots:
  void aFirstStartTakesTheDefaults() {
    TestServices services;
    services.settings.store().removeSection("Main");
    auto window = services.start({"nosplash", "nodatabase"});
    window->show();
    QCOMPARE(window->fileDialogs().openFolder(), QString("./"));
    QCOMPARE(window->size(), QSize(1200, 800));
    QCOMPARE(window->state().model.type, SampleType::IndependentLayers);
    const FitSettings fit = window->fitSession().settings();
    QCOMPARE(fit.weighting, Weighting::Statistical);
    QVERIFY(!fit.includeResolution && !fit.includeBackground && !fit.displayGraph);
    QCOMPARE(window->state().settings.radiation, Radiation::Neutrons);
    QCOMPARE(window->state().settings.edtWavelength, 4.66);
    QCOMPARE(QString::fromStdString(window->state().sldDatabasePath),
             QApplication::applicationDirPath() + "/database/quorrel.db");
    QVERIFY(visibleTips(*window) != nullptr);
    QVERIFY(services.prompts.errors.isEmpty());
  }

  void closingTheTipsWithTheBoxCheckedKeepsThemAway() {
    TestServices services;
    services.settings.store().removeSection("Main");
    {
      auto window = services.start({"nosplash", "nodatabase"});
      window->show();
      TfTipOfTheDay* tips = visibleTips(*window);
      QVERIFY(tips != nullptr);
      tips->findChild<QCheckBox*>("cbDontShow")->setChecked(true);
      QTest::mouseClick(tips->findChild<QPushButton*>("btnClose"), Qt::LeftButton);
      window->close();
    }
    QCOMPARE(services.settings.stored("Main/expertmode").toString(), QString("1"));
    auto again = services.start({"nosplash", "nodatabase"});
    again->show();
    QVERIFY(visibleTips(*again) == nullptr);
  }

  void theSplashAnimatesUnlessNosplash() {
    TestServices services;
    auto plain = services.start({"nodatabase"});
    QVERIFY(plain->splash() != nullptr);
    QCOMPARE(plain->splash()->passes(), 5);
    plain->show();
    QVERIFY(plain->splash() == nullptr);  // removed at the first showing

    for (const char* ignored : {"NOSPLASH", "-nosplash"}) {
      auto window = services.start({ignored, "nodatabase"});
      QVERIFY(window->splash() != nullptr);
    }
    auto quiet = services.start({"nosplash", "nodatabase"});
    QVERIFY(quiet->splash() == nullptr);
  }

  void theMaterialTableLoadsAtStartUnlessNodatabase() {
    TestServices services;
    auto window = services.start({"nosplash"});
    window->show();
    QVERIFY(window->materialLists().elements.size() > 80);
    QVERIFY(!window->materialLists().compounds.empty());

    TestServices broken;
    broken.settings.store().write("Main", "SLD Database", "/nonexistent/quorrel.db");
    auto failing = broken.start({"nosplash"});
    failing->show();
    QCOMPARE(broken.prompts.informations,
             QStringList{"There is something wrong with this database file.\nyou better "
                         "reload it..."});

    TestServices skipped;
    skipped.settings.store().write("Main", "SLD Database", "/nonexistent/quorrel.db");
    auto notLoaded = skipped.start({"nosplash", "nodatabase"});
    notLoaded->show();
    QVERIFY(skipped.prompts.informations.isEmpty());
    QVERIFY(notLoaded->materialLists().elements.empty());
    QVERIFY(!notLoaded->state().materialTableLoaded);
  }

  void theSettingsAreKeptBetweenRuns() {
    TestServices services;
    {
      auto window = services.start();
      window->show();
      window->move(40, 30);
      window->resize(1000, 700);
      window->state().settings.radiation = Radiation::Xrays;
      window->state().settings.edtWavelength = 1.5406;
      window->state().model.type = SampleType::SymmetricFilm;
      window->close();
    }
    QCOMPARE(services.settings.stored("Window/state").toString(), QString("2"));
    QCOMPARE(services.settings.stored("Last Session/radiation").toString(), QString("x-rays"));
    QCOMPARE(services.settings.stored("Last Session/wavelength").toString(), QString("1.5406"));
    // No file was chosen in this run, so no folder is stored.
    QCOMPARE(services.settings.stored("Last Session/lastdir").toString(), QString());
    auto again = services.start();
    again->show();
    QCOMPARE(again->pos(), QPoint(40, 30));
    QCOMPARE(again->size(), QSize(1000, 700));
    QCOMPARE(again->state().settings.radiation, Radiation::Xrays);
    QCOMPARE(again->state().settings.edtWavelength, 1.5406);
    QCOMPARE(again->state().model.type, SampleType::SymmetricFilm);
    QCOMPARE(again->state().model.baseGrid.cell(again->state().model.lastRow(), 0),
             std::string("core"));
  }

  void closingMaximisedForgetsThePlacement() {
    TestServices services;
    {
      auto window = services.start();
      window->show();
      window->close();
    }
    QVERIFY(services.settings.stored("Window/top").isValid());
    {
      auto window = services.start();
      window->showMaximized();
      window->close();
    }
    QCOMPARE(services.settings.stored("Window/state").toString(), QString("3"));
    QVERIFY(!services.settings.stored("Window/top").isValid());
    QVERIFY(!services.settings.stored("Window/width").isValid());
    auto again = services.start();
    QVERIFY(again->windowState() & Qt::WindowMaximized);
  }

  void theFitOptionsAreStoredOnlyAfterAnAcceptedFit() {
    TestServices services;
    services.settings.store().write("Last Session", "chi2", "3");
    {
      auto window = services.start();
      window->show();
      QCOMPARE(window->fitSession().settings().weighting, Weighting::None);
      window->fitSession().setWeighting(Weighting::Logarithmic);
      window->close();
    }
    QCOMPARE(services.settings.stored("Last Session/chi2").toString(), QString("3"));
    {
      auto window = services.start();
      window->show();
      window->fitSession().setWeighting(Weighting::GivenErrors);
      window->fitSession().setIncludeBackground(true);
      window->fitSession().open(window->state().model, FitData{});
      QVERIFY(window->fitSession().ok());
      window->close();
    }
    QCOMPARE(services.settings.stored("Last Session/chi2").toString(), QString("1"));
    QCOMPARE(services.settings.stored("Last Session/fitBackground").toString(), QString("1"));
    QCOMPARE(services.settings.stored("Last Session/fitResolution").toString(), QString("0"));
  }

  void menusAndToolBarHaveTheirCaptionsAndHints() {
    TestServices services;
    auto window = services.start();
    const std::pair<const char*, const char*> captions[] = {
        {"mnuLoadData", "&Load data file"},     {"mnuLoadModel", "L&oad model file"},
        {"mnuSaveRefl", "&Save Reflectivity"},  {"mnuSaveProfile", "Save P&rofile"},
        {"mnuSaveModel", "Save &Model"},        {"mnuPrint", "&Print ..."},
        {"mnuExit", "E&xit"},                   {"mnuCopyData", "&Copy data"},
        {"mnuCalculateProfile", "calculate &profile"},
        {"mnuCalculationRefl", "calculate &reflectivity"},
        {"mnuFit", "&fit data"},                {"mnuSettings", "&Settings ..."},
        {"mnuDBedit", "&edit"},                 {"mnuDBreload", "&load from disk"},
        {"mnuTile", "&Tile"},                   {"mnuCascade", "&Cascade"},
        {"mnuArrangeIcons", "&Arrange Icons"},  {"mnuContents", "&Contents"},
        {"mnuIndex", "&Index"},                 {"mnuTutorial", "&Tutorial"},
        {"mnuTipsoftheday", "Tips of the &day"}, {"mnuAbout", "&about"},
    };
    for (const auto& [name, caption] : captions) {
      QAction* action = item(*window, name);
      QVERIFY2(action != nullptr, name);
      QCOMPARE(action->text(), QString(caption));
    }
    QStringList menus;
    for (QAction* top : window->menuBar()->actions()) menus << top->text();
    QCOMPARE(menus, (QStringList{"&File", "&Edit", "&Calculate", "&Database", "&Window", "&Help"}));

    QStringList hints;
    QList<QToolButton*> buttons = window->toolbar().findChildren<QToolButton*>();
    std::sort(buttons.begin(), buttons.end(),
              [](QToolButton* a, QToolButton* b) { return a->x() < b->x(); });
    for (QToolButton* button : buttons) hints << button->toolTip().section(" (", 0, 0);
    QCOMPARE(hints, (QStringList{"load data", "load model", "save data", "print summary",
                                 "calculate profile", "calculate reflectivity", "fit data",
                                 "calculation settings"}));
    // The fit waits for measured data.
    QVERIFY(!item(*window, "mnuFit")->isEnabled());
    QVERIFY(!window->toolbar().btnFit->isEnabled());
  }

  void theEditMenuFollowsThePlotWindows() {
    TestServices services;
    auto window = services.start();
    window->show();
    QMdiArea* area = window->findChild<QMdiArea*>("mdiArea");
    QAction* edit = window->findChild<QMenu*>("mnuEdit")->menuAction();
    area->setActiveSubWindow(window->frameOf(window->profileWindow()));
    QVERIFY(edit->isEnabled());
    area->setActiveSubWindow(window->frameOf(window->modelWindow()));
    QVERIFY(!edit->isEnabled());
    area->setActiveSubWindow(window->frameOf(window->plotWindow()));
    QVERIFY(edit->isEnabled());
  }

  void tilingPutsThePlotsLeftAndTheEditorRight() {
    TestServices services;
    auto window = services.start();
    window->show();
    window->resize(1100, 760);
    QMdiSubWindow* plot = window->frameOf(window->plotWindow());
    QMdiSubWindow* profile = window->frameOf(window->profileWindow());
    QMdiSubWindow* model = window->frameOf(window->modelWindow());
    window->findChild<QMdiArea*>("mdiArea")->cascadeSubWindows();
    item(*window, "mnuTile")->trigger();
    const int h = window->height() - window->menuBar()->height() - window->toolbar().height() -
                  window->statusBar()->height() - 10;
    const int plotWidth = 1100 - (window->modelWindow().topPanelWidth() + 20);
    QCOMPARE(plot->geometry(), QRect(0, 0, plotWidth, h / 2));
    QCOMPARE(profile->geometry(), QRect(0, h / 2, plotWidth, h / 2));
    QCOMPARE(model->geometry(), QRect(plotWidth, 0, TfrmModel::kWidth, h));
    // The editor fits into the window.
    QVERIFY(model->geometry().right() < window->width());
  }

  void closingAChildWindowMinimisesIt() {
    TestServices services;
    auto window = services.start();
    window->show();
    QMdiSubWindow* plot = window->frameOf(window->plotWindow());
    plot->close();
    QVERIFY(plot->isMinimized());
    QCOMPARE(window->findChild<QMdiArea*>("mdiArea")->subWindowList().size(), 3);
  }

  void theLogosOpenTheirAddresses() {
    TestServices services;
    auto window = services.start();
    window->show();
    ToolbarPanel& bar = window->toolbar();
    const QString facility = QString::fromStdString(window->state().addresses.facilityPage);
    QTest::mouseMove(bar.facilityLogo, QPoint(5, 5));
    QCOMPARE(window->statusText(),
             "click here connect to " + facility + " using your default web browser");
    QTest::mouseClick(bar.strip, Qt::LeftButton);
    QCOMPARE(services.desktop.addresses, QStringList{facility});
    QVERIFY(services.prompts.errors.isEmpty());
    QCOMPARE(window->statusText(), QString());

    services.desktop.browserWorks = false;
    const QString maker = QString::fromStdString(window->state().addresses.makerPage);
    QTest::mouseClick(bar.makerLogo, Qt::RightButton);
    QCOMPARE(services.prompts.errors, QStringList{"could not connect to " + maker});
    QCOMPARE(window->statusText(), QString());
  }

  void helpOpensTheActiveWindowsPage() {
    TestServices services;
    auto window = services.start();
    window->show();
    QMdiArea* area = window->findChild<QMdiArea*>("mdiArea");
    area->setActiveSubWindow(window->frameOf(window->plotWindow()));
    window->showActiveHelp();
    QCOMPARE(window->help().window()->currentPage().path(), QString("/help/reflectivity.html"));
    area->setActiveSubWindow(window->frameOf(window->modelWindow()));
    window->showActiveHelp();
    QCOMPARE(window->help().window()->currentPage().path(), QString("/help/model.html"));
    item(*window, "mnuIndex")->trigger();
    QCOMPARE(window->help().window()->currentPage().path(), QString("/help/index.html"));
    item(*window, "mnuTutorial")->trigger();
    QVERIFY(window->help().window("tutwnd") != nullptr);
    QCOMPARE(window->help().window("tutwnd")->currentPage().path(), QString("/help/tutorial.html"));
  }

  void everyHelpPageExistsAndHasATitle() {
    TestServices services;
    auto window = services.start();
    for (const int context : {10, 11, 12, 13, 14, 15, 19, 40, 70, 80, 330, 340, 350, 380}) {
      window->help().showContext(context);
      auto* browser = window->help().window()->findChild<QTextBrowser*>();
      QVERIFY2(!browser->documentTitle().isEmpty(), qPrintable(QString::number(context)));
      QVERIFY(browser->toPlainText().size() > 200);
    }
    for (const char* topic : {"Index", "settingsdialog", "fittingdialog", "functiondialog",
                              "DatabaseEditor"}) {
      window->help().showTopic(topic);
      QVERIFY(window->help().window()->currentPage().path() != "/help/contents.html");
    }
  }
};

QUORREL_QT_TEST(MainWindowTest)

}  // namespace quorrel

#include "main_window_test.moc"
