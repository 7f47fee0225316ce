// Runs one QtTest suite of the transport dialogs, named by the first argument (all without one).
#include <QApplication>
#include <QTest>
#include <cstring>
#include <memory>
#include <vector>

#include "transport_ui/transport_ui_tests.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  using namespace drovik::test;
  std::vector<std::unique_ptr<QObject>> suites;
  suites.push_back(std::make_unique<SendDialogTest>());
  suites.push_back(std::make_unique<SendOtherDialogTest>());
  suites.push_back(std::make_unique<RetrievalDialogTest>());
  const char* only = argc > 1 ? argv[1] : nullptr;
  int failures = 0;
  for (const auto& suite : suites) {
    const char* name = suite->metaObject()->className();
    if (only && !std::strstr(name, only)) continue;
    failures += QTest::qExec(suite.get(), 1, argv);
  }
  return failures == 0 ? 0 : 1;
}
