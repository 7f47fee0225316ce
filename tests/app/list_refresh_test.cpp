// The main window beside other programs on the same folder: drovik-cli, run as a second
// process, registers, migrates and deletes; the list follows, keeping the selected name, but
// never under an open dialog. A change that has to wait for the lock another program holds
// keeps the window running behind the wait box.
#include <QAction>
#include <QLabel>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include "app/app_fixture.h"
#include "app/app_tests.h"
#include "support/held_folder_lock.h"
#include "ui/wait_box.h"
#include "ui_support/qtest_suites.h"

namespace drovik::test {

namespace {

constexpr int kRefreshTimeoutMs = 5000;

// drovik-cli on the fixture's folder, as another program sharing it.
int runCli(const AppFixture& app, QStringList args) {
  args.prepend(QString::fromStdString(app.dir.path().string()));
  args.prepend(QStringLiteral("--data-dir"));
  return QProcess::execute(QStringLiteral(DROVIK_CLI_PATH), args);
}

QStringList listedNames(const AppFixture& app) {
  QStringList names;
  for (int row = 0; row < app.list()->topLevelItemCount(); ++row)
    names << app.list()->topLevelItem(row)->text(0);
  return names;
}

bool canChangeOrMigrate(const AppFixture& app) {
  return app.button("changeButton")->isEnabled() || app.button("migrateButton")->isEnabled();
}

}  // namespace

void ListRefreshTest::listFollowsAnotherProgramKeepingTheSelection() {
  AppFixture app;  // no profile files yet: only the folder can tell when they appear
  FakeSettingsEditor editor;
  app.window->setSettingsEditor(&editor);
  QCOMPARE(runCli(app, {"register", "A"}), 0);
  QTRY_COMPARE_WITH_TIMEOUT(listedNames(app), QStringList{"A"}, kRefreshTimeoutMs);
  QCOMPARE(runCli(app, {"register", "B"}), 0);
  QTRY_COMPARE_WITH_TIMEOUT(listedNames(app), (QStringList{"A", "B"}), kRefreshTimeoutMs);

  app.clickRow(1);
  QCOMPARE(runCli(app, {"delete", "A"}), 0);  // B moves up to the first row
  QTRY_COMPARE_WITH_TIMEOUT(listedNames(app), QStringList{"B"}, kRefreshTimeoutMs);
  QCOMPARE(app.selectedName(), std::string("B"));
  QVERIFY(app.button("deleteButton")->isEnabled() && canChangeOrMigrate(app));

  QCOMPARE(runCli(app, {"migrate", "B", "BM"}), 0);
  QTRY_COMPARE_WITH_TIMEOUT(listedNames(app), (QStringList{"B", "BM"}), kRefreshTimeoutMs);
  QCOMPARE(app.list()->topLevelItem(1)->text(3), QStringLiteral("8630-M"));
  QCOMPARE(app.selectedName(), std::string("B"));
  app.clickRow(1);
  QVERIFY(app.button("sendButton")->isEnabled() && !canChangeOrMigrate(app));

  // The selected profile goes: nothing stays selected, and no button acts on a row.
  QCOMPARE(runCli(app, {"delete", "BM"}), 0);
  QTRY_COMPARE_WITH_TIMEOUT(listedNames(app), QStringList{"B"}, kRefreshTimeoutMs);
  QCOMPARE(app.selectedName(), std::string());
  QVERIFY(!app.button("deleteButton")->isEnabled() && !canChangeOrMigrate(app));
  QVERIFY(!app.button("sendButton")->isEnabled());
  QVERIFY(app.boxes.shown.empty());
}

void ListRefreshTest::changeUnderAnOpenDialogIsShownWhenItCloses() {
  AppFixture app;
  app.addProfile(0, "A", "8630-GHJK");
  app.addProfile(1, "B", "8630-GHJK");
  app.reopenWindow();
  app.clickRow(1);
  QStringList listedUnderTheDialog;
  app.dialogs.then(inspectThenOk([&](QDialog&) {
    QSignalSpy putOff(app.window.get(), &CPelmoraDlg::refreshPutOff);
    if (runCli(app, {"delete", "A"}) != 0 || !putOff.wait(kRefreshTimeoutMs)) return;
    listedUnderTheDialog = listedNames(app);
  }));
  app.window->findChild<QAction*>("aboutAction")->trigger();

  QCOMPARE(listedUnderTheDialog, (QStringList{"A", "B"}));
  QCOMPARE(listedNames(app), QStringList{"B"});
  QCOMPARE(app.selectedName(), std::string("B"));
  QVERIFY(app.button("deleteButton")->isEnabled());
}

void ListRefreshTest::deletionWaitsForAnotherProgramsLock() {
  AppFixture app;
  app.addProfile(0, "A", "8630-GHJK");
  app.addProfile(1, "B", "8630-M");
  app.reopenWindow();
  app.clickRow(0);
  HeldFolderLock held(app.dir.path());
  QVERIFY(held.held());
  QString waitText;
  bool deletedWhileHeld = true;
  app.dialogs.then(inspectThenWaitForClose([&](QDialog& box) {
    waitText = box.findChild<QLabel*>("waitLabel")->text();
    deletedWhileHeld = !app.service.findProfile("A");
    held.release();
  }));
  app.boxes.answer(QMessageBox::Ok);
  app.button("deleteButton")->click();

  // The box stood while the lock was held (the window ran meanwhile), then the deletion went on.
  QCOMPARE(app.dialogs.opened, std::vector<QString>{"waitBox"});
  QCOMPARE(waitText, ui::folderBusyText());
  QVERIFY(!deletedWhileHeld);
  QCOMPARE(listedNames(app), QStringList{"B"});
  QCOMPARE(app.boxes.shown.size(), std::size_t{1});  // the question only
}

DROVIK_QTEST_SUITE(ListRefreshTest);

}  // namespace drovik::test
