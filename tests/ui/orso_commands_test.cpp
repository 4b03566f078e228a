// The ORSO commands of the main window: a model from a file's header, the offer and the fit
// results when such a file is loaded as data, and the curves saved as an .ort file.

#include <cmath>

#include <QAction>
#include <QComboBox>
#include <QTimer>
#include <QtTest>

#include "files/orso_analysis.h"
#include "files/orso_file.h"
#include "files/orso_model.h"
#include "qt_test_registry.h"
#include "test_services.h"
#include "ui/calc/calculation_runner.h"
#include "ui/files/import_dialog.h"
#include "ui/main/main_window.h"
#include "ui/model/model_window.h"
#include "ui/platform/paths.h"

using namespace quorrel;
using namespace quorrel::testing;

namespace {

const QString kFitted = QString(QUORREL_EXAMPLES) + "/multilayer_fitted.ort";

}  // namespace

class OrsoCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void anOrtFileWithAModelAndAFitIsLoadedAsData() {
    TestServices services;
    auto window = services.start();
    window->show();
    window->loadDataFile(kFitted);
    QCOMPARE(window->state().data.count(), 192);
    // The fit's results are shown, then the model is offered and built.
    QVERIFY(services.prompts.informations.size() >= 1);
    QVERIFY2(services.prompts.informations.back().startsWith(
                 "multilayer_fitted.ort holds the results of a fit:\nFitted with "
                 "Levenberg-Marquardt, weighting use 1/y\n"),
             qPrintable(services.prompts.informations.back()));
    QVERIFY(services.prompts.informations.back().contains("rho_bulk = "));
    QCOMPARE(services.prompts.questions.back(),
             QString("multilayer_fitted.ort describes its sample in the ORSO model language. "
                     "Build the model from it?"));
    QCOMPARE(window->state().model.type, SampleType::MultipleLayers);
    QCOMPARE(window->state().model.edtRepts, 10);
    QCOMPARE(window->modelWindow().windowTitle(), QString("Model - from multilayer_fitted.ort"));
    QVERIFY(window->modelChanged());
    QTRY_COMPARE(window->calculations().running(), 0);

    // Declined, the model stays as it is.
    TestServices declined;
    auto other = declined.start();
    other->show();
    declined.prompts.confirmations = {false};
    other->loadDataFile(kFitted);
    QCOMPARE(other->state().model.type, SampleType::IndependentLayers);
    QTRY_COMPARE(other->calculations().running(), 0);
  }

  void aNewModelFromAnOrsoFileAndBackAsAnOrtFile() {
    TestServices services;
    ScratchFiles files;
    auto window = services.start();
    window->show();
    services.prompts.files = {kFitted};
    window->menu().mnuNewModelFromOrso->trigger();
    QCOMPARE(services.prompts.requests.back().title, QString("New Model from ORSO File"));
    QCOMPARE(window->state().model.edtStackedLayers, 2);
    QTRY_COMPARE(window->calculations().running(), 0);

    // A file that cannot be built says why and keeps the model.
    const QString bad = files.write(
        "bad.ort",
        "# # ORSO reflectivity data file | 1.1 standard | YAML encoding\n"
        "# data_source: {sample: {model: {stack: air | Unobtainium 2 | Si}}}\n"
        "# columns: [{name: Qz}, {name: R}]\n0.1 0.5\n");
    services.prompts.files = {bad};
    window->menu().mnuNewModelFromOrso->trigger();
    QVERIFY(services.prompts.errors.back().contains("the material \"Unobtainium\" is not in the "
                                                    "material table"));
    QCOMPARE(window->state().model.edtStackedLayers, 2);

    // Save Reflectivity as .ort writes the curves with the model.
    const QString saved = files.path("curve.ort");
    services.prompts.files = {saved};
    QVERIFY(window->saveReflectivity());
    QVERIFY(OrsoFileHasModel(ToPath(saved)));
    MeasuredData data;
    std::vector<std::string> notes;
    struct Ignore : LoadQuestions {
      LoadAnswer abortOrIgnore(const std::string&) override { return LoadAnswer::Ignore; }
    } ignore;
    QCOMPARE(LoadOrsoData(ToPath(saved), 0, data, ignore, notes), LoadOutcome::Loaded);
    QCOMPARE(data.count(), 100);
    QVERIFY(!ReadOrsoFitSummary(ToPath(saved)));  // no fit was accepted
    QTRY_COMPARE(window->calculations().running(), 0);
  }

  void aPlainTablesSQzIsReadAsAFullWidthAndTheChoiceIsKept() {
    TestServices services;
    ScratchFiles files;
    auto window = services.start();
    window->show();
    const QString table = files.write("peer.dat", "0.01 0.9 0.01 0.0023548200450309493\n"
                                                  "0.02 0.5 0.01 0.0047096400900618986\n");
    for (const bool first : {true, false}) {
      services.prompts.files = {table};
      QTimer::singleShot(0, window.get(), [&window, first] {
        TImportDlg& dialog = window->importDialog();
        QTRY_VERIFY(dialog.isVisible());
        auto* width = dialog.findChild<QComboBox*>("cbSqzWidth");
        // One sigma at first; the FWHM chosen then is the next import's starting choice.
        QCOMPARE(width->currentIndex(), first ? 0 : 1);
        width->setCurrentIndex(1);
        dialog.accept();
      });
      window->importData();
      QCOMPARE(window->state().data.count(), 2);
      QVERIFY(std::fabs(window->state().data.sqz[1] - 0.002) < 1e-15);
    }
    QTRY_COMPARE(window->calculations().running(), 0);
  }
};

QUORREL_QT_TEST(OrsoCommandsTest)
#include "orso_commands_test.moc"
