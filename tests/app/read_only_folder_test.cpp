// A fleet row's archive opened from the main window's menu, or by the application as the
// command line names it: its profiles listed, reported, written elsewhere and sent, and
// nothing in the folder changed, neither by a button nor by an operation called directly.
#include <QAction>
#include <QTest>
#include <map>

#include "app/app_fixture.h"
#include "app/app_tests.h"
#include "app/pelmora_app.h"
#include "command/command_preparation.h"
#include "ui_support/qtest_suites.h"

namespace drovik::test {

namespace {

// As a fleet run leaves a row's folder: the old printer's profile and its M copy.
bool makeArchive(const std::filesystem::path& folder) {
  ProfileService service(StorePaths::inDirectory(folder));
  ProfileModel model;
  return service.registerProfile(model, "本社", OnExisting::Refuse) &&
         service.migrateProfile("本社", "本社-M", OnExisting::Refuse);
}

// Every file of the folder with its bytes.
std::map<std::string, std::string> folderContents(const std::filesystem::path& folder) {
  std::map<std::string, std::string> contents;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    contents[entry.path().filename().string()] = readFile(entry.path());
  return contents;
}

QString qtPath(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

struct CountingSender final : CommandSender {
  std::size_t bytes = 0;
  void sendCommand(const std::string&, const PreparedCommand& command, QWidget*) override {
    bytes = command.image.bytes.size();
  }
};

void checkOnlyLooks(AppFixture& app, QDialog& dialog, const std::filesystem::path& archive,
                    CountingSender& sender) {
  auto* window = qobject_cast<CPelmoraDlg*>(&dialog);
  QVERIFY(window);
  dialog.show();
  QVERIFY(dialog.windowTitle().contains(QStringLiteral("（読み取り専用）")));
  QVERIFY(dialog.windowTitle().endsWith(qtPath(archive)));
  QCOMPARE(dialog.findChild<QTreeWidget*>("profileList")->topLevelItemCount(), 2);
  QCOMPARE(enabledButtons(dialog), QStringLiteral("quit"));
  FakeSettingsEditor editor;
  window->setSettingsEditor(&editor);
  clickRowOf(dialog, 0);  // the old model's profile, which a writable window would change
  QCOMPARE(enabledButtons(dialog), QStringLiteral("list send generate quit"));

  // Called directly, the changing operations ask nothing and open nothing.
  const auto dialogsBefore = app.dialogs.opened.size();
  window->registerProfile();
  window->deleteProfile();
  window->changeSettings();
  window->migrateProfile();
  QCOMPARE(app.dialogs.opened.size(), dialogsBefore);
  QVERIFY(app.boxes.shown.empty());
  QCOMPARE(editor.opened, 0);

  window->showSettingsList();
  QCOMPARE(app.dialogs.opened.back(), QStringLiteral("CDlgSetview"));
  dialog.findChild<QPushButton*>("sendButton")->click();
  QVERIFY(sender.bytes > 0);
  // A command file is written anywhere but into the folder itself.
  const TempDir elsewhere;
  app.files.choose(qtPath(archive / "本社.sib"));
  app.files.choose(qtPath(elsewhere / "本社.sib"));
  dialog.findChild<QPushButton*>("generateButton")->click();
  QCOMPARE(app.boxes.shown.size(), std::size_t{1});
  QVERIFY(app.boxes.shown[0].text.startsWith(
      QStringLiteral("読み取り専用で開いているフォルダには保存できません")));
  dialog.findChild<QPushButton*>("generateButton")->click();
  QVERIFY(std::filesystem::exists(elsewhere / "本社.sib"));
}

}  // namespace

void ReadOnlyFolderTest::menuOpensAnArchiveOnlyToLook() {
  AppFixture app;
  app.addProfile(0, "手元", "8630-GHJK");
  app.reopenWindow();
  const TempDir archive;
  QVERIFY(makeArchive(archive.path()));
  const auto archived = folderContents(archive.path());
  const std::string ownIndex = app.indexBytes();
  const std::string ownSettings = app.settingsBytes();
  CountingSender sender;
  app.window->setCommandSender(&sender);

  auto* open = app.window->findChild<QAction*>("openFolderAction");
  QVERIFY(open);
  QVERIFY(app.window->actions().contains(open));  // the window's context menu
  app.files.choose(qtPath(archive.path()));
  bool looked = false;
  app.dialogs.then([&](QDialog& dialog) {
    checkOnlyLooks(app, dialog, archive.path(), sender);
    looked = !QTest::currentTestFailed();
    return static_cast<int>(QDialog::Accepted);
  });
  open->trigger();
  QVERIFY(looked);
  QCOMPARE(app.files.requests.front().title, QStringLiteral("フォルダーを開く"));
  QVERIFY(folderContents(archive.path()) == archived);
  QCOMPARE(app.indexBytes(), ownIndex);
  QCOMPARE(app.settingsBytes(), ownSettings);
  // The window it came from changes its own folder as before.
  QCOMPARE(enabledButtons(*app.window), QStringLiteral("register quit"));
}

void ReadOnlyFolderTest::folderWithoutProfilesIsSaidAndNotOpened() {
  AppFixture app;
  const TempDir empty;
  app.files.choose(std::nullopt);  // cancelled
  app.files.choose(qtPath(empty.path()));
  app.window->openFolder();
  app.window->openFolder();
  QVERIFY(app.dialogs.opened.empty());
  QCOMPARE(app.boxes.shown.size(), std::size_t{1});
  QCOMPARE(app.boxes.shown[0].text,
           QStringLiteral("このフォルダには設定ファイル（R_MAIN.INI）がありません: ") +
               qtPath(empty.path()));
  QVERIFY(std::filesystem::is_empty(empty.path()));
}

void ReadOnlyFolderTest::applicationOpensTheCommandLinesFolder() {
  const TempDir archive;
  const TempDir own;
  QVERIFY(makeArchive(archive.path()));
  const auto archived = folderContents(archive.path());
  {
    CPelmoraApp readOnly(StorePaths::inDirectory(archive.path()), StoreAccess::ReadOnly,
                         StorePaths::inDirectory(own.path()));
    auto window = readOnly.createMainWindow();
    QVERIFY(window->windowTitle().contains(QStringLiteral("（読み取り専用）")));
    QCOMPARE(window->findChild<QTreeWidget*>("profileList")->topLevelItemCount(), 2);
    QCOMPARE(enabledButtons(*window), QStringLiteral("quit"));
  }
  QVERIFY(folderContents(archive.path()) == archived);
  // Without --read-only the same folder opens for changes, under the usual title.
  CPelmoraApp writable(StorePaths::inDirectory(archive.path()));
  auto window = writable.createMainWindow();
  QVERIFY(!window->windowTitle().contains(QStringLiteral("読み取り専用")));
  QCOMPARE(enabledButtons(*window), QStringLiteral("register quit"));
}

DROVIK_QTEST_SUITE(ReadOnlyFolderTest);

}  // namespace drovik::test
