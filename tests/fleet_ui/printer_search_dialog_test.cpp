// The printer search dialog against a site of its own on 127.1.40.0/24: two old printers, an
// 8630-M, another FTP server, their SNMP agents; silent hosts for the sweeps that must be
// stopped.
#include "fleet_ui/printer_search_dialog.h"

#include <poll.h>

#include <QAbstractItemModel>
#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QThread>
#include <atomic>
#include <memory>

#include "discovery/sweep_targets.h"
#include "peers/loopback_listener.h"
#include "peers/printer_simulator.h"
#include "peers/scripted_greeter.h"
#include "peers/snmp_agent.h"
#include "ui/background_work.h"
#include "ui/qt_text.h"
#include "ui_support/control_names.h"
#include "ui_support/qtest_suites.h"
#include "ui_support/scripted_ui.h"

namespace drovik::test {
namespace {

using fleet_ui::PrinterSearchDialog;
using namespace std::chrono_literals;

// Long enough that a sweep still running when the test looks was never stopped.
constexpr auto kSilentTimeout = 60s;
constexpr int kSearchWaitMs = 30000;
// A cancelled sweep returns within about a second; a loaded machine gets some slack.
constexpr qint64 kPromptMs = 5000;

PrinterSimulatorOptions simulatorAt(std::vector<Ipv4Octets> addresses, std::string greeting) {
  PrinterSimulatorOptions options;
  options.greeting = std::move(greeting);
  options.fixedAddresses = std::move(addresses);
  return options;
}

SnmpAgentOptions agentAt(Ipv4Octets address, std::string name, std::string location) {
  SnmpAgentOptions options;
  options.address = address;
  options.sysName = std::move(name);
  options.sysLocation = std::move(location);
  options.serialNumber = "SN-" + std::to_string(address[3]);
  return options;
}

// Old printers at .21 and .22, another FTP server at .25, an 8630-M at .30 (found through a
// spooler queue only); the old one at .21 and the 8630-M stand in the same place.
struct Site {
  PrinterSimulator old{
      simulatorAt({{127, 1, 40, 21}, {127, 1, 40, 22}}, "8630-H05 FTP server ready.")};
  PrinterSimulator m{simulatorAt({{127, 1, 40, 30}}, "8630-M FTP server ready.")};
  ScriptedGreeter other{
      "220 (vsFTPd 3.0.3)\r\n", ScriptedGreeter::After::Close, {127, 1, 40, 25}, 21};
  SnmpAgent oldAgent{agentAt({127, 1, 40, 21}, "pr-3f-01", "3F 東")};
  SnmpAgent slashedAgent{agentAt({127, 1, 40, 22}, "pr/4f", "4F")};
  SnmpAgent newAgent{agentAt({127, 1, 40, 30}, "m-3f", "3F 東")};

  // Empty when everything answers.
  QString problem() const {
    return qt(old.problem() + m.problem() + (other.listening() ? "" : "no greeter at .25") +
              oldAgent.problem() + slashedAgent.problem() + newAgent.problem());
  }
};

// A spooler whose queues name the 8630-M, a USB printer and a host by name; it notes the
// thread it was asked on.
struct Spooler {
  std::atomic<QThread*> askedOn{nullptr};
  discovery::QueueLister lister() {
    return [this]() -> Result<std::vector<discovery::QueueDevice>> {
      askedOn = QThread::currentThread();
      return std::vector<discovery::QueueDevice>{{"m-queue", "socket://127.1.40.30:9100"},
                                                 {"usb", "usb://Maker/Model"},
                                                 {"named", "ipp://printer.example/ipp"}};
    };
  }
};

template <class Widget>
Widget& part(QDialog& dialog, const char* name) {
  auto* found = dialog.findChild<Widget*>(name);
  if (!found) qFatal("no %s in the dialog", name);
  return *found;
}

QString text(const QAbstractItemModel& model, int row, int column) {
  return model.data(model.index(row, column)).toString();
}

QVariant checkState(const QAbstractItemModel& model, int row) {
  return model.data(model.index(row, 0), Qt::CheckStateRole);
}

// Starts a search of `words` and waits until its outcome is shown.
bool searchAndWait(PrinterSearchDialog& dialog, const QString& words,
                   const QString& community = {}) {
  part<QLineEdit>(dialog, "addressEdit").setText(words);
  part<QLineEdit>(dialog, "communityEdit").setText(community);
  QSignalSpy ended(&dialog, &PrinterSearchDialog::searchEnded);
  QTest::mouseClick(&part<QPushButton>(dialog, "searchButton"), Qt::LeftButton);
  return ended.count() > 0 || ended.wait(kSearchWaitMs);
}

// True when someone connected to the listener (the connection waits in its queue).
bool connectedTo(const LoopbackListener& listener) {
  pollfd waiting{listener.fd(), POLLIN, 0};
  return ::poll(&waiting, 1, 0) == 1;
}

// A dialog sweeping ten addresses of which one, .50, takes the connection and never greets;
// returned once the other nine are settled, so that the silent one is being asked.
std::unique_ptr<PrinterSearchDialog> sweepingASilentHost(const LoopbackListener& silent) {
  auto dialog = std::make_unique<PrinterSearchDialog>(nullptr);
  discovery::SweepOptions options;
  options.ftpPort = static_cast<std::uint16_t>(silent.port());
  options.timeout = kSilentTimeout;
  dialog->setSweepOptions(options);
  dialog->show();
  part<QLineEdit>(*dialog, "addressEdit").setText(QStringLiteral("127.1.40.50-59"));
  QTest::mouseClick(&part<QPushButton>(*dialog, "searchButton"), Qt::LeftButton);
  return dialog;
}

}  // namespace

class PrinterSearchTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void initTestCase() {
    QAccessible::setActive(true);
    site_ = std::make_unique<Site>();
    if (site_->old.needsRoot()) {
      skip_ = qt(site_->old.problem());
    } else if (site_->oldAgent.unavailable()) {
      skip_ = qt(site_->oldAgent.problem());
    } else {
      QCOMPARE(site_->problem(), QString());
    }
  }
  void cleanupTestCase() { site_.reset(); }

  void listsWhatAnsweredWithBoxesOnlyOnOldModels() {
    if (!skip_.isEmpty()) QSKIP(qPrintable(skip_));
    Spooler spooler;
    const auto dialog = searchedSite(spooler);
    QVERIFY(spooler.askedOn != nullptr);
    QVERIFY2(spooler.askedOn != dialog->thread(), "the spooler was asked on the GUI thread");

    const QAbstractItemModel& model = *part<QTableView>(*dialog, "foundTable").model();
    QCOMPARE(model.rowCount(), 4);
    const QStringList expected[] = {
        {"127.1.40.21", "8630-H05", "pr-3f-01", "3F 東", "SN-21"},
        {"127.1.40.22", "8630-H05", "pr/4f", "4F", "SN-22"},
        {"127.1.40.25", "その他（220 (vsFTPd 3.0.3)）", "", "", ""},
        {"127.1.40.30", "8630-M", "m-3f", "3F 東", "SN-30"},
    };
    for (int row = 0; row < 4; ++row)
      for (int column = 0; column < 5; ++column)
        QCOMPARE(text(model, row, column), expected[row][column]);
    QCOMPARE(checkState(model, 0), QVariant(Qt::Checked));
    QCOMPARE(checkState(model, 1), QVariant(Qt::Checked));
    QVERIFY(!checkState(model, 2).isValid());
    QVERIFY(!checkState(model, 3).isValid());

    QCOMPARE(
        part<QLabel>(*dialog, "countLabel").text(),
        QStringLiteral("11 件を調べ、4 台が応答しました（旧機種 2、8630-M 1、その他 1、応答なし "
                       "7）"));
    // The queue named by a host name is said to be left out; the USB queue has no host at all.
    const QString notes = part<QLabel>(*dialog, "notesLabel").text();
    QVERIFY2(notes.contains(QStringLiteral("キュー「named」")), qPrintable(notes));
    QVERIFY2(!notes.contains(QStringLiteral("「usb」")), qPrintable(notes));

    // A screen reader reaches every cell, the check boxes among them, by its text.
    QAccessibleInterface* table =
        QAccessible::queryAccessibleInterface(&part<QTableView>(*dialog, "foundTable"));
    QVERIFY(table && table->tableInterface());
    QAccessibleInterface* address = table->tableInterface()->cellAt(0, 0);
    QVERIFY(address);
    QCOMPARE(address->text(QAccessible::Name), QStringLiteral("127.1.40.21"));
    QVERIFY(address->state().checkable && address->state().checked);
    const QStringList unnamed = unnamedControls(*dialog);
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join('\n')));
  }

  void addingToThePlanKeepsTheTickedRowsWithTheirPairedTarget() {
    if (!skip_.isEmpty()) QSKIP(qPrintable(skip_));
    Spooler spooler;
    const auto dialog = searchedSite(spooler);
    auto& table = part<QTableView>(*dialog, "foundTable");
    auto& add = part<QPushButton>(*dialog, "addButton");
    QVERIFY(add.isEnabled());

    // Untick both by the keyboard: nothing to add. Tick the first again.
    const auto toggle = [&](int row) {
      table.setFocus();
      table.setCurrentIndex(table.model()->index(row, 0));
      QTest::keyClick(&table, Qt::Key_Space);
    };
    toggle(0);
    toggle(1);
    QCOMPARE(checkState(*table.model(), 1), QVariant(Qt::Unchecked));
    QVERIFY(!add.isEnabled());
    toggle(0);
    QVERIFY(add.isEnabled());

    // The 8630-M was not (cannot be) ticked, yet the ticked printer beside it is paired with it.
    QTest::mouseClick(&add, Qt::LeftButton);
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    const auto rows = dialog->chosenRows();
    QCOMPARE(rows.size(), std::size_t{1});
    QCOMPARE(qt(rows[0].name), QStringLiteral("pr-3f-01"));
    QCOMPARE(qt(rows[0].oldPrinter), QStringLiteral("127.1.40.21"));
    QCOMPARE(qt(rows[0].newTarget), QStringLiteral("ftp:127.1.40.30"));
  }

  void closingStopsARunningSweepPromptly() {
    const LoopbackListener silent({127, 1, 40, 50});
    QVERIFY(silent.listening());
    ScriptedMessageBoxes boxes;
    {
      // Closed: the sweep ends within about a second and says it was stopped, asking nothing.
      const auto dialog = sweepingASilentHost(silent);
      auto& progress = part<QProgressBar>(*dialog, "progressBar");
      QTRY_COMPARE_WITH_TIMEOUT(progress.value(), 9, kSearchWaitMs);
      QVERIFY(!part<QPushButton>(*dialog, "searchButton").isEnabled());
      QSignalSpy ended(dialog.get(), &PrinterSearchDialog::searchEnded);
      QElapsedTimer clock;
      clock.start();
      QTest::keyClick(dialog.get(), Qt::Key_Escape);
      QVERIFY(!dialog->isVisible());
      QVERIFY(ended.wait(kSearchWaitMs));
      QVERIFY2(clock.elapsed() < kPromptMs, qPrintable(QString::number(clock.elapsed())));
      const QString said = part<QLabel>(*dialog, "countLabel").text();
      QVERIFY2(said.startsWith(QStringLiteral("中止しました: 10 件のうち ")), qPrintable(said));
    }
    {
      // Destroyed: the work it leaves behind ends as promptly, and touches nothing of it.
      auto dialog = sweepingASilentHost(silent);
      QTRY_COMPARE_WITH_TIMEOUT(part<QProgressBar>(*dialog, "progressBar").value(), 9,
                                kSearchWaitMs);
      QElapsedTimer clock;
      clock.start();
      dialog.reset();
      QVERIFY(ui::backgroundPool().waitForDone(static_cast<int>(kPromptMs)));
      QVERIFY2(clock.elapsed() < kPromptMs, qPrintable(QString::number(clock.elapsed())));
    }
    QCOMPARE(boxes.shown.size(), std::size_t{0});
  }

  void aBadWordIsRefusedWithItsMessageAndNothingIsAsked() {
    const LoopbackListener first({127, 1, 40, 1});
    QVERIFY(first.listening());
    ScriptedMessageBoxes boxes;
    PrinterSearchDialog dialog(nullptr);
    const QStringList unnamed = unnamedControls(dialog);
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join('\n')));
    QVERIFY(!part<QPushButton>(dialog, "searchButton").isEnabled());  // nothing named yet
    discovery::SweepOptions options;
    options.ftpPort = static_cast<std::uint16_t>(first.port());
    dialog.setSweepOptions(options);
    dialog.show();
    QVERIFY(searchAndWait(dialog, QStringLiteral("127.1.40.1　printer-3")));
    QCOMPARE(boxes.shown.size(), std::size_t{1});
    QCOMPARE(boxes.shown[0].text,
             qt(discovery::sweepAddresses({"127.1.40.1", "printer-3"}, {}).message()));
    QVERIFY2(!connectedTo(first), "an address was asked although a word was refused");
    QCOMPARE(part<QTableView>(dialog, "foundTable").model()->rowCount(), 0);
    QVERIFY(part<QPushButton>(dialog, "searchButton").isEnabled());

    // A spooler that cannot be asked is refused the same way.
    dialog.setQueueLister(
        []() -> Result<std::vector<discovery::QueueDevice>> { return Error{"応答がありません"}; });
    QVERIFY(searchAndWait(dialog, QStringLiteral("cups 127.1.40.1")));
    QCOMPARE(boxes.shown.size(), std::size_t{2});
    QCOMPARE(boxes.shown[1].text, QStringLiteral("スプーラのキューを読めません: 応答がありません"));
    QVERIFY(!connectedTo(first));
  }

 private:
  // A dialog that has searched the site with its community, the 8630-M named by the spooler.
  std::unique_ptr<PrinterSearchDialog> searchedSite(Spooler& spooler) {
    auto dialog = std::make_unique<PrinterSearchDialog>(nullptr);
    discovery::SweepOptions options;
    options.timeout = 1s;
    options.snmpPort = SnmpAgent::port();
    dialog->setSweepOptions(options);
    dialog->setQueueLister(spooler.lister());
    dialog->show();
    if (!searchAndWait(*dialog, QStringLiteral("127.1.40.20-29 cups"), QStringLiteral("public")))
      qFatal("the search did not end");
    return dialog;
  }

  std::unique_ptr<Site> site_;
  QString skip_;
};

DROVIK_QTEST_SUITE(PrinterSearchTest);

}  // namespace drovik::test

#include "printer_search_dialog_test.moc"
