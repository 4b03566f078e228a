// The material table editor, driven through its navigator and fields on a table of its own.

#include <QAbstractButton>
#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

#include "database/material_table.h"
#include "qt_test_registry.h"
#include "test_services.h"
#include "ui/database/material_editor_dialog.h"
#include "ui/help/help_viewer.h"

namespace quorrel {

using testing::ScratchFiles;
using testing::ScriptedPrompts;

namespace {

MaterialRecord Material(const std::string& name, MaterialKind kind, int z, int id) {
  return {name, "", z, "10.0", "1.0", "1e-6", "1e-8", "5.0", "0.1", kind, id};
}

//! The dialog open on a table of H, Fe, ZnO and AlN; the largest ID is 57.
struct OpenEditor {
  OpenEditor() {
    MaterialTable::Create(path().parent_path(), "quorrel.db");
    MaterialTable table;
    table.open(path(), TableAccess::ReadWrite);
    const std::vector<MaterialRecord> records{Material("Fe", MaterialKind::Element, 26, 2),
                                              Material("H", MaterialKind::Element, 1, 57),
                                              Material("ZnO", MaterialKind::Compound, 0, 3),
                                              Material("AlN", MaterialKind::Compound, 0, 4)};
    table.insert(records);
    table.close();
    dialog.openTable(path());
    dialog.show();
  }
  std::filesystem::path path() const { return files.path("quorrel.db").toStdString(); }
  std::vector<std::string> names(MaterialKind kind) const {
    MaterialTable table;
    table.open(path(), TableAccess::ReadOnly);
    std::vector<std::string> list;
    for (const StoredMaterial& m : table.list(kind)) list.push_back(m.record.name);
    return list;
  }
  //! A field of the page shown.
  QLineEdit* field(const char* name) {
    QWidget* page = dialog.findChild<QTabWidget*>("PageControl1")->currentWidget();
    return page->findChild<QLineEdit*>(name);
  }
  QString text(const char* name) { return field(name)->text(); }
  void click(const char* name) { dialog.findChild<QAbstractButton*>(name)->click(); }
  void type(const char* name, const QString& text) { QTest::keyClicks(field(name), text); }

  ScratchFiles files;
  ScriptedPrompts prompts;
  bool answer = false;  //!< to every yes/no question
  QStringList questions;
  QWidget helpOwner;
  HelpViewer help{&helpOwner};
  TMyDBEditDlg dialog{prompts, help, [this](const QString& question) {
                        questions << question;
                        return answer;
                      }};
};

}  // namespace

class MaterialEditorTest : public QObject {
  Q_OBJECT

 private slots:
  void eachPageShowsItsKindInItsOrderAndThePageIsKept() {
    OpenEditor e;
    QCOMPARE(e.text("name"), QString("H"));
    QCOMPARE(e.text("ncharge"), QString("1"));
    QCOMPARE(e.dialog.findChild<QLineEdit*>("ID")->text(), QString("57"));
    QVERIFY(!e.dialog.findChild<QLineEdit*>("ID")->isEnabled());
    QVERIFY(e.field("name")->isReadOnly());
    e.click("btnNext");
    QCOMPARE(e.text("name"), QString("Fe"));

    auto* pages = e.dialog.findChild<QTabWidget*>("PageControl1");
    pages->setCurrentIndex(1);
    QCOMPARE(pages->tabText(1), QString("Compounds"));
    QCOMPARE(e.text("name"), QString("AlN"));
    QVERIFY(e.field("ncharge") == nullptr);
    e.click("OKBtn");
    QVERIFY(!e.dialog.isVisible());

    QString reopened;
    QTimer::singleShot(0, &e.dialog, [&] {
      reopened = e.text("name");
      e.click("HelpBtn");
      e.click("OKBtn");
    });
    QCOMPARE(e.dialog.editTable(e.path()), int(QDialog::Accepted));
    QCOMPARE(reopened, QString("AlN"));  // on the page last used
    QCOMPARE(e.help.window()->currentPage().path(), QString("/help/database.html"));
  }

  void anInsertedRecordIsPostedToItsPlace() {
    OpenEditor e;
    e.click("btnLast");
    e.click("btnInsert");
    QCOMPARE(e.dialog.findChild<QLineEdit*>("ID")->text(), QString("58"));
    QVERIFY(!e.field("name")->isReadOnly());
    e.type("name", "Li");
    e.type("ncharge", "3x");  // Z takes digits only
    e.type("weight", "6.94");
    e.type("density", "0.534");
    e.click("btnPost");
    QVERIFY(e.prompts.errors.isEmpty());
    QCOMPARE(e.names(MaterialKind::Element), (std::vector<std::string>{"H", "Li", "Fe"}));
    QCOMPARE(e.text("name"), QString("Li"));
    QCOMPARE(e.text("ncharge"), QString("3"));
    QVERIFY(e.field("name")->isReadOnly());
  }

  void aRefusedPostKeepsTheEditOpen() {
    OpenEditor e;
    e.click("btnInsert");
    e.type("weight", "6.94");
    e.click("btnPost");
    QCOMPARE(e.prompts.errors, QStringList{"Field 'name' must have a value"});
    e.click("OKBtn");  // closing stores the edit first, and is refused as well
    QVERIFY(e.dialog.isVisible());
    QVERIFY(!e.field("weight")->isReadOnly());
    QCOMPARE(e.text("weight"), QString("6.94"));
    e.click("btnCancel");
    QCOMPARE(e.text("name"), QString("H"));
  }

  void deletingAsksFirst() {
    OpenEditor e;
    e.click("btnDelete");
    QCOMPARE(e.names(MaterialKind::Element), (std::vector<std::string>{"H", "Fe"}));
    e.answer = true;
    e.click("btnDelete");
    QCOMPARE(e.names(MaterialKind::Element), std::vector<std::string>{"Fe"});
    QCOMPARE(e.text("name"), QString("Fe"));
    QCOMPARE(e.questions, (QStringList{"Delete record?", "Delete record?"}));
  }
};

QUORREL_QT_TEST(MaterialEditorTest)

}  // namespace quorrel

#include "material_editor_test.moc"
