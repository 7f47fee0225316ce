// The history window: opened from the help menu and the context menu, newest record first,
// narrowed by profile and target, honest about lines it passed over; and the main window says
// when an operation's record could not be written while the change itself stands.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QTableView>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "app/app_fixture.h"
#include "app/app_tests.h"
#include "history/history_file.h"
#include "history/recorder.h"
#include "ui_support/control_names.h"
#include "ui_support/qtest_suites.h"

namespace drovik::test {

namespace {

void addRecord(const AppFixture& app, const std::string& day, std::string_view operation,
               const std::string& profile, const std::string& target, bool ok = true) {
  history::Record record = history::change(operation, profile, "8630-M");
  record.time = day + "T10:00:00+09:00";
  record.user = "sato";
  record.target = target;
  if (!ok) record.outcome = history::kOutcomeFailed;
  std::ofstream(app.dir / history::kHistoryFileName, std::ios::app) << history::encodeLine(record);
}

void addSampleHistory(const AppFixture& app) {
  addRecord(app, "2024-04-01", history::operation::kRegister, "本社", "");
  addRecord(app, "2024-04-02", history::operation::kSend, "本社", "cups:KEIRI");
  addRecord(app, "2024-04-03", history::operation::kSend, "支店", "ftp:192.168.0.10", false);
  addRecord(app, "2024-04-04", history::operation::kSend, "本社", "ftp:192.168.0.10");
}

// Each row as "time | user | operation | profile | target | outcome".
QStringList historyRows(QDialog& dialog) {
  auto* table = dialog.findChild<QTableView*>("historyTable");
  QStringList out;
  for (int row = 0; row < table->model()->rowCount(); ++row) {
    QStringList cells;
    for (int column = 0; column < table->model()->columnCount(); ++column)
      cells << table->model()->index(row, column).data().toString();
    out << cells.join(" | ");
  }
  return out;
}

// The days of the rows shown.
QStringList days(QDialog& dialog) {
  QStringList out;
  for (const QString& row : historyRows(dialog)) out << row.left(10);
  return out;
}

void choose(QDialog& dialog, const char* filter, const QString& value) {
  auto* combo = dialog.findChild<QComboBox*>(filter);
  const int index = combo->findText(value);
  QVERIFY2(index >= 0, qPrintable(value));
  combo->setCurrentIndex(index);
}

void openHistory(AppFixture& app, std::function<void(QDialog&)> look) {
  app.dialogs.then(inspectThenOk(std::move(look)));
  app.window->findChild<QAction*>("historyAction")->trigger();
}

}  // namespace

void HistoryWindowTest::menuItemListsTheRecordsNewestFirst() {
  AppFixture app;
  addSampleHistory(app);
  auto* action = app.window->findChild<QAction*>("historyAction");
  QVERIFY(action);
  QCOMPARE(action->text(), QStringLiteral("履歴..."));
  QVERIFY(app.window->actions().contains(action));  // the context menu
  QVERIFY(app.window->findChild<QMenu*>("helpMenu")->actions().contains(action));

  QStringList shown;
  openHistory(app, [&](QDialog& dialog) {
    QVERIFY2(unnamedControls(dialog).isEmpty(), qPrintable(unnamedControls(dialog).join("; ")));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("履歴"));
    shown = historyRows(dialog);
    QVERIFY(!dialog.findChild<QLabel*>("notesLabel")->isVisibleTo(&dialog));
  });
  QCOMPARE(app.dialogs.opened, std::vector<QString>{QStringLiteral("historyDialog")});
  QCOMPARE(
      shown,
      (QStringList{"2024-04-04T10:00:00+09:00 | sato | 設定送信 | 本社 | ftp:192.168.0.10 | 成功",
                   "2024-04-03T10:00:00+09:00 | sato | 設定送信 | 支店 | ftp:192.168.0.10 | 失敗",
                   "2024-04-02T10:00:00+09:00 | sato | 設定送信 | 本社 | cups:KEIRI | 成功",
                   "2024-04-01T10:00:00+09:00 | sato | 新規登録 | 本社 |  | 成功"}));
}

void HistoryWindowTest::filtersNarrowTheListAndAllRestoresIt() {
  AppFixture app;
  addSampleHistory(app);
  openHistory(app, [](QDialog& dialog) {
    auto* profiles = dialog.findChild<QComboBox*>("profileFilter");
    QCOMPARE(profiles->accessibleName(), QStringLiteral("設定名"));
    QCOMPARE(profiles->count(), 3);  // すべて, 支店, 本社
    choose(dialog, "profileFilter", QStringLiteral("本社"));
    QCOMPARE(days(dialog), (QStringList{"2024-04-04", "2024-04-02", "2024-04-01"}));
    choose(dialog, "targetFilter", QStringLiteral("ftp:192.168.0.10"));
    QCOMPARE(days(dialog), QStringList{"2024-04-04"});
    choose(dialog, "profileFilter", QStringLiteral("すべて"));
    QCOMPARE(days(dialog), (QStringList{"2024-04-04", "2024-04-03"}));
    QCOMPARE(dialog.findChild<QLabel*>("countLabel")->text(), QStringLiteral("2 件（全 4 件）"));
    choose(dialog, "targetFilter", QStringLiteral("すべて"));
    QCOMPARE(days(dialog).size(), 4);
  });
}

void HistoryWindowTest::damagedLinesAreNotedUnderTheTable() {
  AppFixture app;
  addSampleHistory(app);
  std::ofstream(app.dir / history::kHistoryFileName, std::ios::app) << "{\"time\":";
  QString notes;
  int count = 0;
  openHistory(app, [&](QDialog& dialog) {
    notes = dialog.findChild<QLabel*>("notesLabel")->text();
    count = static_cast<int>(historyRows(dialog).size());
  });
  QCOMPARE(count, 4);
  QVERIFY2(notes.contains(QStringLiteral("最後の行（5行目）は途中で切れている")),
           qPrintable(notes));
  QVERIFY(app.boxes.shown.empty());

  // A history that cannot be read at all is said, with no window.
  std::filesystem::remove(app.dir / history::kHistoryFileName);
  std::filesystem::create_directory(app.dir / history::kHistoryFileName);
  app.dialogs.opened.clear();
  app.window->findChild<QAction*>("historyAction")->trigger();
  QVERIFY(app.dialogs.opened.empty());
  QCOMPARE(app.boxes.shown.size(), std::size_t{1});
}

void HistoryWindowTest::unwritableHistoryIsSaidOnceAndTheRegistrationStands() {
  AppFixture app;
  history::takeWarnings();  // another test's leftovers
  std::filesystem::create_directory(app.dir / history::kHistoryFileName);
  app.dialogs.then(typeAndOk("nameEdit", QStringLiteral("新しい設定")));
  app.button("registerButton")->click();
  QCOMPARE(app.rowOf("新しい設定"), 0);
  QCOMPARE(app.boxes.shown.size(), std::size_t{1});
  QCOMPARE(app.boxes.shown[0].icon, QMessageBox::Warning);
  QVERIFY2(app.boxes.shown[0].text.contains(QStringLiteral("履歴を記録できませんでした")),
           qPrintable(app.boxes.shown[0].text));

  // Written again, the next operation's record is there and nothing more is said.
  std::filesystem::remove(app.dir / history::kHistoryFileName);
  app.clickRow(0);
  app.boxes.answer(QMessageBox::Ok);
  app.button("deleteButton")->click();
  QCOMPARE(app.boxes.shown.size(), std::size_t{2});  // the question only
  const auto contents = history::HistoryFile(app.dir.path()).read();
  QVERIFY(contents);
  QCOMPARE(contents->records.size(), std::size_t{1});
  QCOMPARE(contents->records[0].operation, std::string("delete"));
}

DROVIK_QTEST_SUITE(HistoryWindowTest);

}  // namespace drovik::test
