// The data output sheet painted on a PDF page, read back as text.

#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "graph/xy_graph.h"
#include "model/sample_model.h"
#include "qt_test_registry.h"
#include "shell/summary_sheet.h"
#include "ui/print/summary_printer.h"

namespace quorrel {

class SummaryPrinterTest : public QObject {
  Q_OBJECT

 private slots:
  void aTextWiderThanItsRoomIsNarrowedIntoIt() {
    QImage page(600, 100, QImage::Format_RGB32);
    page.fill(Qt::white);
    SummarySheet sheet;
    sheet.texts.push_back(PlacedText{10, 10, 8, "Im(rho) / Å^-2 Im(rho) / Å^-2", 100});
    sheet.reflectivity = sheet.profile = SheetGraph{0, 0, 0};  // no graphs
    XyGraph graph;
    {
      QPainter painter(&page);
      PaintSummarySheet(painter, page.size(), sheet, graph, graph);
    }
    int rightmostInk = -1;
    for (int y = 0; y < page.height(); ++y) {
      for (int x = 0; x < page.width(); ++x) {
        if (page.pixel(x, y) != qRgb(255, 255, 255)) rightmostInk = std::max(rightmostInk, x);
      }
    }
    QVERIFY2(rightmostInk > 80 && rightmostInk <= 110, qPrintable(QString::number(rightmostInk)));
  }

  void thePrintedPageHoldsTheTitleAndTheLayerTable() {
    QTemporaryDir dir;
    const QString path = dir.filePath("sheet.pdf");
    XyGraph reflectivity;
    XyGraph profile;
    reflectivity.setPoints(1, {0.01, 0.02, 0.03}, {1, 0.1, 0.01});
    profile.setPoints(0, {0, 25, 50}, {0, 3.475e-6, 2.073e-6});
    {
      QPdfWriter writer(path);
      writer.setPageOrientation(QPageLayout::Landscape);
      writer.setResolution(300);
      const QSize page(writer.width(), writer.height());
      QVERIFY(page.width() > page.height());
      const DeviceTextMeasure measure(writer);
      // In the page's units: an 8-point line is 8/72 inch, 33 units at 300 dpi (11 on a screen).
      QVERIFY(measure.measure("sample", 8).height >= 33);
      SummaryInputs inputs;
      inputs.dateText = "01.02.2025 10:20";
      inputs.dataFile = "/data/nickel.dat";
      const SummarySheet sheet =
          LayOutSummarySheet(SampleModel(), inputs, page.width(), page.height(), measure);
      QPainter painter(&writer);
      PaintSummarySheet(painter, page, sheet, reflectivity, profile);
    }
    QCOMPARE(reflectivity.printPlacement().yOffsetPct, 15);
    QCOMPARE(profile.printPlacement().yOffsetPct, 55);

    QProcess pdftotext;
    pdftotext.start("pdftotext", {path, "-"});
    QVERIFY2(pdftotext.waitForFinished(30000), "pdftotext (poppler-utils) did not run");
    QCOMPARE(pdftotext.exitCode(), 0);
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    QVERIFY2(text.contains("Quorrel data output sheet"), qPrintable(text));
    QVERIFY(text.contains("/data/nickel.dat"));  // "Datafile" may come back with a ligature
    QVERIFY(text.contains("sample parameters are:"));
    QVERIFY(text.contains("3.475E-6"));
    QVERIFY(text.contains(QString::fromUtf8("rho / Å^-2")));
  }
};

QUORREL_QT_TEST(SummaryPrinterTest)

}  // namespace quorrel

#include "summary_printer_test.moc"
