// The settings dialog in the main window, on real profile files: exactly the edited keys
// change in the settings file.
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <map>
#include <sstream>

#include "app/app_fixture.h"
#include "app/settings_editor_dialog.h"
#include "editor/check_tree.h"
#include "editor/editor_tests.h"
#include "editor/interface_page.h"
#include "editor/setting_dlg.h"
#include "editor/stepper_box.h"
#include "editor/user_name_page.h"
#include "editor/user_page.h"
#include "ui_support/qtest_suites.h"

namespace drovik::test {
namespace {

using namespace editor;

using KeyValues = std::map<std::string, std::string>;

// "key=value" lines of the settings file (section headers and all).
KeyValues keyValues(const std::string& bytes) {
  KeyValues keys;
  std::istringstream lines(bytes);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto eq = line.find('=');
    if (eq != std::string::npos) keys[line.substr(0, eq)] = line.substr(eq + 1);
  }
  return keys;
}

// The keys whose value is new or different, with the new value.
KeyValues changedKeys(const KeyValues& before, const KeyValues& after) {
  KeyValues changed;
  for (const auto& [key, value] : after) {
    auto it = before.find(key);
    if (it == before.end() || it->second != value) changed[key] = value;
  }
  return changed;
}

// What the operator does in the dialog: a list, a margin spinner, a name, a check box and a
// radio button, then OK.
int editAndPressOk(QDialog& shown) {
  auto& dialog = static_cast<CDlgSetting&>(shown);
  dialog.tree().selectSlot(userSlot(2, kRearRow));
  auto* formLen = dialog.userPage(2).findChild<QComboBox*>("FormLenRear");
  formLen->setCurrentIndex(formLen->count() - 1);  // "＊設定変更なし"
  Q_EMIT formLen->activated(formLen->count() - 1);
  dialog.userPage(2).findChild<StepperBox*>("TopMFront")->stepBy(1);
  auto* name = dialog.userNamePage().findChild<QLineEdit*>("User2");
  name->selectAll();
  QTest::keyClicks(name, "KEIRI");
  dialog.tree().clickCheckBox(userSlot(7, kFrontRow + 1));
  dialog.interfacePage().findChild<QRadioButton*>("DHCP_1")->click();
  return dialog.storeAll() ? QDialog::Accepted : QDialog::Rejected;
}

}  // namespace

void EditorEndToEndTest::changeSettingsWritesExactlyTheChangedKeys() {
  AppFixture app;
  app.addProfile(0, "PROF", "8630-GHJK");
  app.reopenWindow();
  SettingsEditorDialog editor;
  app.window->setSettingsEditor(&editor);
  const KeyValues before = keyValues(app.settingsBytes());

  app.dialogs.then(editAndPressOk);
  app.clickRow(0);
  app.button("changeButton")->click();
  QCOMPARE(app.dialogs.opened.back(), QString("CDlgSetting"));
  QVERIFY(app.boxes.shown.empty());
  const KeyValues expected = {{"User03_FormLenRear", "16"},
                              {"User03_TopMFront", "8.9"},
                              {"User2", "KEIRI"},
                              {"User8FTFormLenChkFlag", "0"},
                              {"DHCP", "1"}};
  QCOMPARE(changedKeys(before, keyValues(app.settingsBytes())), expected);
  QCOMPARE(app.selectedName(), std::string("PROF"));

  // Opening again and pressing OK changes nothing.
  const std::string saved = app.settingsBytes();
  app.dialogs.then([](QDialog& d) {
    return static_cast<CDlgSetting&>(d).storeAll() ? QDialog::Accepted : QDialog::Rejected;
  });
  app.button("changeButton")->click();
  QCOMPARE(changedKeys(keyValues(saved), keyValues(app.settingsBytes())), KeyValues{});
}

void EditorEndToEndTest::registrationSavesWhatTheDialogHolds() {
  AppFixture app;
  SettingsEditorDialog editor;
  app.window->setSettingsEditor(&editor);
  app.dialogs.then(typeAndOk("nameEdit", "NEW"));
  app.dialogs.then(editAndPressOk);
  app.button("registerButton")->click();
  QCOMPARE(app.rowOf("NEW"), 0);
  const KeyValues keys = keyValues(app.settingsBytes());
  QCOMPARE(keys.at("User03_FormLenRear"), std::string("16"));
  QCOMPARE(keys.at("User2"), std::string("KEIRI"));
  QCOMPARE(keys.at("User8FTFormLenChkFlag"), std::string("0"));
  QCOMPARE(keys.at("User8FTLinePitchChkFlag"), std::string("1"));
  QCOMPARE(keys.at("User03_FormLenFront"), std::string("13"));  // every key written
}

void EditorEndToEndTest::saveFailureIsShown() {
  AppFixture app;
  app.addProfile(0, "GONE", "8630-GHJK");
  app.reopenWindow();
  SettingsEditorDialog editor;
  app.window->setSettingsEditor(&editor);
  app.dialogs.then([&](QDialog& d) {
    // Another copy of the program deletes the profile while the dialog is open.
    if (!app.service.deleteProfile("GONE")) return int(QDialog::Rejected);
    return static_cast<CDlgSetting&>(d).storeAll() ? int(QDialog::Accepted)
                                                   : int(QDialog::Rejected);
  });
  app.clickRow(0);
  app.button("changeButton")->click();
  QCOMPARE(app.boxes.shown.size(), std::size_t{1});
  QCOMPARE(app.boxes.shown[0].icon, QMessageBox::Warning);
  QCOMPARE(app.rowOf("GONE"), -1);
}

void EditorEndToEndTest::handEditedAddressIsShownAndRefusedByOk() {
  AppFixture app;
  app.addProfile(0, "PROF", "8630-GHJK");
  std::string edited = app.settingsBytes();
  const std::string stored = "IPAddress1=0\r\n";
  const auto at = edited.find(stored);
  QVERIFY(at != std::string::npos);
  writeFile(app.dir / "RSETTING.INI", edited.replace(at, stored.size(), "IPAddress1=300\r\n"));
  app.reopenWindow();
  SettingsEditorDialog editor;
  app.window->setSettingsEditor(&editor);
  auto firstOctet = [](QDialog& d) {
    return static_cast<CDlgSetting&>(d).interfacePage().findChild<QLineEdit*>("IPAddress_1");
  };
  auto pressOk = [](QDialog& d) {
    return static_cast<CDlgSetting&>(d).storeAll() ? int(QDialog::Accepted)
                                                   : int(QDialog::Rejected);
  };

  // Shown as it is, and OK names the field instead of saving its low byte (44).
  QString shown;
  app.dialogs.then([&](QDialog& d) {
    shown = firstOctet(d)->text();
    return pressOk(d);
  });
  app.clickRow(0);
  app.button("changeButton")->click();
  QCOMPARE(shown, QStringLiteral("300"));
  QCOMPARE(app.boxes.shown.size(), std::size_t{1});
  QCOMPARE(app.boxes.shown[0].text,
           QStringLiteral("インターフェース設定：ＩＰアドレス（第１オクテット）\n"
                          "0 から 255 までの半角数字を入力してください"));
  QCOMPARE(app.settingsBytes(), edited);

  // Typing 300 again gives 255, said at once, and that is what OK saves.
  app.dialogs.then([&](QDialog& d) {
    firstOctet(d)->selectAll();
    QTest::keyClicks(firstOctet(d), "300");
    return pressOk(d);
  });
  app.button("changeButton")->click();
  QCOMPARE(app.boxes.shown.size(), std::size_t{2});
  QVERIFY(app.boxes.shown[1].text.startsWith(QStringLiteral("ＩＰアドレス：300 は")));
  QCOMPARE(changedKeys(keyValues(edited), keyValues(app.settingsBytes())),
           (KeyValues{{"IPAddress1", "255"}}));
}

DROVIK_QTEST_SUITE(EditorEndToEndTest);

}  // namespace drovik::test
