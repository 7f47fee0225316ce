// CDlgSend and CDlgSendOther: what is remembered, what is sent, when they close, and that
// Enter or a failing route never passes for a send.
#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "support/held_folder_lock.h"
#include "transfer_ui/dlg_ftp.h"
#include "transfer_ui/dlg_send.h"
#include "transfer_ui/dlg_send_other.h"
#include "transfer_ui/send_flow.h"
#include "transfer_ui/transfer_ui_tests.h"
#include "transfer_ui/transport_fixture.h"
#include "transport/spool_job.h"
#include "transport/transport_messages.h"
#include "ui/qt_text.h"
#include "ui/wait_box.h"
#include "ui_support/control_names.h"
#include "ui_support/qtest_suites.h"

namespace drovik::test {

using transfer_ui::CDlgSend;
using transfer_ui::CDlgSendOther;

namespace {

const std::vector<std::uint8_t> kImage = {0x1B, 0x40, 0x00, 0xFF, 0x0D, 0x0A};

QComboBox* printerList(QDialog& dialog) { return dialog.findChild<QComboBox*>("printerList"); }
QString port(QDialog& dialog) { return dialog.findChild<QLineEdit*>("portField")->text(); }
// Waits for the printer list, which the dialog takes in the background.
bool listed(QDialog& dialog) {
  return QTest::qWaitFor([&] { return printerList(dialog)->isEnabled(); }, 5000);
}

}  // namespace

void SendDialogTest::preselectsOnlyTheExactRememberedPrinter() {
  TransportFixture f;
  f.printers = std::vector<transport::PrinterEntry>{{"Office", "socket://10.0.0.5"},
                                                    {"office", "usb://Printer/8630"}};
  QVERIFY(f.store.setPrinterDriverName("office").isOk());
  {
    CDlgSend dialog(f.store, kImage, f.services());
    QVERIFY(listed(dialog));
    QCOMPARE(printerList(dialog)->count(), 2);
    QCOMPARE(printerList(dialog)->currentIndex(), 1);
    QCOMPARE(port(dialog), QStringLiteral("usb://Printer/8630"));
    // Picking another is remembered at once, even when the dialog is then cancelled.
    printerList(dialog)->setCurrentIndex(0);
    QCOMPARE(port(dialog), QStringLiteral("socket://10.0.0.5"));
    QCOMPARE(clickIn(dialog, "cancelButton"), int(QDialog::Rejected));
  }
  QCOMPARE(*f.store.printerDriverName(), std::string("Office"));
  CDlgSend reopened(f.store, kImage, f.services());
  QVERIFY(listed(reopened));
  QCOMPARE(printerList(reopened)->currentIndex(), 0);

  QVERIFY(f.store.setPrinterDriverName("OFFICE").isOk());
  CDlgSend unmatched(f.store, kImage, f.services());
  QVERIFY(listed(unmatched));
  QCOMPARE(printerList(unmatched)->currentIndex(), -1);
  QVERIFY(port(unmatched).isEmpty());
  // Filling the list is no pick of the operator's: the remembered name stays as it was.
  QCOMPARE(*f.store.printerDriverName(), std::string("OFFICE"));
  QVERIFY(f.asked.empty());
}

void SendDialogTest::sendsTheWholeImageOnceAfterConfirmation() {
  TransportFixture f;
  f.printers = std::vector<transport::PrinterEntry>{{"Q1", "ipp://a"}, {"Q2", "ipp://b"}};
  CDlgSend dialog(f.store, kImage, f.services());
  QVERIFY(listed(dialog));
  QCOMPARE(clickIn(dialog, "sendButton"), -1);  // nothing selected
  QCOMPARE(shownTexts(f.boxes), QStringList{qt(transport::kSelectPrinterMessage)});

  printerList(dialog)->setCurrentIndex(1);
  f.boxes.answer(QMessageBox::Cancel);
  QCOMPARE(clickIn(dialog, "sendButton"), -1);
  QCOMPARE(f.boxes.shown.back().text, qt(transport::kConfirmSpoolQuestion));
  QCOMPARE(f.boxes.shown.back().icon, QMessageBox::Information);
  QVERIFY(f.route->sent().empty());

  f.boxes.answer(QMessageBox::Ok);
  QCOMPARE(clickIn(dialog, "sendButton"), int(QDialog::Accepted));
  QCOMPARE(f.asked, std::vector<std::string>{"spooler:Q2"});
  QCOMPARE(f.route->sent(), std::vector<std::vector<std::uint8_t>>{kImage});
  QCOMPARE(f.told, std::vector<std::string>{"cups:Q2 sent 6"});  // for the history
  QCOMPARE(f.boxes.shown.size(), std::size_t{3});                // a spooled job needs no message
}

void SendDialogTest::spoolerFailureIsSaidAndTheDialogStays() {
  TransportFixture f;
  f.printers = std::vector<transport::PrinterEntry>{{"Q", "socket://127.0.0.1:9"}};
  f.answerSends(transport::SendOutcome::failed(std::string(transport::kSpoolFailedMessage),
                                               "connection refused"));
  CDlgSend dialog(f.store, kImage, f.services());
  QVERIFY(listed(dialog));
  printerList(dialog)->setCurrentIndex(0);
  f.boxes.answer(QMessageBox::Ok);
  QCOMPARE(clickIn(dialog, "sendButton"), -1);
  QCOMPARE(f.boxes.shown.back().text, qt(transport::kSpoolFailedMessage));
  QCOMPARE(f.boxes.shown.back().icon, QMessageBox::Warning);
  QCOMPARE(f.told, std::vector<std::string>{"cups:Q failed 6"});
}

// A job the spooler printed, and one it still holds when the send ends: both are said, and the
// dialog closes, as sending again would print the held one twice.
void SendDialogTest::spooledJobsAreSaidAsPrintedOrQueued() {
  const std::vector<std::pair<transport::SendOutcome, std::string>> answers = {
      {transport::SendOutcome::delivered(std::string(transport::kSpoolSentMessage), "ジョブ 11"),
       std::string(transport::kSpoolSentMessage)},
      {transport::SendOutcome::queued(transport::spoolQueuedMessage(12),
                                      "プリンタが停止しています"),
       "印刷システムに送信しましたが、まだ印刷されていません（ジョブ 12）"}};
  for (const auto& [outcome, said] : answers) {
    TransportFixture f;
    f.printers = std::vector<transport::PrinterEntry>{{"Q", "socket://127.0.0.1:9"}};
    f.answerSends(outcome);
    CDlgSend dialog(f.store, kImage, f.services());
    QVERIFY(listed(dialog));
    printerList(dialog)->setCurrentIndex(0);
    f.boxes.answer(QMessageBox::Ok);
    QCOMPARE(clickIn(dialog, "sendButton"), int(QDialog::Accepted));
    QCOMPARE(f.route->sent().size(), std::size_t{1});
    QCOMPARE(f.boxes.shown.back().text, QString::fromStdString(said));
    QCOMPARE(f.boxes.shown.back().icon, QMessageBox::Warning);
  }
}

void SendDialogTest::unlistablePrintersAreExplained() {
  TransportFixture f;
  f.printers = Error{"スプーラに接続できません"};
  CDlgSend dialog(f.store, kImage, f.services());
  QVERIFY(listed(dialog));
  QCOMPARE(printerList(dialog)->count(), 0);
  QCOMPARE(printerList(dialog)->placeholderText(), QStringLiteral("スプーラに接続できません"));
  QCOMPARE(printerList(dialog)->toolTip(), QStringLiteral("スプーラに接続できません"));
  QCOMPARE(clickIn(dialog, "sendButton"), -1);
  QCOMPARE(shownTexts(f.boxes), QStringList{qt(transport::kSelectPrinterMessage)});
}

void SendDialogTest::otherRoutesCloseTheDialogOnlyAfterASend() {
  TransportFixture f;
  CDlgSend dialog(f.store, kImage, f.services());
  f.dialogs.then(pressCancel());
  QCOMPARE(clickIn(dialog, "otherButton"), -1);
  // In the other dialog: the parallel route, confirmed.
  f.dialogs.then([](QDialog& other) { return clickIn(other, "parallelSendButton"); });
  f.boxes.answer(QMessageBox::Ok);
  QCOMPARE(clickIn(dialog, "otherButton"), int(QDialog::Accepted));
  QCOMPARE(f.dialogs.opened, (std::vector<QString>{"sendOtherDialog", "sendOtherDialog"}));
  QCOMPARE(f.asked, std::vector<std::string>{"parallel"});
  QCOMPARE(f.route->sent(), std::vector<std::vector<std::uint8_t>>{kImage});
}

void SendDialogTest::enterSendsNothingAndClosesNothing() {
  TransportFixture f;
  f.printers = std::vector<transport::PrinterEntry>{{"Q", "ipp://q"}};
  QVERIFY(f.store.setPrinterDriverName("Q").isOk());
  CDlgSend send(f.store, kImage, f.services());
  QVERIFY(listed(send));
  QCOMPARE(printerList(send)->currentIndex(), 0);
  CDlgSendOther other(f.store, kImage, f.services());
  for (QDialog* dialog : {static_cast<QDialog*>(&send), static_cast<QDialog*>(&other)}) {
    dialog->show();
    for (auto* button : dialog->findChildren<QAbstractButton*>()) {
      button->setFocus();
      QTest::keyClick(button, Qt::Key_Return);
      QTest::keyClick(button, Qt::Key_Enter);
    }
    QTest::keyClick(dialog, Qt::Key_Return);
    QVERIFY(dialog->isVisible());
  }
  QVERIFY(f.boxes.shown.empty());
  QVERIFY(f.asked.empty());
}

void SendDialogTest::everyControlIsNamed() {
  TransportFixture f;
  CDlgSend send(f.store, kImage, f.services());
  CDlgSendOther other(f.store, kImage, f.services());
  transfer_ui::CDlgFtp retrieval(f.store, f.services());
  ui::WaitBox wait(qt(transport::kConnectingMessage), [] { return false; });
  for (QDialog* dialog : std::initializer_list<QDialog*>{&send, &other, &retrieval, &wait}) {
    QVERIFY(!dialog->objectName().isEmpty());
    QVERIFY2(unnamedControls(*dialog).isEmpty(), qPrintable(unnamedControls(*dialog).join("; ")));
  }
}

void SendOtherDialogTest::networkAddressIsRememberedEvenWhenRefused() {
  TransportFixture f;
  {
    CDlgSendOther dialog(f.store, kImage, f.services());
    typeAddress(dialog, "addressField", {"", "", "", ""});
    QCOMPARE(clickIn(dialog, "networkSendButton"), -1);
    QCOMPARE(shownTexts(f.boxes), QStringList{qt(transport::kEnterAddressMessage)});
    QCOMPARE(*f.store.sendAddress(), (Ipv4Octets{0, 0, 0, 0}));

    typeAddress(dialog, "addressField", {"192", "168", "", ""});
    f.boxes.answer(QMessageBox::Cancel);
    QCOMPARE(clickIn(dialog, "networkSendButton"), -1);
    QCOMPARE(f.boxes.shown.back().text, qt(transport::kConfirmNetworkQuestion));
    QCOMPARE(*f.store.sendAddress(), (Ipv4Octets{192, 168, 0, 0}));
    QVERIFY(f.asked.empty());
  }
  CDlgSendOther reopened(f.store, kImage, f.services());
  f.answerSends(transport::SendOutcome::delivered(std::string(transport::kNetworkSentMessage)));
  f.boxes.answer(QMessageBox::Ok);
  QCOMPARE(clickIn(reopened, "networkSendButton"), int(QDialog::Accepted));
  QCOMPARE(f.asked, std::vector<std::string>{"network:192.168.0.0"});
  QCOMPARE(f.boxes.shown.back().text, qt(transport::kNetworkSentMessage));
}

void SendOtherDialogTest::rememberedAddressOutsideAByteIsShownAndNeverSent() {
  TransportFixture f;
  QVERIFY(f.store.setSendAddress({192, 168, 1, 300}).isOk());  // as a hand-edited index holds it
  CDlgSendOther dialog(f.store, kImage, f.services());
  QCOMPARE(dialog.findChild<QLineEdit*>("addressField_4")->text(), QStringLiteral("300"));
  // Refused by name before the question: 44, its low byte, is another printer.
  QCOMPARE(clickIn(dialog, "networkSendButton"), -1);
  QCOMPARE(shownTexts(f.boxes),
           QStringList{QStringLiteral("ＩＰアドレス 192.168.1.300 は使えません。\n"
                                      "0 から 255 までの数を4つ指定してください")});
  QVERIFY(f.asked.empty());
  QCOMPARE(*f.store.sendAddress(), (Ipv4Octets{192, 168, 1, 300}));

  // Typed again, the octet cannot pass 255; that address is asked for and sent to.
  auto* fourth = dialog.findChild<QLineEdit*>("addressField_4");
  fourth->selectAll();
  QTest::keyClicks(fourth, "300");
  QCOMPARE(fourth->text(), QStringLiteral("255"));
  f.boxes.answer(QMessageBox::Ok);  // the question
  QCOMPARE(clickIn(dialog, "networkSendButton"), int(QDialog::Accepted));
  QCOMPARE(f.asked, std::vector<std::string>{"network:192.168.1.255"});
  QCOMPARE(*f.store.sendAddress(), (Ipv4Octets{192, 168, 1, 255}));
}

// Another copy holds the lock of the profile files: the address is remembered once it is
// free, behind the box that says so, while the window keeps running.
void SendOtherDialogTest::addressIsRememberedOnceAnotherCopyReleasesTheLock() {
  TransportFixture f;
  HeldFolderLock held(f.dir.path());
  QVERIFY(held.held());
  CDlgSendOther dialog(f.store, kImage, f.services());
  typeAddress(dialog, "addressField", {"10", "0", "0", "9"});
  QString waitText;
  f.dialogs.then(inspectThenWaitForClose([&](QDialog& box) {
    waitText = box.findChild<QLabel*>("waitLabel")->text();
    QCOMPARE(*f.store.sendAddress(), (Ipv4Octets{0, 0, 0, 0}));  // not yet
    held.release();
  }));
  f.boxes.answer(QMessageBox::Cancel);  // the question that follows
  QCOMPARE(clickIn(dialog, "networkSendButton"), -1);
  QCOMPARE(waitText, ui::folderBusyText());
  QCOMPARE(*f.store.sendAddress(), (Ipv4Octets{10, 0, 0, 9}));
  QCOMPARE(f.boxes.shown.back().text, qt(transport::kConfirmNetworkQuestion));
}

void SendOtherDialogTest::routeOutcomeDecidesWhetherTheDialogCloses() {
  TransportFixture f;
  CDlgSendOther dialog(f.store, kImage, f.services());
  f.boxes.answer(QMessageBox::Cancel);
  QCOMPARE(clickIn(dialog, "parallelSendButton"), -1);
  QCOMPARE(f.boxes.shown.back().text, qt(transport::kConfirmParallelQuestion));
  QVERIFY(f.asked.empty());

  f.answerSends(
      transport::SendOutcome::failed(std::string(transport::kParallelFailedMessage), "no port"));
  f.boxes.answer(QMessageBox::Ok);
  QCOMPARE(clickIn(dialog, "parallelSendButton"), -1);
  QCOMPARE(f.boxes.shown.back().text, qt(transport::kParallelFailedMessage));

  f.answerSends(transport::SendOutcome::delivered(std::string(transport::kParallelSentMessage)));
  f.boxes.answer(QMessageBox::Ok);
  QCOMPARE(clickIn(dialog, "parallelSendButton"), int(QDialog::Accepted));
  QCOMPARE(f.boxes.shown.back().text, qt(transport::kParallelSentMessage));
  QCOMPARE(f.told, (std::vector<std::string>{"parallel failed 6", "parallel sent 6"}));
}

void SendOtherDialogTest::slowSendIsWaitedForBehindTheWaitBox() {
  TransportFixture f;
  QVERIFY(f.store.setSendAddress({10, 0, 0, 7}).isOk());
  f.answerSends(transport::SendOutcome::delivered(std::string(transport::kNetworkSentMessage)),
                true);
  CDlgSendOther dialog(f.store, kImage, f.services());
  QString waitText;
  bool closedEarly = true;
  std::size_t shownWhileWaiting = 0;
  f.dialogs.then(waitBoxStep([&](QDialog& box) {
    box.show();
    waitText = box.findChild<QLabel*>("waitLabel")->text();
    QSignalSpy looked(qobject_cast<ui::WaitBox*>(&box), &ui::WaitBox::workStillRunning);
    QTest::keyClick(&box, Qt::Key_Escape);
    QTest::keyClick(&box, Qt::Key_Return);
    box.close();
    // The box's next look at the send would have closed it, had anything ended the wait.
    looked.wait();
    closedEarly = !box.isVisible();
    shownWhileWaiting = f.boxes.shown.size();
    f.route->release();
    return QTest::qWaitFor([&] { return !box.isVisible(); }, 5000) ? box.result() : -1;
  }));
  f.boxes.answer(QMessageBox::Ok);
  QCOMPARE(clickIn(dialog, "networkSendButton"), int(QDialog::Accepted));
  QCOMPARE(f.dialogs.opened, std::vector<QString>{"waitBox"});
  QCOMPARE(waitText, qt(transport::kConnectingMessage));
  QVERIFY(!closedEarly);
  QCOMPARE(shownWhileWaiting, std::size_t{1});  // only the question: the result is awaited
  QCOMPARE(f.boxes.shown.back().text, qt(transport::kNetworkSentMessage));
  QCOMPARE(f.told, std::vector<std::string>{"ftp:10.0.0.7 sent 6"});
}

DROVIK_QTEST_SUITE(SendDialogTest);
DROVIK_QTEST_SUITE(SendOtherDialogTest);

}  // namespace drovik::test
