// Registration through the main window: every way out before the save writes nothing, the
// limit comes before any dialog, and names the files cannot hold never reach them.
#include <QLineEdit>
#include <QTest>

#include "app/app_fixture.h"
#include "app/app_tests.h"
#include "model/profile_registry.h"
#include "ui_support/qtest_suites.h"

namespace drovik::test {

namespace {

QString stored(const ProfileService& service, int slot) {
  auto slots = service.readSlots();
  return slots ? QString::fromStdString((*slots)[slot].name + "|" + (*slots)[slot].modelType)
               : QString::fromStdString(slots.message());
}

}  // namespace

void RegistrationTest::registersDefaultsAndSelectsTheNewRow() {
  AppFixture app;
  app.addProfile(0, "既存", "8630-M");
  app.reopenWindow();
  app.dialogs.then(typeAndOk("nameEdit", QStringLiteral("新しい設定")));
  app.button("registerButton")->click();

  QCOMPARE(stored(app.service, 1), QStringLiteral("新しい設定|8630-GHJK"));
  ProfileModel loaded;
  QVERIFY(app.service.loadProfile(loaded, "新しい設定"));
  QVERIFY(loaded.text.paper == ProfileText::of(SettingProfile::defaults()).paper);
  QCOMPARE(app.selectedName(), std::string("新しい設定"));
  QVERIFY(app.button("migrateButton")->isEnabled());
  QVERIFY(app.boxes.shown.empty());
}

void RegistrationTest::editorValuesAreSavedAndItsCancelWritesNothing() {
  AppFixture app;
  FakeSettingsEditor editor;
  app.window->setSettingsEditor(&editor);
  editor.edit = [](ProfileModel& model) { model.setUserName(0, "山田"); };
  editor.answerOk = false;
  app.dialogs.then(typeAndOk("nameEdit", "P"));
  app.button("registerButton")->click();
  QCOMPARE(editor.opened, 1);
  QCOMPARE(app.indexBytes(), std::string());
  QCOMPARE(app.settingsBytes(), std::string());

  editor.answerOk = true;
  app.dialogs.then(typeAndOk("nameEdit", "P"));
  app.button("registerButton")->click();
  QCOMPARE(app.list()->topLevelItem(0)->text(2), QStringLiteral("山田"));
}

void RegistrationTest::everyStopBeforeTheSaveWritesNothing() {
  AppFixture app;
  app.addProfile(0, "A", "8630-GHJK", true, "元の名前");
  app.reopenWindow();
  FakeSettingsEditor editor;
  editor.edit = [](ProfileModel& model) { model.setUserName(0, "新しい名前"); };
  app.window->setSettingsEditor(&editor);
  const std::string index = app.indexBytes();
  const std::string settings = app.settingsBytes();

  app.dialogs.then(pressCancel());  // name dialog
  app.button("registerButton")->click();
  app.dialogs.then(typeAndOk("nameEdit", "A"));  // overwrite question: Cancel
  app.boxes.answer(QMessageBox::Cancel);
  app.button("registerButton")->click();
  app.dialogs.then(typeAndOk("nameEdit", "A"));  // overwrite OK, settings dialog cancelled
  app.boxes.answer(QMessageBox::Ok);
  editor.answerOk = false;
  app.button("registerButton")->click();

  QCOMPARE(editor.opened, 1);
  QCOMPARE(app.indexBytes(), index);
  QCOMPARE(app.settingsBytes(), settings);
  QCOMPARE(app.list()->topLevelItemCount(), 1);
}

void RegistrationTest::overwriteMatchesTheNameAsTheFilesDo() {
  AppFixture app;
  app.addProfile(0, "Office", "8630-M", true, "元の名前");
  app.reopenWindow();
  FakeSettingsEditor editor;
  editor.edit = [](ProfileModel& model) { model.setUserName(0, "上書き"); };
  app.window->setSettingsEditor(&editor);
  app.dialogs.then(typeAndOk("nameEdit", "OFFICE"));
  app.boxes.answer(QMessageBox::Ok);
  app.button("registerButton")->click();

  QCOMPARE(app.boxes.shown.size(), std::size_t{1});
  QCOMPARE(app.boxes.shown[0].text,
           QString::fromStdString(overwriteQuestion("Office")));  // the stored spelling
  QCOMPARE(app.boxes.shown[0].icon, QMessageBox::Information);
  // Still one profile, keeping its name and model type, with the new values.
  QCOMPARE(stored(app.service, 0), QStringLiteral("Office|8630-M"));
  QCOMPARE(stored(app.service, 1), QStringLiteral("|"));
  ProfileModel loaded;
  QVERIFY(app.service.loadProfile(loaded, "Office"));
  QCOMPARE(loaded.values.userName[0], std::string("上書き"));
  QCOMPARE(app.selectedName(), std::string("Office"));
}

void RegistrationTest::limitIsCheckedBeforeAnyDialog() {
  AppFixture app;
  for (int i = 0; i < 20; ++i) app.addProfile(i, "P" + std::to_string(i), "8630-GHJK");
  app.reopenWindow();
  const std::string index = app.indexBytes();
  app.button("registerButton")->click();  // even to overwrite P0 the limit comes first
  QVERIFY(app.dialogs.opened.empty());
  QCOMPARE(app.boxes.shown.size(), std::size_t{1});
  QCOMPARE(app.boxes.shown[0].text, QStringLiteral("20個以上は登録できません"));
  QCOMPARE(app.boxes.shown[0].icon, QMessageBox::Warning);
  QCOMPARE(app.indexBytes(), index);
}

void RegistrationTest::nameDialogStaysOpenUntilTheNameIsStorable() {
  AppFixture app;
  QStringList refused;
  app.dialogs.then([&](QDialog& dialog) {
    auto* edit = dialog.findChild<QLineEdit*>("nameEdit");
    auto* ok = dialog.findChild<QPushButton*>("okButton");
    dialog.show();
    for (const QString& name : {QString(61, QChar(u'字')), QString(), QStringLiteral("[x]"),
                                QStringLiteral(" A"), QStringLiteral("a\tb")}) {
      edit->setText(name);
      ok->click();
      if (dialog.isVisible()) refused << name;
    }
    edit->setText(QString(60, QChar(u'字')));
    ok->click();
    return dialog.isVisible() ? -1 : dialog.result();
  });
  app.button("registerButton")->click();

  QCOMPARE(refused.size(), 5);
  QCOMPARE(app.boxes.shown.size(), std::size_t{5});
  QCOMPARE(app.boxes.shown[0].text, QStringLiteral("設定名は60文字以内にしてください"));
  QCOMPARE(app.boxes.shown[1].text, QStringLiteral("設定名を入力してください"));
  QCOMPARE(app.list()->topLevelItemCount(), 1);
  QCOMPARE(app.list()->topLevelItem(0)->text(0).size(), 60);
}

void RegistrationTest::failedSaveIsShownAndTheListStaysTrue() {
  AppFixture app;
  app.addProfile(0, "A", "8630-GHJK");
  app.reopenWindow();
  // The settings file becomes a folder: the save must fail and say so.
  std::filesystem::remove(app.dir / "RSETTING.INI");
  std::filesystem::create_directory(app.dir / "RSETTING.INI");
  app.dialogs.then(typeAndOk("nameEdit", "B"));
  app.button("registerButton")->click();
  QVERIFY(!app.boxes.shown.empty());
  QCOMPARE(app.boxes.shown[0].icon, QMessageBox::Warning);
  QVERIFY(app.boxes.shown[0].text.contains(QStringLiteral("RSETTING.INI")));
  QVERIFY(app.indexBytes().find("Set1") == std::string::npos);
}

DROVIK_QTEST_SUITE(RegistrationTest);

}  // namespace drovik::test
