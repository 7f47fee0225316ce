// "コマンド生成" writes the command of the selected profile, whole or not at all, and says
// when it cannot; "設定送信" prepares the same command.
#include <QTest>

#include "app/app_fixture.h"
#include "app/app_tests.h"
#include "ui_support/qtest_suites.h"

namespace drovik::test {

namespace {

std::uintmax_t savedSize(AppFixture& app, int row, const std::string& file) {
  app.clickRow(row);
  app.files.choose(QString::fromStdString((app.dir / file).string()));
  app.button("generateButton")->click();
  std::error_code error;
  const auto size = std::filesystem::file_size(app.dir / file, error);
  return error ? 0 : size;
}

}  // namespace

void CommandFileTest::savesTheImageOfEachModel() {
  AppFixture app;
  app.addProfile(0, "GHJK 全項目", "8630-GHJK");
  app.addProfile(1, "M 全項目", "8630-M");
  app.addProfile(2, "項目なし", "8630-GHJK", false);
  app.addProfile(3, "不明な機種", "", true);
  app.reopenWindow();

  QCOMPARE(savedSize(app, 0, "ghjk.sib"), std::uintmax_t{2955});
  QCOMPARE(savedSize(app, 1, "m.sib"), std::uintmax_t{195});
  QCOMPARE(savedSize(app, 2, "none.sib"), std::uintmax_t{15});
  QCOMPARE(savedSize(app, 3, "unknown.sib"), std::uintmax_t{195});  // coded as the M model
  QVERIFY(app.boxes.shown.empty());
  const ui::FileDialogRequest& request = app.files.requests.front();
  QCOMPARE(request.nameFilter, QStringLiteral("VAD Command Binary files (*.sib)"));
  QCOMPARE(request.defaultSuffix, QStringLiteral("sib"));
  QVERIFY(request.confirmOverwrite);
}

void CommandFileTest::overwritesWholeFileAndCancelWritesNothing() {
  AppFixture app;
  app.addProfile(0, "M", "8630-M");
  app.reopenWindow();
  writeFile(app.dir / "old.sib", std::string(5000, 'x'));
  QCOMPARE(savedSize(app, 0, "old.sib"), std::uintmax_t{195});

  app.files.choose(std::nullopt);
  app.button("generateButton")->click();
  QCOMPARE(app.files.requests.size(), std::size_t{2});
  QVERIFY(app.boxes.shown.empty());
}

void CommandFileTest::refusedWriteIsShownAndLeavesTheOldFile() {
  AppFixture app;
  app.addProfile(0, "A", "8630-GHJK");
  app.reopenWindow();
  std::filesystem::create_directory(app.dir / "locked");
  writeFile(app.dir / "locked" / "keep.sib", "old");
  std::filesystem::permissions(
      app.dir / "locked", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  app.clickRow(0);
  app.files.choose(QString::fromStdString((app.dir / "locked" / "keep.sib").string()));
  app.button("generateButton")->click();
  std::filesystem::permissions(app.dir / "locked", std::filesystem::perms::owner_all);
  if (readFile(app.dir / "locked" / "keep.sib") != "old") QSKIP("running with root rights");
  QCOMPARE(app.boxes.shown.size(), std::size_t{1});
  QCOMPARE(app.boxes.shown[0].icon, QMessageBox::Warning);
  QVERIFY(!app.boxes.shown[0].text.isEmpty());
}

void CommandFileTest::sendPreparesTheCommandForTheSender() {
  AppFixture app;
  app.addProfile(0, "M", "8630-M");
  app.reopenWindow();
  struct Sender : CommandSender {
    std::size_t bytes = 0;
    void sendCommand(const std::string&, const PreparedCommand& command, QWidget*) override {
      bytes = command.image.bytes.size();
    }
  } sender;
  app.clickRow(0);
  app.window->setCommandSender(&sender);
  app.button("sendButton")->click();
  QCOMPARE(sender.bytes, std::size_t{195});
  QVERIFY(app.boxes.shown.empty());
}

DROVIK_QTEST_SUITE(CommandFileTest);

}  // namespace drovik::test
