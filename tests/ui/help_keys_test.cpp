// F1 in every window and dialog opens the help on that window's page.

#include <functional>

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>
#include <QtTest>

#include "qt_test_registry.h"
#include "shell/help_topics.h"
#include "test_services.h"
#include "ui/database/material_editor_dialog.h"
#include "ui/files/import_dialog.h"
#include "ui/fit/fit_dialog.h"
#include "ui/function/function_dialog.h"
#include "ui/help/help_viewer.h"
#include "ui/main/about_box.h"
#include "ui/main/tips_window.h"
#include "ui/model/model_window.h"
#include "ui/platform/dialog_prompts.h"
#include "ui/plot/profile_window.h"
#include "ui/plot/reflectivity_window.h"
#include "ui/settings/settings_dialog.h"

namespace quorrel {

using testing::RecordingDesktop;
using testing::TestServices;

namespace {

//! The page the help shows, relative to the help's root; empty while no help is open.
QString ShownPage(const HelpViewer& help) {
  const HelpWindow* window = help.window();
  if (window == nullptr || !window->isVisible()) return QString();
  return window->currentPage().toString().remove("qrc:/help/");
}

//! Shows `dialog`, presses F1 in it and hides it again; the page the help then shows.
QString PageOfF1(QWidget& dialog, HelpViewer& help) {
  if (help.window() != nullptr) help.window()->hide();
  dialog.show();
  dialog.activateWindow();
  // The key goes to the active window; the one shown before may still hold that place.
  if (!QTest::qWaitFor([&dialog] { return QApplication::activeWindow() == &dialog; })) {
    return "(the dialog did not become active)";
  }
  QTest::keyClick(&dialog, Qt::Key_F1);
  const QString page = ShownPage(help);
  dialog.hide();
  return page;
}

}  // namespace

class HelpKeysTest : public QObject {
  Q_OBJECT

 private slots:
  void f1InTheChildWindowsOpensTheirPages() {
    TestServices services;
    auto window = services.start();
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    auto* area = window->findChild<QMdiArea*>("mdiArea");
    const std::pair<QWidget*, QString> children[] = {
        {&window->modelWindow(), "model.html"},
        {&window->plotWindow(), "reflectivity.html"},
        {&window->profileWindow(), "profile.html"},
    };
    for (const auto& [child, page] : children) {
      area->setActiveSubWindow(window->frameOf(*child));
      QTest::keyClick(window.get(), Qt::Key_F1);
      QCOMPARE(ShownPage(window->help()), page);
    }
  }

  void f1InTheDialogsOfTheMainWindowOpensTheirPages() {
    TestServices services;
    auto window = services.start();
    window->show();
    HelpViewer& help = window->help();
    QCOMPARE(PageOfF1(window->settingsDialog(), help), QString("settings.html"));
    QCOMPARE(PageOfF1(window->functionDialog(), help), QString("function.html"));
    QCOMPARE(PageOfF1(window->fitDialog(), help), QString("fit.html"));
    QCOMPARE(PageOfF1(window->materialEditor(), help), QString("database.html#editor"));
    QCOMPARE(PageOfF1(window->importDialog(), help), QString("import.html"));
  }

  void f1InTheAboutBoxAndTheTipsOpensTheirSections() {
    QWidget owner;
    HelpViewer help(&owner);
    RecordingDesktop desktop;
    TAboutBox about(desktop, help);
    QCOMPARE(PageOfF1(about, help), QString("main.html#about"));
    TfTipOfTheDay tips(desktop, help, std::size_t{0});
    QCOMPARE(PageOfF1(tips, help), QString("main.html#tips"));
  }

  // The help of a modal dialog is not blocked by it, and closes with Escape.
  void f1InTheChoiceOfAnOrsoDataSetOpensItsSectionAboveTheDialog() {
    QWidget owner;
    HelpViewer help(&owner);
    DialogPrompts prompts;
    prompts.setHelp(&help);
    QString page;
    bool helpOnTop = false;
    bool closedByEscape = false;
    QTimer::singleShot(0, [&] {
      QWidget* question = QApplication::activeModalWidget();
      if (question == nullptr || !QTest::qWaitForWindowActive(question)) return;
      QTest::keyClick(question, Qt::Key_F1);
      page = ShownPage(help);
      HelpWindow* window = help.window();
      helpOnTop = window != nullptr && QApplication::activeModalWidget() == window;
      if (window != nullptr && QTest::qWaitForWindowActive(window)) {
        QTest::keyClick(window, Qt::Key_Escape);
        closedByEscape = !window->isVisible();
      }
      question->close();
    });
    const std::optional<int> chosen = prompts.chooseItem(
        "spins.ort holds several data sets; load", {"up", "down"}, help_context::kDataSetChoice);
    QVERIFY(!chosen.has_value());
    QCOMPARE(page, QString("import.html#orso"));
    QVERIFY(helpOnTop);
    QVERIFY(closedByEscape);
  }
};

QUORREL_QT_TEST(HelpKeysTest)

}  // namespace quorrel

#include "help_keys_test.moc"
