// QtTest suites register themselves with DROVIK_QTEST_SUITE(Class) in their own source file;
// one main (qtest_main.cpp) runs the suites whose class name holds its first argument (all
// without one), so that ctest can run each suite as a test of its own.
#pragma once

#include <QObject>
#include <memory>

namespace drovik::test {

using QtSuiteFactory = std::unique_ptr<QObject> (*)();

// Returns true so that registration can initialise a namespace-scope constant.
bool registerQtSuite(QtSuiteFactory factory);

}  // namespace drovik::test

#define DROVIK_QTEST_SUITE(Class)                                                               \
  [[maybe_unused]] static const bool drovikRegistered##Class = ::drovik::test::registerQtSuite( \
      []() -> std::unique_ptr<QObject> { return std::make_unique<Class>(); })
