// "移行": a copy of an old-model profile registered as an 8630-M profile, then the source's
// M-model settings list, except when the operator declined to overwrite.
#include <QPlainTextEdit>
#include <QTest>

#include "app/app_fixture.h"
#include "app/app_tests.h"
#include "support/store_writes.h"
#include "ui_support/qtest_suites.h"

namespace drovik::test {

namespace {

// Registers the old-model source "A" (user 1 named) and a second profile "B" with a key of
// its own, and selects "A".
void prepareSources(AppFixture& app) {
  app.addProfile(0, "A", "8630-GHJK", true, "太郎");
  app.addProfile(1, "B", "8630-GHJK", false, "花子");
  QVERIFY(test::writeSection(app.service.store(), "B",
                             {"OnlyInB=1", "User01_FormLenFront=3"}));  // replaces B's lines
  app.reopenWindow();
  app.clickRow(0);
}

// Runs the migration to `name`, answering the overwrite question if one is asked; returns the
// report shown ("" when none).
QString migrate(AppFixture& app, const QString& name, QMessageBox::StandardButton answer) {
  QString report;
  app.dialogs.then(typeAndOk("nameEdit", name));
  app.dialogs.then(inspectThenOk([&](QDialog& dialog) {
    report = dialog.findChild<QPlainTextEdit*>("reportText")->toPlainText();
  }));
  app.boxes.answer(answer);
  app.button("migrateButton")->click();
  return report;
}

std::vector<std::string> section(const AppFixture& app, const std::string& name) {
  auto lines = app.service.store().readSection(name);
  return lines ? *lines : std::vector<std::string>{};
}

}  // namespace

void MigrationTest::newNameGetsAnMCopyAndTheReportOfTheSource() {
  AppFixture app;
  prepareSources(app);
  const QString report = migrate(app, "C", QMessageBox::Ok);
  auto slots = app.service.readSlots();
  QCOMPARE((*slots)[0].modelType, std::string("8630-GHJK"));
  QCOMPARE((*slots)[2].name + " " + (*slots)[2].modelType, std::string("C 8630-M"));
  QVERIFY(section(app, "C") == section(app, "A"));
  QVERIFY(report.startsWith(QStringLiteral("8630-Mモデルへの移行設定\n【装置機能設定】\n")));
  QVERIFY(app.boxes.shown.empty());  // no question for a new name
  QCOMPARE(app.selectedName(), std::string("C"));
  QVERIFY(!app.button("migrateButton")->isEnabled());
}

void MigrationTest::ontoItselfTurnsTheProfileIntoM() {
  AppFixture app;
  prepareSources(app);
  const auto before = section(app, "A");
  QVERIFY(!migrate(app, "A", QMessageBox::Ok).isEmpty());
  auto slots = app.service.readSlots();
  QCOMPARE((*slots)[0].name + " " + (*slots)[0].modelType, std::string("A 8630-M"));
  QVERIFY(section(app, "A") == before);
  QCOMPARE(app.list()->topLevelItemCount(), 2);
}

void MigrationTest::ontoAnotherProfileReplacesItsSection() {
  AppFixture app;
  prepareSources(app);
  QVERIFY(!migrate(app, "b", QMessageBox::Ok).isEmpty());  // matches "B" as the files do
  auto slots = app.service.readSlots();
  // The slot of "B" takes the chosen spelling, as migration writes both index entries.
  QCOMPARE((*slots)[1].name + " " + (*slots)[1].modelType, std::string("b 8630-M"));
  QVERIFY(!(*slots)[2].registered());
  QVERIFY(section(app, "b") == section(app, "A"));  // OnlyInB is gone
}

void MigrationTest::declinedOverwriteShowsNoReportAndWritesNothing() {
  AppFixture app;
  prepareSources(app);
  const std::string index = app.indexBytes();
  const std::string settings = app.settingsBytes();
  QCOMPARE(migrate(app, "B", QMessageBox::Cancel), QString());
  QCOMPARE(app.dialogs.opened, std::vector<QString>{QStringLiteral("CDlgRegister")});
  QCOMPARE(app.indexBytes(), index);
  QCOMPARE(app.settingsBytes(), settings);
}

void MigrationTest::cancelledNameStillShowsTheReport() {
  AppFixture app;
  prepareSources(app);
  const std::string index = app.indexBytes();
  QString report;
  app.dialogs.then(pressCancel());
  app.dialogs.then(inspectThenOk([&](QDialog& dialog) {
    report = dialog.findChild<QPlainTextEdit*>("reportText")->toPlainText();
  }));
  app.button("migrateButton")->click();
  QVERIFY(report.startsWith(QStringLiteral("8630-Mモデルへの移行設定")));
  QCOMPARE(app.indexBytes(), index);
}

void MigrationTest::settingsListUsesTheLayoutOfTheModel() {
  AppFixture app;
  prepareSources(app);
  QVERIFY(!migrate(app, "C", QMessageBox::Ok).isEmpty());
  QStringList firstLines;
  for (int row : {0, 2}) {
    app.clickRow(row);
    app.dialogs.then(inspectThenOk([&](QDialog& dialog) {
      firstLines
          << dialog.findChild<QPlainTextEdit*>("reportText")->toPlainText().section('\n', 0, 0);
    }));
    app.button("listButton")->click();
  }
  QCOMPARE(firstLines, QStringList({QStringLiteral("【ユーザー設定】"),
                                    QStringLiteral("8630-Mモデルへの移行設定")}));
}

DROVIK_QTEST_SUITE(MigrationTest);

}  // namespace drovik::test
