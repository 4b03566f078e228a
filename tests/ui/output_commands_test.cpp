// What the main window hands out: the clipboard copy, the printed summary, pictures of the
// graphs, and the table editor working on the user's own copy of the table.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QtTest>

#include "qt_test_registry.h"
#include "test_services.h"
#include "ui/calc/calculation_runner.h"
#include "ui/database/material_editor_dialog.h"
#include "ui/model/model_window.h"
#include "ui/plot/profile_window.h"
#include "ui/plot/reflectivity_window.h"

namespace quorrel {

using testing::ScratchFiles;
using testing::TestServices;

namespace {

void Activate(TForm1& window, QWidget& child) {
  window.findChild<QMdiArea*>("mdiArea")->setActiveSubWindow(window.frameOf(child));
}

void CalculateBoth(TForm1& window) {
  window.calculateReflectivity();
  window.calculateProfile();
  QTRY_COMPARE(window.calculations().running(), 0);
}

}  // namespace

class OutputCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void copyDataPutsTheActivePlotsCurvesOnTheClipboard() {
    TestServices services;
    auto window = services.start();
    window->show();
    window->state().settings.cbMagnet = true;
    window->state().settings.cbTransmission = true;
    window->state().settings.edtSampleThickness = 1;
    CalculateBoth(*window);
    QApplication::clipboard()->setText("before");

    Activate(*window, window->modelWindow());
    window->findChild<QAction*>("mnuCopyData")->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QString("before"));

    Activate(*window, window->plotWindow());
    window->findChild<QAction*>("mnuCopyData")->trigger();
    const QStringList lines = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 100);
    QCOMPARE(lines[10].split('\t').size(), 5);  // Qz, R, spin +1, spin -1, transmission
    QVERIFY(lines[10].startsWith("0.025\t"));

    Activate(*window, window->profileWindow());
    window->findChild<QAction*>("mnuCopyData")->trigger();
    const QStringList depths = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
    QCOMPARE(depths.size(), 100);
    QCOMPARE(depths.front().split('\t').size(), 2);
    QVERIFY(depths.front().startsWith("-6\t"));
  }

  void theSummaryIsPrintedOnOneLandscapePage() {
    TestServices services;
    ScratchFiles files;
    auto window = services.start();
    window->show();
    window->loadDataFile(QUORREL_EXAMPLES "/multilayer_measured.dat");
    window->loadModelFile(QUORREL_EXAMPLES "/multilayer.par");
    CalculateBoth(*window);
    services.desktop.pdfFile = files.path("summary.pdf");
    window->findChild<QAction*>("mnuPrint")->trigger();
    QVERIFY(QFileInfo(services.desktop.pdfFile).size() > 5000);
    QProcess text;
    text.start("pdftotext", {"-layout", services.desktop.pdfFile, "-"});
    QVERIFY2(text.waitForFinished(20000), "pdftotext (poppler-utils) must be installed");
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    QVERIFY(printed.contains("Quorrel data output sheet"));
    QVERIFY(printed.contains("multilayer_measured.dat"));
    QVERIFY(printed.contains("sample parameters are:"));
    QVERIFY(printed.contains("Multilayer stack appended to layer no. 1 with 10 repetitions."));
    QVERIFY(printed.contains("9.41E-6"));
    QCOMPARE(printed.count('\f'), 1);  // one page
  }

  void aCancelledPrintDialogPrintsNothing() {
    TestServices services;
    auto window = services.start();
    window->show();
    window->printSummary();  // the desktop has no file to print into: the dialog is cancelled
    QVERIFY(services.prompts.errors.isEmpty());
  }

  void theActivePlotIsSavedAsAPicture() {
    TestServices services;
    ScratchFiles files;
    auto window = services.start();
    window->show();
    CalculateBoth(*window);
    Activate(*window, window->plotWindow());
    services.prompts.pictureSize = QSize(640, 400);
    for (const char* name : {"graph.pdf", "graph.svg", "graph.png"}) {
      services.prompts.files = {files.path(name)};
      window->findChild<QAction*>("mnuSaveGraph")->trigger();
      QVERIFY2(QFileInfo(files.path(name)).size() > 1000, name);
    }
    QCOMPARE(QImage(files.path("graph.png")).size(), QSize(640, 400));
    QFile svg(files.path("graph.svg"));
    QVERIFY(svg.open(QIODevice::ReadOnly));
    QVERIFY(svg.readAll().contains("<svg"));
    services.prompts.files = {files.path("graph.txt")};
    window->findChild<QAction*>("mnuSaveGraph")->trigger();
    QCOMPARE(services.prompts.errors.size(), 1);
  }

  void theTableEditorWorksOnTheUsersCopy() {
    TestServices services;
    auto window = services.start({"nosplash", "nodatabase"});
    window->show();
    QVERIFY(window->materialLists().elements.empty());
    const std::string shipped = window->state().sldDatabasePath;
    bool listsLoadedBefore = false;
    QTimer::singleShot(0, window.get(), [&] {
      TMyDBEditDlg& editor = window->materialEditor();
      QTRY_VERIFY(editor.isVisible());
      listsLoadedBefore = !window->materialLists().elements.empty();
      editor.done(QDialog::Accepted);
    });
    window->findChild<QAction*>("mnuDBedit")->trigger();
    QVERIFY(listsLoadedBefore);
    QVERIFY(window->state().materialTableLoaded);
    const QString copy = QString::fromStdString(window->state().sldDatabasePath);
    QVERIFY(copy != QString::fromStdString(shipped));
    QVERIFY(copy.startsWith(services.dataFolder.path()));
    QVERIFY(QFileInfo(copy).isWritable());
    QVERIFY(!window->materialLists().elements.empty());
    QFile::remove(copy);
  }
};

QUORREL_QT_TEST(OutputCommandsTest)

}  // namespace quorrel

#include "output_commands_test.moc"
