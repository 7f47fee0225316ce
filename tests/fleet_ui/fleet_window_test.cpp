// The fleet window without printers: a plan opened with bad rows shows the command's reasons
// and cannot be run until mended; saving writes what the command reads and never quietly over
// another program's newer copy; every control is named for a screen reader.
#include "fleet_ui/fleet_window.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "fleet/plan_writer.h"
#include "fleet_ui/plan_table_model.h"
#include "fleet_ui/target_editor.h"
#include "support/temp_dir.h"
#include "ui_support/control_names.h"
#include "ui_support/qtest_suites.h"
#include "ui_support/scripted_ui.h"

namespace drovik::test {
namespace {

using fleet_ui::FleetWindow;
using fleet_ui::PlanTableModel;

QPushButton* buttonIn(QWidget& window, const char* name) {
  return window.findChild<QPushButton*>(name);
}

QString cell(FleetWindow& window, int row, int column) {
  return window.table().index(row, column).data().toString();
}

}  // namespace

class FleetWindowTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void refusedRowsAreMarkedAndTheRunWaitsUntilTheyAreMended() {
    TempDir dir;
    writeFile(dir / "plan.csv",
              "name,old_printer,new_target\n"
              "本社,10.0.0.1,ftp:10.0.1.1\n"
              "支社,10.0.0.300,parallel\n"
              "本社,10.0.0.2,cups:Q\n");
    ScriptedMessageBoxes boxes;
    FleetWindow window;
    QVERIFY(window.openPlan(dir / "plan.csv"));
    QCOMPARE(window.table().rowCount(), 3);
    QCOMPARE(cell(window, 0, PlanTableModel::kState), QStringLiteral("待機中"));
    QCOMPARE(cell(window, 1, PlanTableModel::kState), QStringLiteral("要修正"));
    QVERIFY(cell(window, 1, PlanTableModel::kResult)
                .startsWith(QStringLiteral("旧プリンタのアドレスが正しくありません")));
    QCOMPARE(cell(window, 2, PlanTableModel::kResult),
             QStringLiteral("設定名「本社」が1行目と重複しています"));
    QVERIFY(!buttonIn(window, "runButton")->isEnabled());
    QVERIFY(!buttonIn(window, "rehearseButton")->isEnabled());

    auto& model = window.table();
    QVERIFY(model.setData(model.index(1, PlanTableModel::kOldPrinter), "10.0.0.3"));
    QVERIFY(!buttonIn(window, "runButton")->isEnabled());
    // Renaming the first row mends the clash of the third.
    QVERIFY(model.setData(model.index(0, PlanTableModel::kName), " 本店 "));
    QCOMPARE(cell(window, 0, PlanTableModel::kName), QStringLiteral("本店"));
    QCOMPARE(cell(window, 2, PlanTableModel::kState), QStringLiteral("待機中"));
    QVERIFY(buttonIn(window, "runButton")->isEnabled());
    // Removing a row a plan needs nothing of keeps it runnable; an empty plan is not.
    window.table().removeEntries({0, 1, 2});
    QVERIFY(!buttonIn(window, "runButton")->isEnabled());
    QVERIFY(boxes.shown.empty());
  }

  void savingWritesThePlanAndAsksBeforeReplacingANewerCopy() {
    TempDir dir;
    const auto path = dir / "plan.csv";
    writeFile(path, "本社,10.0.0.1,parallel\n");
    ScriptedMessageBoxes boxes;
    FleetWindow window;
    QVERIFY(window.openPlan(path));
    auto& model = window.table();
    model.appendEntries({{{"倉庫,北", "10.0.0.2", "ftp:10.0.1.2"}, {}}});
    QVERIFY(window.save());
    QCOMPARE(readFile(path), fleet::planFileText({{"本社", "10.0.0.1", "parallel"},
                                                  {"倉庫,北", "10.0.0.2", "ftp:10.0.1.2"}}));

    const std::string theirs = "name,old_printer,new_target\nよそ,10.0.0.9,parallel\n";
    writeFile(path, theirs);
    QVERIFY(model.setData(model.index(0, PlanTableModel::kTarget), "cups:Q"));
    boxes.answer(QMessageBox::Cancel);
    QVERIFY(!window.save());
    QCOMPARE(readFile(path), theirs);
    QCOMPARE(boxes.shown.size(), std::size_t(1));
    QVERIFY(boxes.shown[0].text.contains(QStringLiteral("ほかのプログラムが変更しています")));
    boxes.answer(QMessageBox::Ok);
    QVERIFY(window.save());
    QVERIFY(readFile(path).find("cups:Q") != std::string::npos);

    // A plan that cannot be read leaves the window as it was.
    QVERIFY(!window.openPlan(dir / "missing.csv"));
    QVERIFY(boxes.shown.back().text.startsWith(QStringLiteral("計画ファイルがありません")));
    QCOMPARE(window.planPath(), std::optional(path));
    QCOMPARE(window.table().rowCount(), 2);
  }

  void theTargetCellOffersQueuesAddressesAndThePort() {
    fleet_ui::TargetEditor editor({QStringLiteral("Office"), QStringLiteral("Floor2")});
    editor.setTargetText(QStringLiteral("ftp:192.168.1.20"));
    QCOMPARE(editor.targetText(), QStringLiteral("ftp:192.168.1.20"));
    editor.setTargetText(QStringLiteral("CUPS:Floor2"));
    QCOMPARE(editor.targetText(), QStringLiteral("cups:Floor2"));
    // A queue the spooler no longer lists is kept, not replaced by another printer.
    editor.setTargetText(QStringLiteral("cups:Gone"));
    QCOMPARE(editor.targetText(), QStringLiteral("cups:Gone"));
    editor.setTargetText(QStringLiteral("parallel"));
    QCOMPARE(editor.targetText(), QStringLiteral("parallel"));
    const QStringList unnamed = unnamedControls(editor);
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QLatin1Char('\n'))));
  }

  void everyControlIsNamed() {
    FleetWindow window;
    window.table().appendEntries({{{"本社", "10.0.0.1", "parallel"}, {}}});
    const QStringList unnamed = unnamedControls(window);
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join('\n')));
    // A screen reader reads the cells as they are shown.
    const QModelIndex state = window.table().index(0, PlanTableModel::kState);
    QCOMPARE(state.data(Qt::AccessibleTextRole).toString(), QStringLiteral("待機中"));
    QVERIFY(window.findChild<QLineEdit*>("passwordEdit")->echoMode() == QLineEdit::Password);
  }
};

DROVIK_QTEST_SUITE(FleetWindowTest);

}  // namespace drovik::test

#include "fleet_window_test.moc"
