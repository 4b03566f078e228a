#pragma once
// Several Qt Test classes in one executable: each registers itself and main runs them all.

#include <functional>
#include <memory>
#include <vector>

#include <QObject>

namespace quorrel::testing {

using TestFactory = std::function<std::unique_ptr<QObject>()>;

inline std::vector<TestFactory>& TestClasses() {
  static std::vector<TestFactory> classes;
  return classes;
}

template <typename Test>
struct RegisterTest {
  RegisterTest() { TestClasses().emplace_back([] { return std::make_unique<Test>(); }); }
};

}  // namespace quorrel::testing

#define QUORREL_QT_TEST(Class) \
  static const quorrel::testing::RegisterTest<Class> registered##Class;
