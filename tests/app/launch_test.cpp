// Whether the program finds a window system, judged before Qt would abort without one.
#include <QTest>
#include <cstdlib>

#include "app/app_tests.h"
#include "app/pelmora_app.h"
#include "support/temp_dir.h"
#include "ui_support/qtest_suites.h"

namespace drovik::test {

namespace {

class Environment {
 public:
  Environment(const char* platform, const char* x11, const char* wayland) {
    set("QT_QPA_PLATFORM", platform);
    set("DISPLAY", x11);
    set("WAYLAND_DISPLAY", wayland);
  }
  ~Environment() {
    for (const auto& [name, value] : saved_)
      value ? setenv(name, value->c_str(), 1) : unsetenv(name);
  }

 private:
  void set(const char* name, const char* value) {
    const char* old = std::getenv(name);
    saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

}  // namespace

void LaunchTest::findsOrMissesTheDisplay() {
  TempDir runtime;
  writeFile(runtime / "wayland-test", "");
  const std::string runtimeDir = runtime.path().string();
  const char* savedRuntime = std::getenv("XDG_RUNTIME_DIR");
  const std::string keptRuntime = savedRuntime ? savedRuntime : "";
  setenv("XDG_RUNTIME_DIR", runtimeDir.c_str(), 1);
  {
    Environment none(nullptr, nullptr, nullptr);
    QVERIFY(!displayAvailable());
  }
  {
    Environment offscreen("offscreen", nullptr, nullptr);
    QVERIFY(displayAvailable());
  }
  {
    Environment missingX("xcb", ":987", "wayland-test");
    QVERIFY(!displayAvailable());  // xcb asked for, and no such X server
  }
  {
    Environment wayland(nullptr, nullptr, "wayland-test");
    QVERIFY(displayAvailable());
  }
  {
    Environment staleWayland(nullptr, nullptr, "wayland-gone");
    QVERIFY(!displayAvailable());
  }
  {
    Environment remote(nullptr, "printhost:0", nullptr);
    QVERIFY(displayAvailable());  // left to the X library to judge
  }
  savedRuntime ? setenv("XDG_RUNTIME_DIR", keptRuntime.c_str(), 1) : unsetenv("XDG_RUNTIME_DIR");
}

DROVIK_QTEST_SUITE(LaunchTest);

}  // namespace drovik::test
