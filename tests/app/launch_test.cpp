// Whether the program finds a window system, judged before Qt would abort without one, and its
// command line, read before that.
#include <QProcess>
#include <QTest>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "app/app_options.h"
#include "app/app_tests.h"
#include "app/pelmora_app.h"
#include "support/temp_dir.h"
#include "ui/background_work.h"
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

void LaunchTest::helpNeedsNoDisplay() {
  QProcessEnvironment headless = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) headless.remove(name);
  const TempDir folder;
  auto run = [&](const QStringList& args, QByteArray* out, QByteArray* err) {
    QProcess drovik;
    drovik.setProcessEnvironment(headless);
    drovik.start(QStringLiteral(DROVIK_APP_PATH), args);
    if (!drovik.waitForFinished(10'000)) return -1;
    *out = drovik.readAllStandardOutput();
    *err = drovik.readAllStandardError();
    return drovik.exitCode();
  };
  QByteArray out, err;
  QCOMPARE(run({QStringLiteral("--help")}, &out, &err), 0);
  QVERIFY2(out.startsWith("使い方: drovik [--data-dir DIR] [--read-only]"), out.constData());
  QVERIFY(out.contains("--read-only"));
  // A mistyped option is refused on the terminal, never taken as no option at all.
  const QString dir = QString::fromStdString(folder.path().string());
  QCOMPARE(run({QStringLiteral("--data-dir"), dir, QStringLiteral("--readonly")}, &out, &err), 2);
  QVERIFY2(err.startsWith("drovik: 不明な引数です: --readonly\n"), err.constData());
  // Without a display, the right options get as far as saying so.
  QCOMPARE(run({QStringLiteral("--data-dir"), dir, QStringLiteral("--read-only")}, &out, &err), 1);
  QVERIFY2(err.contains("画面に接続できません"), err.constData());
}

void LaunchTest::optionsNameTheFolderAndHowItOpens() {
  const TempDir folder;
  const std::string dir = folder.path().string();
  auto parse = [](std::vector<std::string> args) {
    args.insert(args.begin(), "drovik");
    std::vector<const char*> argv;
    for (const std::string& arg : args) argv.push_back(arg.c_str());
    return parseAppOptions(static_cast<int>(argv.size()), argv.data());
  };
  const auto plain = parse({});
  QVERIFY(plain && !plain->dataDir && !plain->readOnly && !plain->help);
  const auto shared = parse({"--data-dir", dir});
  QVERIFY(shared && shared->dataDir == folder.path() && !shared->readOnly);
  // Qt's own options, with or without a value, are Qt's.
  const auto archive = parse({"-style", "fusion", "--read-only", "-reverse", "--data-dir=" + dir});
  QVERIFY2(archive, archive.message().c_str());
  QVERIFY(archive->dataDir == folder.path() && archive->readOnly);

  const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
      {{"--data-dir"}, "オプション --data-dir にはフォルダが必要です。"},
      {{"--data-dir", dir + "/absent"}, "データフォルダがありません: " + dir + "/absent"},
      {{"--data-dir="}, "データフォルダがありません: "},
      {{"--data-dir", dir, "--data-dir", dir}, "オプション --data-dir が重複しています。"},
      {{dir}, "不明な引数です: " + dir},
      {{"--read-only=yes"}, "不明な引数です: --read-only=yes"}};
  for (const auto& [args, message] : refused) {
    const auto parsed = parse(args);
    QVERIFY(!parsed);
    QCOMPARE(parsed.message(), message);
  }
}

// Work a closed window left running (a listing on a silent print server, say) still uses the
// program's objects: the program ends only after it.
void LaunchTest::programEndWaitsForItsBackgroundWork() {
  TempDir dir;
  std::atomic<bool> ended = false;
  {
    CPelmoraApp app(StorePaths::inDirectory(dir.path()));
    ui::startInBackground([&ended] {
      std::this_thread::sleep_for(std::chrono::milliseconds(200));  // a slow step of the work
      ended = true;
    });
  }
  QVERIFY(ended);
}

DROVIK_QTEST_SUITE(LaunchTest);

}  // namespace drovik::test
