// The help as compiled into the program: every page's links, anchors and pictures lead
// somewhere, every page can be found from the contents and the index, and every help
// context and topic opens a page that is there.

#include <QDir>
#include <QFile>
#include <QImage>
#include <QSet>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QtTest>

#include "qt_test_registry.h"
#include "shell/help_topics.h"

namespace quorrel {

namespace {

const QString kRoot = ":/help/";

QUrl PageUrl(const QString& page) { return QUrl("qrc:/help/" + page); }

//! What a loaded page links to, the pictures it shows, and the anchors it defines.
struct PageParts {
  QList<QUrl> links;
  QList<QUrl> images;
  QSet<QString> anchors;
};

PageParts ReadPage(QTextBrowser& browser, const QString& page) {
  browser.setSource(PageUrl(page));
  PageParts parts;
  const QUrl base = PageUrl(page);
  for (QTextBlock block = browser.document()->begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextCharFormat format = it.fragment().charFormat();
      for (const QString& name : format.anchorNames()) parts.anchors.insert(name);
      if (format.isAnchor() && !format.anchorHref().isEmpty()) {
        parts.links << base.resolved(QUrl(format.anchorHref()));
      }
      if (format.isImageFormat()) parts.images << base.resolved(QUrl(format.toImageFormat().name()));
    }
  }
  return parts;
}

QStringList Pages() { return QDir(kRoot).entryList({"*.html"}, QDir::Files, QDir::Name); }

//! "" when `target` is a page of the help (with the anchor it names, if any); else the fault.
QString LinkFault(QTextBrowser& reader, const QUrl& target) {
  if (target.scheme() != "qrc") return QString();  // web pages and mail open outside the help
  const QString file = target.path().section('/', -1);
  if (!QFile::exists(kRoot + file)) return file + " is not in the help";
  if (!target.hasFragment()) return QString();
  if (!ReadPage(reader, file).anchors.contains(target.fragment())) {
    return file + " has no anchor " + target.fragment();
  }
  return QString();
}

}  // namespace

class HelpPagesTest : public QObject {
  Q_OBJECT

 private slots:
  void theHelpHasItsPages() {
    const QStringList pages = Pages();
    for (const char* page : {"contents.html", "index.html", "samples.html", "formats.html",
                             "cli.html", "import.html", "recovery.html", "tutorial.html",
                             "spin_flip.html"}) {
      QVERIFY2(pages.contains(page), page);
    }
  }

  void everyLinkLeadsToAPageAndAnchorThatExist() {
    QTextBrowser browser;
    QTextBrowser reader;
    int links = 0;
    for (const QString& page : Pages()) {
      const PageParts parts = ReadPage(browser, page);
      for (const QUrl& link : parts.links) {
        ++links;
        const QString fault = LinkFault(reader, link);
        QVERIFY2(fault.isEmpty(), qPrintable(page + ": " + link.toString() + ": " + fault));
      }
    }
    QVERIFY(links > 300);
  }

  void everyPictureIsDrawn() {
    QTextBrowser browser;
    browser.resize(640, 800);
    int pictures = 0;
    for (const QString& page : Pages()) {
      const PageParts parts = ReadPage(browser, page);
      browser.grab();  // lays the page out and paints it, which loads its pictures
      for (const QUrl& image : parts.images) {
        ++pictures;
        const QString file = image.path().section('/', -1);
        QVERIFY2(QFile::exists(kRoot + file), qPrintable(page + ": " + file + " is missing"));
        const QVariant loaded =
            browser.document()->resource(QTextDocument::ImageResource, image);
        QImage picture = qvariant_cast<QImage>(loaded);
        if (picture.isNull()) picture = QImage::fromData(loaded.toByteArray());
        QVERIFY2(!picture.isNull() && picture.width() > 100,
                 qPrintable(page + ": " + file + " cannot be drawn"));
      }
    }
    QVERIFY(pictures >= 2);
  }

  void theContentsAndTheIndexLeadToEveryPage() {
    QTextBrowser browser;
    for (const QString& list : {QString("contents.html"), QString("index.html")}) {
      QSet<QString> reached;
      for (const QUrl& link : ReadPage(browser, list).links) {
        reached.insert(link.path().section('/', -1));
      }
      for (const QString& page : Pages()) {
        if (page == list) continue;
        QVERIFY2(reached.contains(page), qPrintable(list + " does not lead to " + page));
      }
    }
  }

  void everyContextAndTopicOpensAPageOfTheHelp() {
    QTextBrowser reader;
    for (const int context : HelpContexts()) {
      const QString page = QString::fromStdString(HelpPageOfContext(context).value_or("none"));
      const QString fault = LinkFault(reader, PageUrl(page));
      QVERIFY2(fault.isEmpty() && QFile::exists(kRoot + page.section('#', 0, 0)),
               qPrintable(QString("context %1: %2 %3").arg(context).arg(page, fault)));
    }
    for (const std::string& topic : HelpTopics()) {
      const QString page = QString::fromStdString(HelpPageOfTopic(topic).value_or("none"));
      QVERIFY2(LinkFault(reader, PageUrl(page)).isEmpty() &&
                   QFile::exists(kRoot + page.section('#', 0, 0)),
               qPrintable(QString::fromStdString(topic) + ": " + page));
    }
  }
};

QUORREL_QT_TEST(HelpPagesTest)

}  // namespace quorrel

#include "help_pages_test.moc"
