#include <QApplication>
#include <QTest>
#include <cstdio>
#include <cstring>
#include <vector>

#include "ui_support/qtest_suites.h"

namespace drovik::test {
namespace {

std::vector<QtSuiteFactory>& registeredSuites() {
  static std::vector<QtSuiteFactory> suites;
  return suites;
}

}  // namespace

bool registerQtSuite(QtSuiteFactory factory) {
  registeredSuites().push_back(factory);
  return true;
}

}  // namespace drovik::test

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  const char* only = argc > 1 ? argv[1] : nullptr;
  int failures = 0;
  int run = 0;
  for (const auto factory : drovik::test::registeredSuites()) {
    const std::unique_ptr<QObject> suite = factory();
    if (only && !std::strstr(suite->metaObject()->className(), only)) continue;
    ++run;
    failures += QTest::qExec(suite.get(), 1, argv);
  }
  // A misspelt suite name must not pass as an empty run.
  if (run == 0) std::fprintf(stderr, "No test suite matches \"%s\".\n", only ? only : "");
  return failures == 0 && run > 0 ? 0 : 1;
}
