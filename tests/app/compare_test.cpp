// The comparison window: opened from the help menu and the context menu, refreshed by either
// choice, and honest about profiles it cannot read.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QTableWidget>
#include <QTest>

#include "app/app_fixture.h"
#include "app/app_tests.h"
#include "app/compare_dlg.h"
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
    // Every control tells a screen reader what it is.
    for (QWidget* control : dialog.findChildren<QWidget*>()) {
      if (!qobject_cast<QComboBox*>(control) && !qobject_cast<QTableWidget*>(control) &&
          !qobject_cast<QLabel*>(control) && !qobject_cast<QPushButton*>(control))
        continue;
      QVERIFY2(!control->objectName().isEmpty(), qPrintable(control->metaObject()->className()));
      QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));
    }
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

DROVIK_QTEST_SUITE(CompareTest);

}  // namespace drovik::test
