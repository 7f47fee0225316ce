// The fleet window's runs against real peers: old printers (the FTP simulator), new printers
// on FTP and a spooler queue that holds its job, an old printer that never answers. Each row's
// state is followed as the run reports it; 中止 and closing stop the run as Ctrl-C stops the
// command; the plan is one run at a time for both programs.
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <map>
#include <nlohmann/json.hpp>

#include "fleet/plan_lock.h"
#include "fleet/result_file.h"
#include "fleet_ui/fleet_runner.h"
#include "fleet_ui/fleet_window.h"
#include "fleet_ui/plan_table_model.h"
#include "peers/loopback_listener.h"
#include "peers/printer_simulator.h"
#include "peers/private_cups.h"
#include "peers/silent_printer.h"
#include "support/temp_dir.h"
#include "transport/ipv4_address.h"
#include "ui_support/qtest_suites.h"
#include "ui_support/scripted_ui.h"

namespace drovik::test {
namespace {

using fleet::RowState;
using fleet_ui::FleetWindow;
using fleet_ui::PlanTableModel;

std::string ip(const Ipv4Octets& address) { return transport::dottedOctets(address); }

PrinterSimulatorOptions printer(const std::string& greeting, const std::string& password) {
  PrinterSimulatorOptions options;
  options.greeting = greeting;
  options.password = password;
  return options;
}

// Every state each row went through, in order.
struct StateLog {
  explicit StateLog(FleetWindow& window) {
    QObject::connect(&window.runner(), &fleet_ui::FleetRunner::rowChanged,
                     [this](int row, RowState state, const QString&) {
                       auto& seen = states[row];
                       if (seen.empty() || seen.back() != state) seen.push_back(state);
                     });
  }
  std::map<int, std::vector<RowState>> states;
};

void click(QWidget& window, const char* name) {
  auto* button = window.findChild<QPushButton*>(name);
  QVERIFY(button && button->isEnabled());
  button->click();
}

bool finished(FleetWindow& window, int seconds = 30) {
  return QTest::qWaitFor([&] { return !window.runner().running(); }, seconds * 1000);
}

// A row's status in the result file.
QString statusOf(const std::filesystem::path& results, const std::string& name) {
  const nlohmann::json document = nlohmann::json::parse(readFile(results));
  for (const auto& row : document["rows"])
    if (row["name"] == name) return QString::fromStdString(row["status"].get<std::string>());
  return {};
}

}  // namespace

class FleetRunTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void rowsAreFollowedThroughEveryStateToTheirEnd() {
    PrinterSimulator old(printer("8630-H05 FTP server ready.", "pw"));
    if (old.needsRoot()) QSKIP("the printer simulators need port 21 (root)");
    QCOMPARE(QString::fromStdString(old.problem()), QString());
    PrinterSimulator replacement(printer("8630-M FTP server ready.", ""));
    QCOMPARE(QString::fromStdString(replacement.problem()), QString());
    PrivateCups cups;
    QCOMPARE(QString::fromStdString(cups.problem()), QString());
    LoopbackListener stuck;  // takes the job's connection, never finishes it
    QVERIFY(cups.addQueue("Held_Q", stuck.port()));
    SilentPrinter silent;  // never greets: the fetch gives up at the step's limit
    QVERIFY(silent.listening());

    TempDir dir;
    const auto plan = dir / "floor3.csv";
    writeFile(plan,
              "name,old_printer,new_target\n"
              "本社," +
                  ip(old.address()) + ",ftp:" + ip(replacement.address()) + "\n" + "受付," +
                  ip(old.address()) + ",cups:Held_Q\n" + "誤り," + ip(silent.address()) +
                  ",parallel\n");
    ScriptedMessageBoxes boxes;
    FleetWindow window;
    window.setStepLimit(std::chrono::seconds(3));
    QVERIFY(window.openPlan(plan));
    window.findChild<QLineEdit*>("passwordEdit")->setText("pw");
    StateLog log(window);
    click(window, "runButton");
    QVERIFY(window.runner().running());
    QVERIFY(!window.findChild<QPushButton*>("runButton")->isEnabled());
    QVERIFY(finished(window));

    const std::vector<RowState> migrated = {RowState::Fetching, RowState::Migrating,
                                            RowState::Sending};
    auto through = [&](int row, RowState last) {
      auto expected = migrated;
      expected.push_back(last);
      return log.states[row] == expected;
    };
    QVERIFY(through(0, RowState::Completed));
    QVERIFY(through(1, RowState::Queued));
    QCOMPARE(log.states[2], (std::vector{RowState::Fetching, RowState::Failed}));
    QCOMPARE(window.table().index(1, PlanTableModel::kState).data().toString(),
             QStringLiteral("印刷待ち"));
    QCOMPARE(window.table().index(2, PlanTableModel::kState).data().toString(),
             QStringLiteral("失敗"));
    QVERIFY(window.table().rowResult(2).startsWith(QStringLiteral("失敗 取得: ")));
    QCOMPARE(window.findChild<QProgressBar*>("runProgress")->format(), QStringLiteral("3 / 3"));
    // What the new printer received is the command kept with the row's profiles: the bytes
    // drovik-cli fleet sends, from the same pipeline.
    const auto archive = dir / "floor3.archive";
    QVERIFY(readFile(replacement.uploaded("rsic_cmd.bin")) ==
            readFile(archive / "本社" / "本社-M.sib"));
    QCOMPARE(statusOf(dir / "floor3.result.json", "誤り"), QStringLiteral("failed"));

    // Opened again, the rows that completed are said to be done, and a run skips them.
    FleetWindow reopened;
    QVERIFY(reopened.openPlan(plan));
    QCOMPARE(reopened.table().rowState(0), RowState::CompletedBefore);
    QCOMPARE(reopened.table().rowState(1), RowState::CompletedBefore);
    QCOMPARE(reopened.table().rowState(2), RowState::Waiting);
    QVERIFY(boxes.shown.empty());
  }

  void stoppingCancelsTheRowInFlightAndLeavesTheOthersPending() {
    SilentPrinter silent;
    QVERIFY(silent.listening());
    TempDir dir;
    const auto plan = dir / "p.csv";
    writeFile(plan,
              "name,old_printer,new_target\n"
              "無応答," +
                  ip(silent.address()) +
                  ",parallel\n"
                  "次,10.255.0.1,ftp:10.255.1.1\n"
                  "その次,10.255.0.2,ftp:10.255.1.2\n");
    ScriptedMessageBoxes boxes;
    FleetWindow window;
    window.setStepLimit(std::chrono::seconds(60));
    QVERIFY(window.openPlan(plan));
    window.findChild<QSpinBox*>("jobsSpin")->setValue(1);
    for (int row = 0; row < 3; ++row)
      QVERIFY2(window.table().checkOf(row).row, window.table().checkOf(row).problem.c_str());
    StateLog log(window);
    click(window, "runButton");
    QVERIFY(QTest::qWaitFor([&] { return silent.hasCaller(); }, 10000));
    QCOMPARE(window.table().rowState(0), RowState::Fetching);

    // The plan is in use for either program while the window runs it.
    auto second = fleet::PlanLock::take(plan);
    QVERIFY(!second.isOk());
    QVERIFY(second.message().starts_with(fleet::kPlanInUse));

    const auto stoppedAt = std::chrono::steady_clock::now();
    click(window, "stopButton");
    QVERIFY(finished(window, 10));
    QVERIFY(std::chrono::steady_clock::now() - stoppedAt < std::chrono::seconds(5));
    QCOMPARE(window.table().rowState(0), RowState::Failed);
    QCOMPARE(window.table().rowState(1), RowState::Waiting);
    QCOMPARE(window.table().rowState(2), RowState::Waiting);
    QVERIFY(
        window.findChild<QLabel*>("runLabel")->text().startsWith(QStringLiteral("中止しました")));
    const auto results = dir / "p.result.json";
    QCOMPARE(statusOf(results, "無応答"), QStringLiteral("failed"));
    QCOMPARE(statusOf(results, "次"), QStringLiteral("pending"));
    QCOMPARE(statusOf(results, "その次"), QStringLiteral("pending"));
    // The lock went with the run.
    QVERIFY(fleet::PlanLock::take(plan).isOk());
    QVERIFY(boxes.shown.empty());
  }

  void closingDuringARunAsksAndThenStopsIt() {
    SilentPrinter silent;
    QVERIFY(silent.listening());
    TempDir dir;
    const auto plan = dir / "p.csv";
    writeFile(plan, "無応答," + ip(silent.address()) + ",parallel\n");
    ScriptedMessageBoxes boxes;
    FleetWindow window;
    window.setStepLimit(std::chrono::seconds(60));
    QVERIFY(window.openPlan(plan));
    window.show();
    click(window, "runButton");
    QVERIFY(QTest::qWaitFor([&] { return silent.hasCaller(); }, 10000));
    // Declined: the run goes on and the window stays.
    boxes.answer(QMessageBox::Cancel);
    QVERIFY(!window.close());
    QVERIFY(window.runner().running());
    boxes.answer(QMessageBox::Ok);
    QVERIFY(window.close());
    QVERIFY(!window.runner().running());
    QCOMPARE(boxes.shown.size(), std::size_t(2));
    QVERIFY(boxes.shown[0].text.startsWith(QStringLiteral("移行を実行中です。")));
    QCOMPARE(statusOf(dir / "p.result.json", "無応答"), QStringLiteral("failed"));
  }
};

DROVIK_QTEST_SUITE(FleetRunTest);

}  // namespace drovik::test

#include "fleet_run_test.moc"
