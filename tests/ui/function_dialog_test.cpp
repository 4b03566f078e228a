// The function dialog: the built-in list, the user function and its file, on real widgets.

#include <utility>

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

#include "qt_test_registry.h"
#include "test_services.h"
#include "ui/function/function_dialog.h"
#include "ui/help/help_viewer.h"
#include "ui/platform/shared_file_dialogs.h"

namespace quorrel {

using testing::ScratchFiles;
using testing::ScriptedPrompts;

namespace {

//! A shown dialog on `function`, its files answered by `prompts`.
struct OpenDialog {
  explicit OpenDialog(FunctionSettings start = {}) : function(std::move(start)) { dialog.show(); }

  template <typename T>
  T* find(const char* name) { return dialog.findChild<T*>(name); }
  QString label(const char* name) { return find<QLabel>(name)->text(); }
  void click(const char* name) {
    auto* button = find<QAbstractButton>(name);
    // A radio button takes clicks on its circle and text only, not on the whole row.
    const bool radio = qobject_cast<QRadioButton*>(button) != nullptr;
    QTest::mouseClick(button, Qt::LeftButton, {},
                      radio ? QPoint(8, button->height() / 2) : button->rect().center());
  }
  QStringList names() const {
    QStringList list;
    for (const std::string& name : function.parameterNames) list << QString::fromStdString(name);
    return list;
  }

  FunctionSettings function;
  ScriptedPrompts prompts;
  SharedFileDialogs files{prompts, QDir::tempPath()};
  QWidget owner;  // the help windows close with it
  HelpViewer help{&owner};
  TFunctionDlg dialog{function, files, prompts, help};
};

}  // namespace

class FunctionDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void theListShowsEachFunctionAndOkNamesItsParameters() {
    OpenDialog d;
    auto* list = d.find<QComboBox>("cbbFunction");
    QCOMPARE(list->count(), 5);
    QCOMPARE(d.label("lblFunction"), QString("f(z)=exp(-z/xsi)"));
    QCOMPARE(d.label("lblComment"), QString("xsi: correlation length"));
    const int counts[] = {1, 2, 3, 4, 4};
    for (int index = 1; index < 5; ++index) {
      QTest::keyClick(list, Qt::Key_Down);
      QCOMPARE(d.function.builtInIndex, index);
      QCOMPARE(d.function.numParameters, counts[index]);
      QCOMPARE(d.find<QSpinBox>("edtNumParameters")->value(), counts[index]);
    }
    QCOMPARE(d.label("lblFunction"), QString("f(z)=exp(-z/xsi)*A*sin(2*3.1415926535*z/lam+phi)"));
    QTest::keyClick(list, Qt::Key_Up);
    QTest::keyClick(list, Qt::Key_Up);
    QCOMPARE(list->currentText(), QString("oscillating"));
    QCOMPARE(d.label("lblFunction"), QString("f(z)=A*cos(2*3.1415926535*z/lam+phi)"));
    QCOMPARE(d.label("lblComment"), QString("A: amplitude, lam: wavelength, phi: phase"));
    d.click("btnOK");
    QCOMPARE(d.dialog.result(), int(QDialog::Accepted));
    QVERIFY(!d.dialog.isVisible());
    QCOMPARE(d.names(), (QStringList{"A", "lam", "phi", "D", "E"}));
    QCOMPARE(d.function.numParameters, 3);
  }

  void theKindTakesEffectAtOnceAlsoWhenCancelled() {
    OpenDialog d;
    const QList<QWidget*> userControls{
        d.find<QLineEdit>("edtUserFunction"), d.find<QLineEdit>("edtComment"),
        d.find<QSpinBox>("edtNumParameters"), d.find<QToolButton>("btnLoadFnc"),
        d.find<QToolButton>("btnSaveFnc")};
    for (QWidget* control : userControls) QVERIFY(!control->isEnabled());
    d.click("RBUser");
    QCOMPARE(d.function.kind, FunctionKind::UserDefined);
    for (QWidget* control : userControls) QVERIFY(control->isEnabled());
    for (const char* name : {"cbbFunction", "lblFunction", "lblComment"}) {
      QVERIFY(!d.find<QWidget>(name)->isVisible());
    }
    QTest::keyClicks(d.find<QLineEdit>("edtUserFunction"), "*A");
    QTest::keyClicks(d.find<QLineEdit>("edtComment"), " of mine");
    QTest::keyClick(d.find<QSpinBox>("edtNumParameters"), Qt::Key_Up);
    QCOMPARE(d.function.expression, std::string("z*A"));
    QCOMPARE(d.function.comment, std::string("comment of mine"));
    QCOMPARE(d.function.numParameters, 2);

    d.click("RBbuiltin");
    QVERIFY(d.find<QComboBox>("cbbFunction")->isVisible());
    QCOMPARE(d.function.numParameters, 1);  // the listed function's count again
    d.click("btnCANCEL");
    QCOMPARE(d.dialog.result(), int(QDialog::Rejected));
    QCOMPARE(d.function.kind, FunctionKind::BuiltIn);
    QCOMPARE(d.names(), (QStringList{"A", "B", "C", "D", "E"}));
  }

  void savingWritesTheThreeLines() {
    OpenDialog d;
    ScratchFiles scratch;
    d.click("RBUser");
    d.prompts.files << scratch.path("mine.fnc");
    d.click("btnSaveFnc");
    QFile file(scratch.path("mine.fnc"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("comment\r\nz\r\n1\r\n"));
    QCOMPARE(d.prompts.requests.at(0).title, QString("Save User Defined Function"));
    QCOMPARE(d.prompts.requests.at(0).filter, QString("Quorrel user function (*.fnc)"));
  }

  void loadingSetsTextsCountAndNames_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<bool>("fails");
    QTest::newRow("three") << QByteArray("ramp\r\nA*z+B\r\n3\r\n") << 3
                           << QStringList{"A", "B", "C", "xsi", "w"} << false;
    QTest::newRow("seven is five") << QByteArray("ramp\r\nA*z+B\r\n7\r\n") << 5
                                   << QStringList{"A", "B", "C", "D", "E"} << false;
    QTest::newRow("not a number") << QByteArray("ramp\r\nA*z+B\r\nthree\r\n") << 1
                                  << QStringList{"A", "lam", "phi", "xsi", "w"} << true;
  }
  void loadingSetsTextsCountAndNames() {
    QFETCH(QByteArray, content);
    QFETCH(int, count);
    QFETCH(QStringList, names);
    QFETCH(bool, fails);
    FunctionSettings start;
    start.kind = FunctionKind::UserDefined;
    start.parameterNames = {"A", "lam", "phi", "xsi", "w"};
    OpenDialog d(start);
    ScratchFiles scratch;
    d.prompts.files << scratch.write("mine.fnc", content);
    d.click("btnLoadFnc");
    QCOMPARE(d.prompts.requests.at(0).title, QString("Load User Defined Function File"));
    QCOMPARE(d.files.openFolder(), QDir::tempPath());
    QCOMPARE(d.find<QLineEdit>("edtComment")->text(), QString("ramp"));
    QCOMPARE(d.find<QLineEdit>("edtUserFunction")->text(), QString("A*z+B"));
    QCOMPARE(d.function.expression, std::string("A*z+B"));
    QCOMPARE(d.find<QSpinBox>("edtNumParameters")->value(), count);
    QCOMPARE(d.function.numParameters, count);
    QCOMPARE(d.names(), names);
    QCOMPARE(d.prompts.errors.size(), fails ? 1 : 0);
    if (fails) QVERIFY(d.prompts.errors.at(0).contains("'three' is not a valid integer"));
  }

  void helpShowsTheFunctionPage() {
    OpenDialog d;
    d.click("btnHELP");
    QVERIFY(d.help.window() != nullptr);
    QVERIFY(d.help.window()->currentPage().toString().endsWith("function.html"));

    OpenDialog f1;
    QVERIFY(QTest::qWaitForWindowActive(&f1.dialog));
    QTest::keyClick(&f1.dialog, Qt::Key_F1);
    QVERIFY(f1.help.window() != nullptr);
    QVERIFY(f1.help.window()->currentPage().toString().endsWith("function.html"));
  }
};

QUORREL_QT_TEST(FunctionDialogTest)

}  // namespace quorrel

#include "function_dialog_test.moc"
