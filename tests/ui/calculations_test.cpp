// Calculations requested from the main window run on workers: the latest request wins, the
// busy pointer shows while any runs, and a failure is reported with the pointer restored.

#include <QApplication>
#include <QCursor>
#include <QTableView>
#include <QtTest>

#include "qt_test_registry.h"
#include "test_services.h"
#include "ui/calc/calculation_runner.h"
#include "ui/model/model_window.h"
#include "ui/plot/profile_window.h"
#include "ui/plot/reflectivity_slots.h"
#include "ui/plot/reflectivity_window.h"

namespace quorrel {

using testing::TestServices;

class CalculationsTest : public QObject {
  Q_OBJECT

 private:
  static bool Busy() {
    return QApplication::overrideCursor() != nullptr &&
           QApplication::overrideCursor()->shape() == Qt::WaitCursor;
  }

 private slots:
  void aRequestReturnsAtOnceAndTheCurveArrives() {
    TestServices services;
    auto window = services.start();
    window->show();
    QTRY_COMPARE(window->calculations().running(), 0);  // the start-up curves
    window->calculateReflectivity();
    window->calculateProfile();
    QCOMPARE(window->calculations().running(), 2);
    QVERIFY(Busy());
    QTRY_COMPARE(window->calculations().running(), 0);
    QVERIFY(QApplication::overrideCursor() == nullptr);
    const std::vector<QPointF> curve =
        window->plotWindow().graph().points(reflectivity_slot::kPlain);
    QCOMPARE(curve.size(), std::size_t{100});
    QCOMPARE(curve[1].x(), 0.0025);
    // The default profile: -6 to 31 Å in steps of 0.37; the accumulated steps pass 31 just
    // before the 101st point.
    const std::vector<QPointF> profile =
        window->profileWindow().graph().points(TfrmProfile::kProfileSlot);
    QCOMPARE(profile.size(), std::size_t{100});
    QCOMPARE(profile.front().x(), -6.0);
    QVERIFY(services.prompts.errors.isEmpty());
  }

  void theLaterOfTwoRequestsStaysOnThePlot() {
    TestServices services;
    auto window = services.start();
    window->show();
    // A slow request (999 points, a thick multilayer, magnetic) and a quick one after it.
    CalcSettings& settings = window->state().settings;
    SampleModel& model = window->state().model;
    settings.edtNumPoints = 999;
    settings.cbMagnet = true;
    model.type = SampleType::MultipleLayers;
    model.edtRepts = 99;
    window->calculateReflectivity();
    settings.edtNumPoints = 40;
    settings.cbMagnet = false;
    model.type = SampleType::IndependentLayers;
    window->calculateReflectivity();
    QTRY_COMPARE(window->calculations().running(), 0);
    XyGraph& graph = window->plotWindow().graph();
    QCOMPARE(graph.points(reflectivity_slot::kPlain).size(), std::size_t{40});
    QVERIFY(!graph.hasSeries(reflectivity_slot::kSpinUp));
  }

  // An unreadable cell is told once and marked while it stays unreadable.
  void aFailureIsReportedAndThePointerReturns() {
    TestServices services;
    auto window = services.start();
    window->show();
    window->state().model.baseGrid.setCell(2, kColThickness, "thick");
    window->calculateReflectivity();
    window->calculateProfile();
    QTRY_COMPARE(window->calculations().running(), 0);
    QVERIFY(QApplication::overrideCursor() == nullptr);
    QCOMPARE(services.prompts.errors.size(), 1);
    QCOMPARE(services.prompts.errors.front(),
             QString("Layer table, row 1, d / Å: 'thick' is not a valid floating point value"));
    const QAbstractItemModel* cells =
        window->modelWindow().findChild<QTableView*>("BaseGrid")->model();
    QVERIFY(cells->index(1, 0).data(Qt::BackgroundRole).isValid());
    window->state().model.baseGrid.setCell(2, kColSigma, "4");
    window->recalculate();
    QTRY_COMPARE(window->calculations().running(), 0);
    QCOMPARE(services.prompts.errors.size(), 1);
    window->state().model.baseGrid.setCell(2, kColThickness, "30");
    window->recalculate();
    QTRY_VERIFY(!cells->index(1, 0).data(Qt::BackgroundRole).isValid());
  }

  void anOlderResultNeverReplacesANewerOne() {
    CalculationRunner runner;
    SampleModel model;
    CalcSettings settings;
    QList<int> delivered;
    connect(&runner, &CalculationRunner::reflectivityReady, this,
            [&delivered](const ReflectivityResult& result) {
              delivered << static_cast<int>(result.plain.size());
            });
    settings.edtNumPoints = 999;
    model.type = SampleType::MultipleLayers;
    model.edtRepts = 99;
    runner.requestReflectivity(model, settings, MeasuredData{});
    settings.edtNumPoints = 10;
    model.type = SampleType::IndependentLayers;
    runner.requestReflectivity(model, settings, MeasuredData{});
    QSignalSpy idle(&runner, &CalculationRunner::idle);
    QVERIFY(idle.wait(20000));
    // The slow first request may end before or after the quick one; once the quick one
    // has been shown, the slow one is dropped.
    QCOMPARE(delivered.last(), 10);
    QVERIFY(delivered.size() == 1 || delivered == (QList<int>{999, 10}));
  }
};

QUORREL_QT_TEST(CalculationsTest)

}  // namespace quorrel

#include "calculations_test.moc"
