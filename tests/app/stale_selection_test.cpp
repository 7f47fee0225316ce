// Another copy of the program changes the folder between the operator's choice of a row and
// the button: every operation still acts on the profile of the chosen name, or says that it
// is gone and lists the folder as it is now. The other copy is drovik-cli, a real process.
#include <QComboBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTest>

#include "app/app_fixture.h"
#include "app/app_tests.h"
#include "ui_support/qtest_suites.h"

namespace drovik::test {

namespace {

// AAA, DDD and CCC of the old model with initial users 1, 6 and 3, and BBB, the M copy of CCC:
// the rows of the window, in this order.
void addFourProfiles(AppFixture& app) {
  for (const auto& [name, user] : {std::pair{"AAA", 0}, {"DDD", 5}, {"CCC", 2}}) {
    ProfileModel profile;
    profile.setSelectUser(user);
    QVERIFY(app.service.registerProfile(profile, name, OnExisting::Refuse));
  }
  QVERIFY(app.service.migrateProfile("CCC", "BBB", OnExisting::Refuse));
  app.reopenWindow();
}

// What another copy does meanwhile.
void otherCopy(const AppFixture& app, const QStringList& args) {
  QProcess cli;
  cli.start(QStringLiteral(DROVIK_CLI_PATH),
            QStringList{"--data-dir", QString::fromStdString(app.dir.path().string())} + args);
  QVERIFY(cli.waitForFinished(20000));
  QCOMPARE(cli.exitCode(), 0);
}

// Selects `name`, lets the other copy delete the first profile, and presses `button`.
void chooseThenLoseTheFirstRow(AppFixture& app, const std::string& name, const char* button) {
  app.clickRow(app.rowOf(name));
  otherCopy(app, {"delete", "AAA"});
  app.button(button)->click();
}

std::vector<std::uint8_t> commandOf(const AppFixture& app, const std::string& name) {
  ProfileModel model;
  auto prepared = app.service.prepareProfileCommand(model, name);
  return prepared ? prepared->image.bytes : std::vector<std::uint8_t>{};
}

int initialUserOf(const AppFixture& app, const std::string& name) {
  ProfileModel model;
  return app.service.loadProfile(model, name) ? model.values.selectUser : -1;
}

struct CapturingSender : CommandSender {
  std::string profile;
  std::vector<std::uint8_t> bytes;
  int sent = 0;
  void sendCommand(const std::string& name, const PreparedCommand& command, QWidget*) override {
    profile = name;
    bytes = command.image.bytes;
    ++sent;
  }
};

bool saidGone(const AppFixture& app) {
  return !app.boxes.shown.empty() &&
         app.boxes.shown.back().text.contains(QStringLiteral("登録されていません"));
}

}  // namespace

void StaleSelectionTest::sendGivesTheChosenProfilesCommand() {
  AppFixture app;
  addFourProfiles(app);
  CapturingSender sender;
  app.window->setCommandSender(&sender);
  chooseThenLoseTheFirstRow(app, "BBB", "sendButton");
  QCOMPARE(sender.bytes.size(), std::size_t{195});  // BBB's M command, not an old-model one
  QCOMPARE(sender.bytes, commandOf(app, "BBB"));
  QCOMPARE(sender.profile, std::string("BBB"));  // what the history will name

  // The chosen profile itself deleted meanwhile: said, nothing sent, the list as it is now.
  app.clickRow(app.rowOf("DDD"));
  otherCopy(app, {"delete", "DDD"});
  app.button("sendButton")->click();
  QCOMPARE(sender.sent, 1);
  QVERIFY(saidGone(app));
  QCOMPARE(app.rowOf("DDD"), -1);
  QCOMPARE(app.list()->topLevelItemCount(), 2);
}

void StaleSelectionTest::generateWritesTheChosenProfilesCommand() {
  AppFixture app;
  addFourProfiles(app);
  app.files.choose(QString::fromStdString((app.dir / "out.sib").string()));
  chooseThenLoseTheFirstRow(app, "BBB", "generateButton");
  const std::string written = readFile(app.dir / "out.sib");
  const auto expected = commandOf(app, "BBB");
  QCOMPARE(written, std::string(expected.begin(), expected.end()));
}

void StaleSelectionTest::settingsListShowsTheChosenProfile() {
  AppFixture app;
  addFourProfiles(app);
  QString shown;
  app.dialogs.then(inspectThenOk([&](QDialog& dialog) {
    shown = dialog.findChild<QPlainTextEdit*>("reportText")->toPlainText();
  }));
  chooseThenLoseTheFirstRow(app, "DDD", "listButton");
  // DDD's initial user, in the old model's layout.
  QVERIFY2(shown.contains(QStringLiteral("初期ユーザー設定\tユーザー６\n")),
           qPrintable(shown.left(80)));
}

void StaleSelectionTest::changeEditsAndSavesTheChosenProfile() {
  AppFixture app;
  addFourProfiles(app);
  FakeSettingsEditor editor;
  int openedOn = -1;
  editor.edit = [&](ProfileModel& model) {
    openedOn = model.values.selectUser;
    model.setSelectUser(9);
  };
  app.window->setSettingsEditor(&editor);
  chooseThenLoseTheFirstRow(app, "DDD", "changeButton");
  QCOMPARE(openedOn, 5);
  QCOMPARE(initialUserOf(app, "DDD"), 9);
  QCOMPARE(initialUserOf(app, "CCC"), 2);
}

void StaleSelectionTest::migrateCopiesTheChosenProfile() {
  AppFixture app;
  addFourProfiles(app);
  app.dialogs.then(typeAndOk("nameEdit", QStringLiteral("EEE")));
  app.dialogs.then(pressOk());  // the source's settings list
  chooseThenLoseTheFirstRow(app, "CCC", "migrateButton");
  QCOMPARE(initialUserOf(app, "EEE"), 2);
  QCOMPARE(app.selectedName(), std::string("EEE"));
}

void StaleSelectionTest::deleteRemovesTheChosenProfile() {
  AppFixture app;
  addFourProfiles(app);
  app.boxes.answer(QMessageBox::Ok);
  chooseThenLoseTheFirstRow(app, "CCC", "deleteButton");
  auto slots = app.service.readSlots();
  QVERIFY(slots);
  QCOMPARE((*slots)[0].name + " " + (*slots)[1].name, std::string("DDD BBB"));
  QCOMPARE(app.list()->topLevelItemCount(), 2);
}

void StaleSelectionTest::comparisonStartsFromTheChosenProfile() {
  AppFixture app;
  addFourProfiles(app);
  app.clickRow(app.rowOf("DDD"));
  otherCopy(app, {"delete", "AAA"});
  QString first;
  QString second;
  app.dialogs.then(inspectThenOk([&](QDialog& dialog) {
    first = dialog.findChild<QComboBox*>("firstCombo")->currentText();
    second = dialog.findChild<QComboBox*>("secondCombo")->currentText();
  }));
  app.window->showComparison();
  QCOMPARE(first, QStringLiteral("DDD"));
  QCOMPARE(second, QStringLiteral("CCC"));
}

DROVIK_QTEST_SUITE(StaleSelectionTest);

}  // namespace drovik::test
