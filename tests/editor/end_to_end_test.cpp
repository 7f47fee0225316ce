// The settings dialog in the main window, on real profile files: exactly the edited keys
// change in the settings file.
#include <QComboBox>
#include <QLabel>
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
#include "support/held_folder_lock.h"
#include "ui/wait_box.h"
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

// The keys editAndPressOk changes in a profile of the defaults.
const KeyValues kEditedKeys = {{"User03_FormLenRear", "16"},
                               {"User03_TopMFront", "8.9"},
                               {"User2", "KEIRI"},
                               {"User8FTFormLenChkFlag", "0"},
                               {"DHCP", "1"}};

int pressOkAgain(QDialog& shown) {
  return static_cast<CDlgSetting&>(shown).storeAll() ? QDialog::Accepted : QDialog::Rejected;
}

QString userName2(QDialog& shown) {
  return static_cast<CDlgSetting&>(shown).userNamePage().findChild<QLineEdit*>("User2")->text();
}

// Far below the ten seconds of a real wait, far above the brief wait without a box.
constexpr std::chrono::milliseconds kShortLockWait(400);

// The main window with the settings dialog plugged in, on one old-model profile "PROF".
struct EditorOnOneProfile {
  EditorOnOneProfile() {
    app.addProfile(0, "PROF", "8630-GHJK");
    app.reopenWindow();
    app.window->setSettingsEditor(&editor);
  }
  AppFixture app;
  SettingsEditorDialog editor;
};

}  // namespace

void EditorEndToEndTest::changeSettingsWritesExactlyTheChangedKeys() {
  EditorOnOneProfile fixture;
  AppFixture& app = fixture.app;
  const KeyValues before = keyValues(app.settingsBytes());

  app.dialogs.then(editAndPressOk);
  app.clickRow(0);
  app.button("changeButton")->click();
  QCOMPARE(app.dialogs.opened.back(), QString("CDlgSetting"));
  QVERIFY(app.boxes.shown.empty());
  QCOMPARE(changedKeys(before, keyValues(app.settingsBytes())), kEditedKeys);
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

void EditorEndToEndTest::lockNeverObtainedKeepsTheDialogAndItsRetryWritesTheSameKeys() {
  EditorOnOneProfile fixture;
  AppFixture& app = fixture.app;
  const KeyValues before = keyValues(app.settingsBytes());
  const ShortLockWait shortWait(kShortLockWait);
  HeldFolderLock held(app.dir.path());
  int firstOk = -1;
  QString keptName;
  QString waitText;
  app.dialogs.then([&](QDialog& dialog) {
    firstOk = editAndPressOk(dialog);  // waits behind the box, then fails
    keptName = userName2(dialog);
    held.release();
    return pressOkAgain(dialog);
  });
  app.dialogs.then(inspectThenWaitForClose(
      [&](QDialog& box) { waitText = box.findChild<QLabel*>("waitLabel")->text(); }));
  app.clickRow(0);
  app.button("changeButton")->click();

  QCOMPARE(firstOk, int(QDialog::Rejected));
  QCOMPARE(waitText, ui::folderBusyText());
  QCOMPARE(app.boxes.shown.size(), std::size_t{1});
  QCOMPARE(app.boxes.shown[0].icon, QMessageBox::Warning);
  QVERIFY(app.boxes.shown[0].text.contains(QStringLiteral(".drovik.lock")));
  QCOMPARE(keptName, QStringLiteral("KEIRI"));
  QCOMPARE(changedKeys(before, keyValues(app.settingsBytes())), kEditedKeys);
  QCOMPARE(app.selectedName(), std::string("PROF"));
}

void EditorEndToEndTest::cancelAfterAFailedSaveWritesNothing() {
  EditorOnOneProfile fixture;
  AppFixture& app = fixture.app;
  const std::string index = app.indexBytes();
  const std::string settings = app.settingsBytes();
  const auto settingsFile = app.dir / "RSETTING.INI";
  const auto aside = app.dir / "RSETTING.aside";
  int firstOk = -1;
  app.dialogs.then([&](QDialog& dialog) {
    // The settings file cannot be read while OK saves: it is a folder for the moment.
    std::filesystem::rename(settingsFile, aside);
    std::filesystem::create_directory(settingsFile);
    firstOk = editAndPressOk(dialog);
    std::filesystem::remove(settingsFile);
    std::filesystem::rename(aside, settingsFile);
    return pressCancel()(dialog);
  });
  app.clickRow(0);
  app.button("changeButton")->click();

  QCOMPARE(firstOk, int(QDialog::Rejected));
  QCOMPARE(app.boxes.shown.size(), std::size_t{1});
  QVERIFY(app.boxes.shown[0].text.contains(QStringLiteral("RSETTING.INI")));
  QCOMPARE(app.settingsBytes(), settings);
  QCOMPARE(app.indexBytes(), index);

  // Nothing of the cancelled edits is left to write: OK on the next opening changes nothing.
  app.dialogs.then(pressOkAgain);
  app.button("changeButton")->click();
  QCOMPARE(app.settingsBytes(), settings);
}

void EditorEndToEndTest::registrationWhoseSaveFailedCanBeRetried() {
  AppFixture app;
  SettingsEditorDialog editor;
  app.window->setSettingsEditor(&editor);
  const ShortLockWait shortWait(kShortLockWait);
  HeldFolderLock held(app.dir.path());
  int firstOk = -1;
  app.dialogs.then(typeAndOk("nameEdit", "NEW"));
  app.dialogs.then([&](QDialog& dialog) {
    firstOk = editAndPressOk(dialog);
    held.release();
    return pressOkAgain(dialog);
  });
  app.dialogs.then(inspectThenWaitForClose([](QDialog&) {}));
  app.button("registerButton")->click();

  QCOMPARE(firstOk, int(QDialog::Rejected));
  QCOMPARE(app.boxes.shown.size(), std::size_t{1});
  QCOMPARE(app.rowOf("NEW"), 0);
  QCOMPARE(app.selectedName(), std::string("NEW"));
  const KeyValues keys = keyValues(app.settingsBytes());
  QCOMPARE(keys.at("User2"), std::string("KEIRI"));
  QCOMPARE(keys.at("User03_FormLenFront"), std::string("13"));  // every key written
}

DROVIK_QTEST_SUITE(EditorEndToEndTest);

}  // namespace drovik::test
