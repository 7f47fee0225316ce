// The comparison window: opened from the help menu and the context menu, refreshed by either
// choice, and honest about profiles it cannot read.
#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTableWidget>
#include <QTest>

#include "app/app_fixture.h"
#include "app/app_tests.h"
#include "app/compare_dlg.h"
#include "ui_support/control_names.h"
#include "ui_support/qtest_suites.h"

namespace drovik::test {

namespace {

// The table's rows, one string per row with the cells separated by " | ".
QStringList rows(QDialog& dialog) {
  auto* table = dialog.findChild<QTableWidget*>("differenceTable");
  QStringList out;
  for (int row = 0; row < table->rowCount(); ++row) {
    QStringList cells;
    for (int column = 0; column < table->columnCount(); ++column)
      cells << table->item(row, column)->text();
    out << cells.join(" | ");
  }
  return out;
}

// The width a column's cells need to show whole.
int contentWidth(const QAbstractItemView& view, int column) {
  return view.sizeHintForColumn(column);
}

QString summary(QDialog& dialog) { return dialog.findChild<QLabel*>("summaryLabel")->text(); }

}  // namespace

void CompareTest::menuItemComparesTheSelectedRowWithTheNext() {
  AppFixture app;
  app.addProfile(0, "本社", "8630-GHJK", true, "佐藤");
  app.addProfile(1, "支店", "8630-GHJK", true, "鈴木");
  app.addProfile(2, "工場", "8630-GHJK", true, "佐藤");
  app.reopenWindow();
  app.clickRow(1);
  auto* compare = app.window->findChild<QAction*>("compareAction");
  QVERIFY(compare);
  QCOMPARE(compare->text(), QStringLiteral("設定比較..."));
  QVERIFY(app.window->actions().contains(compare));  // the window's context menu
  QVERIFY(app.window->findChild<QMenu*>("helpMenu")->actions().contains(compare));

  QStringList shown;
  app.dialogs.then(inspectThenOk([&](QDialog& dialog) {
    shown = rows(dialog);
    QVERIFY2(unnamedControls(dialog).isEmpty(), qPrintable(unnamedControls(dialog).join("; ")));
    QVERIFY(!dialog.findChild<QLabel*>("summaryLabel")->accessibleName().isEmpty());
    QCOMPARE(dialog.findChild<QComboBox*>("firstCombo")->accessibleName(),
             QStringLiteral("比較元"));
  }));
  compare->trigger();
  QCOMPARE(app.dialogs.opened, std::vector<QString>{QStringLiteral("CDlgCompare")});
  QCOMPARE(
      shown,
      QStringList{QStringLiteral("ユーザー名登録 ユーザー１の名前 | 鈴木 | 佐藤 | 対象 | 対象")});
}

void CompareTest::eitherChoiceRefreshesTheTable() {
  AppFixture app;
  app.addProfile(0, "本社", "8630-GHJK", true, "佐藤");
  app.addProfile(1, "支店", "8630-GHJK", true, "鈴木");
  app.addProfile(2, "控え", "8630-GHJK", true, "佐藤");
  app.addProfile(3, "新機種", "8630-M", true, "佐藤");
  CDlgCompare dialog(app.service, {"本社", "支店", "控え", "新機種"});
  auto* first = dialog.findChild<QComboBox*>("firstCombo");
  auto* second = dialog.findChild<QComboBox*>("secondCombo");
  QCOMPARE(dialog.differenceCount(), 1);
  QCOMPARE(summary(dialog), QStringLiteral("違いは 1 項目です"));

  second->setCurrentIndex(2);  // as the operator picks it
  QCOMPARE(rows(dialog), QStringList());
  QCOMPARE(summary(dialog), QStringLiteral("違いはありません"));
  first->setCurrentIndex(1);
  QCOMPARE(
      rows(dialog),
      QStringList{QStringLiteral("ユーザー名登録 ユーザー１の名前 | 鈴木 | 佐藤 | 対象 | 対象")});
  // User names are not what an M printer receives.
  second->setCurrentIndex(3);
  QCOMPARE(dialog.differenceCount(), 0);
  QVERIFY(summary(dialog).startsWith(QStringLiteral("違いはありません（8630-M")));
}

void CompareTest::unreadableChoiceIsSaidAndShowsNoRows() {
  AppFixture app;
  app.addProfile(0, "本社", "8630-GHJK", true, "佐藤");
  app.addProfile(1, "支店", "8630-GHJK", true, "鈴木");
  CDlgCompare dialog(app.service, {"本社", "支店", "削除済み"});
  QCOMPARE(dialog.differenceCount(), 1);
  dialog.choose(2, 0);  // deleted by another copy after the window opened
  QCOMPARE(dialog.differenceCount(), 0);
  QVERIFY2(summary(dialog).contains(QStringLiteral("削除済み")), qPrintable(summary(dialog)));

  CDlgCompare empty(app.service, {});
  QCOMPARE(empty.differenceCount(), 0);
  QCOMPARE(empty.summary(), QStringLiteral("比較する設定がありません"));
}

void CompareTest::itemNamesShowWholeBesideTheValues() {
  // An old profile of initial user 9 against the M copy of one of initial user 10 that differs
  // in several of user 10's settings: every row names both users, the longest names there are.
  AppFixture app;
  ProfileModel old;
  old.setSelectUser(8);
  QVERIFY(app.service.registerProfile(old, "旧機種", OnExisting::Overwrite));
  ProfileModel changed;
  changed.setSelectUser(9);
  for (const char* item : {"FormLenFront", "LineLenFront", "FormLenRear", "LineLenRear"})
    changed.setPaperIndex(9, catalogue::findItem(item)->index, 2);
  QVERIFY(app.service.registerProfile(changed, "変更", OnExisting::Overwrite));
  QVERIFY(app.service.migrateProfile("変更", "変更 8630-M", OnExisting::Overwrite));
  CDlgCompare dialog(app.service, {"旧機種", "変更 8630-M"});
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));

  auto* table = dialog.findChild<QTableWidget*>("differenceTable");
  QVERIFY(table->rowCount() >= 4);
  const QHeaderView* header = table->horizontalHeader();
  // The item column is wide enough for its longest cell; the values and marks take no more
  // than theirs, and together the columns fill the table.
  QVERIFY2(header->sectionSize(0) >= contentWidth(*table, 0),
           qPrintable(
               QStringLiteral("%1 < %2").arg(header->sectionSize(0)).arg(contentWidth(*table, 0))));
  for (int column = 1; column < table->columnCount(); ++column)
    QCOMPARE(header->sectionSize(column),
             std::max(contentWidth(*table, column), header->sectionSizeHint(column)));
  QCOMPARE(header->length(), table->viewport()->width());
  for (int row = 0; row < table->rowCount(); ++row) {
    const QTableWidgetItem* item = table->item(row, 0);
    QVERIFY2(item->text().startsWith(QStringLiteral("ユーザー９／ユーザー１０ ")),
             qPrintable(item->text()));
    QCOMPARE(item->toolTip(), item->text());
  }
}

DROVIK_QTEST_SUITE(CompareTest);

}  // namespace drovik::test
