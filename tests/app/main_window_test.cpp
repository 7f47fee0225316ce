// The main window on its own: start-up, button states by selection and model type, the
// double-click, deletion with the index compacted, the about item.
#include <QAction>
#include <QLabel>
#include <QTest>

#include "app/app_fixture.h"
#include "app/app_tests.h"
#include "app/register_dlg.h"
#include "program_version.h"
#include "ui_support/control_names.h"
#include "ui_support/qtest_suites.h"

namespace drovik::test {

void MainWindowTest::startsEmptyWithoutProfileFiles() {
  AppFixture app;
  QCOMPARE(app.list()->topLevelItemCount(), 0);
  QCOMPARE(enabledButtons(*app.window), QStringLiteral("register quit"));
  QVERIFY2(unnamedControls(*app.window).isEmpty(),
           qPrintable(unnamedControls(*app.window).join("; ")));
  const CDlgRegister registration;
  QVERIFY2(unnamedControls(registration).isEmpty(),
           qPrintable(unnamedControls(registration).join("; ")));
  QVERIFY(app.boxes.shown.empty());
  QVERIFY(!std::filesystem::exists(app.dir / "R_MAIN.INI"));
}

void MainWindowTest::buttonsFollowTheSelectedRowsModel() {
  AppFixture app;
  FakeSettingsEditor editor;
  app.addProfile(0, "旧機種", "8630-GHJK", true, "佐藤");
  app.addProfile(1, "新機種", "8630-M");
  app.reopenWindow();
  app.window->setSettingsEditor(&editor);
  QCOMPARE(app.list()->topLevelItem(0)->text(1), QStringLiteral("ユーザー１"));
  QCOMPARE(app.list()->topLevelItem(0)->text(2), QStringLiteral("佐藤"));
  QCOMPARE(app.list()->topLevelItem(1)->text(1), QString());  // M rows show no user

  app.clickRow(1);
  QCOMPARE(enabledButtons(*app.window), QStringLiteral("register delete list send generate quit"));
  app.clickRow(0);
  QCOMPARE(enabledButtons(*app.window),
           QStringLiteral("register delete change list migrate send generate quit"));
  // A click below the rows clears the selection.
  QTest::mouseClick(app.list()->viewport(), Qt::LeftButton, {},
                    QPoint(5, app.list()->viewport()->height() - 3));
  QCOMPARE(enabledButtons(*app.window), QStringLiteral("register quit"));
  // The keyboard moves the selection too, and the buttons follow it.
  app.clickRow(0);
  QTest::keyClick(app.list(), Qt::Key_Down);
  QCOMPARE(app.selectedName(), std::string("新機種"));
  QVERIFY(!app.button("migrateButton")->isEnabled());
}

void MainWindowTest::changeIsOfferedOnlyWithAnEditor() {
  AppFixture app;
  app.addProfile(0, "A", "8630-GHJK");
  app.reopenWindow();
  app.clickRow(0);
  QVERIFY(!app.button("changeButton")->isEnabled());
  // Only tests run the window without an editor: nothing there speaks of a missing part.
  QVERIFY(app.button("changeButton")->toolTip().isEmpty());
  QVERIFY(app.list()->toolTip().isEmpty());
  app.doubleClickRow(0);
  QVERIFY(app.dialogs.opened.empty());
  QVERIFY(app.boxes.shown.empty());
}

void MainWindowTest::doubleClickEditsAnMRowAndSavesOnOk() {
  AppFixture app;
  app.addProfile(0, "A", "8630-GHJK", true, "A の人");
  app.addProfile(1, "M", "8630-M", true, "M の人");
  app.reopenWindow();
  FakeSettingsEditor editor;
  editor.edit = [](ProfileModel& model) { model.setSelectUser(2); };
  app.window->setSettingsEditor(&editor);
  app.doubleClickRow(1);

  QCOMPARE(editor.opened, 1);
  QCOMPARE(editor.lastUserName0, std::string("M の人"));  // the editor got the M profile
  ProfileModel loaded;
  QVERIFY(app.service.loadProfile(loaded, "M"));
  QCOMPARE(loaded.values.selectUser, 2);
  QCOMPARE(app.selectedName(), std::string("M"));

  editor.edit = [](ProfileModel& model) { model.setSelectUser(5); };
  editor.answerOk = false;
  const std::string settings = app.settingsBytes();
  app.button("changeButton")->click();  // disabled for M: nothing happens
  app.clickRow(0);
  app.button("changeButton")->click();
  QCOMPARE(editor.opened, 2);
  QCOMPARE(app.settingsBytes(), settings);
  QCOMPARE(app.selectedName(), std::string("A"));
}

void MainWindowTest::deletionCompactsTheIndexAndKeepsOtherSections() {
  AppFixture app;
  app.addProfile(0, "一", "8630-GHJK");
  app.addProfile(1, "二", "8630-M");
  app.addProfile(2, "三", "8630-GHJK");
  app.reopenWindow();
  app.clickRow(0);
  app.boxes.answer(QMessageBox::Cancel);
  app.button("deleteButton")->click();
  QCOMPARE(app.list()->topLevelItemCount(), 3);

  app.boxes.answer(QMessageBox::Ok);
  app.button("deleteButton")->click();
  QCOMPARE(app.boxes.shown.back().text, QStringLiteral("削除しますか?"));
  auto slots = app.service.readSlots();
  QVERIFY(slots);
  QCOMPARE((*slots)[0].name + (*slots)[0].modelType, std::string("二8630-M"));
  QCOMPARE((*slots)[1].name + (*slots)[1].modelType, std::string("三8630-GHJK"));
  QVERIFY(!(*slots)[2].registered());
  const std::string index = app.indexBytes();
  QVERIFY(index.find("Set2") == std::string::npos && index.find("MType2") == std::string::npos);
  QVERIFY(app.service.store().readSection("一")->empty());
  QVERIFY(!app.service.store().readSection("三")->empty());
  QCOMPARE(app.list()->topLevelItemCount(), 2);
  QCOMPARE(enabledButtons(*app.window), QStringLiteral("register quit"));
}

void MainWindowTest::deletingAProfileGoneMeanwhileSaysSo() {
  AppFixture app;
  app.addProfile(0, "A", "8630-GHJK");
  app.addProfile(1, "B", "8630-GHJK");
  app.reopenWindow();
  app.clickRow(1);
  // Another copy deletes A: B moves to slot 0 while the window still shows it in row 1.
  QVERIFY(app.service.deleteProfile("A"));
  app.boxes.answer(QMessageBox::Ok);
  app.button("deleteButton")->click();
  auto slots = app.service.readSlots();
  QVERIFY(!(*slots)[0].registered());  // B, not some other profile, was deleted
  QCOMPARE(app.list()->topLevelItemCount(), 0);

  app.addProfile(0, "C", "8630-GHJK");
  app.reopenWindow();
  app.clickRow(0);
  QVERIFY(app.service.deleteProfile("C"));
  app.boxes.answer(QMessageBox::Ok);
  app.button("deleteButton")->click();
  QCOMPARE(app.boxes.shown.back().icon, QMessageBox::Warning);  // not registered any more
}

void MainWindowTest::aboutItemOpensTheAboutBox() {
  AppFixture app;
  auto* about = app.window->findChild<QAction*>("aboutAction");
  QVERIFY(about);
  QVERIFY(app.window->actions().contains(about));  // the window's context menu
  QString version;
  QStringList unnamed;
  app.dialogs.then(inspectThenOk([&](QDialog& dialog) {
    version = dialog.findChild<QLabel*>("versionLabel")->text();
    unnamed = unnamedControls(dialog);
  }));
  about->trigger();
  QCOMPARE(app.dialogs.opened, std::vector<QString>{QStringLiteral("CAboutDlg")});
  QCOMPARE(version, QStringLiteral("Drovik Version ") + QLatin1String(kProgramVersion));
  QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join("; ")));
}

DROVIK_QTEST_SUITE(MainWindowTest);

}  // namespace drovik::test
