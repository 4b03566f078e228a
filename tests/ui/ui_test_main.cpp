// Runs every registered window test class; the exit status counts the failed tests.

#include <QApplication>
#include <QtTest>

#include "common/decimal_separator.h"
#include "qt_test_registry.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  quorrel::SetDecimalSeparator('.');
  int failed = 0;
  for (const auto& make : quorrel::testing::TestClasses()) {
    const std::unique_ptr<QObject> test = make();
    failed += QTest::qExec(test.get(), argc, argv);
  }
  return failed;
}
