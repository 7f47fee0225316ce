// CDlgSend while the spooler takes its time to list the printers: the dialog is there and
// answers at once, fills in when the list comes, and can be closed before it does.
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QTest>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "transfer_ui/dlg_send.h"
#include "transfer_ui/transfer_ui_tests.h"
#include "transfer_ui/transport_fixture.h"
#include "transport/transport_messages.h"
#include "ui/background_work.h"
#include "ui/qt_text.h"

namespace drovik::test {

using transfer_ui::CDlgSend;

namespace {

const std::vector<std::uint8_t> kLoadingImage = {0x1B, 0x40, 0x0D, 0x0A};

// A spooler that lists its printers only when the test lets it. Shared with the worker, which
// may outlive the dialog and the test.
struct HeldSpooler {
  std::mutex mutex;
  std::condition_variable changed;
  bool released = false;
  bool honoursCancel = true;  // false: like a spooler call that cannot be interrupted
  bool sawCancel = false;
  bool returned = false;
  transfer_ui::PrinterList printers = std::vector<transport::PrinterEntry>{};

  void release() {
    const std::lock_guard lock(mutex);
    released = true;
    changed.notify_all();
  }
  bool read(bool HeldSpooler::*flag) {
    const std::lock_guard lock(mutex);
    return this->*flag;
  }
};

transfer_ui::TransportServices heldServices(TransportFixture& f,
                                            const std::shared_ptr<HeldSpooler>& held) {
  auto services = f.services();
  services.listPrinters = [held](transport::RunControl& control) {
    std::unique_lock lock(held->mutex);
    while (!held->released && !(held->honoursCancel && control.cancelled()))
      held->changed.wait_for(lock, std::chrono::milliseconds(5));
    held->sawCancel = control.cancelled();
    held->returned = true;
    return held->printers;
  };
  return services;
}

QComboBox* loadingPrinterList(QDialog& dialog) {
  return dialog.findChild<QComboBox*>("printerList");
}

}  // namespace

void SendDialogTest::dialogIsUsableWhileThePrintersAreListed() {
  TransportFixture f;
  auto held = std::make_shared<HeldSpooler>();
  held->printers = std::vector<transport::PrinterEntry>{{"Q1", "ipp://a"}, {"Q2", "ipp://b"}};
  QVERIFY(f.store.setPrinterDriverName("Q2").isOk());
  CDlgSend dialog(f.store, kLoadingImage, heldServices(f, held));
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  QComboBox* list = loadingPrinterList(dialog);
  QVERIFY(!list->isEnabled());
  QCOMPARE(list->placeholderText(), QStringLiteral("プリンタの一覧を取得しています…"));
  // Nothing to send to yet: the usual refusal, and nothing reaches a route.
  QCOMPARE(clickIn(dialog, "sendButton"), -1);
  QCOMPARE(shownTexts(f.boxes), QStringList{qt(transport::kSelectPrinterMessage)});
  QVERIFY(f.asked.empty());

  held->release();
  QTRY_VERIFY(list->isEnabled());
  QCOMPARE(list->count(), 2);
  QCOMPARE(list->currentIndex(), 1);
  QCOMPARE(dialog.findChild<QLineEdit*>("portField")->text(), QStringLiteral("ipp://b"));
  QVERIFY(list->placeholderText().isEmpty());
  // Filling the list picked nothing for the operator: the remembered printer stays.
  QCOMPARE(*f.store.printerDriverName(), std::string("Q2"));

  f.boxes.answer(QMessageBox::Ok);
  QCOMPARE(clickIn(dialog, "sendButton"), int(QDialog::Accepted));
  QCOMPARE(f.asked, std::vector<std::string>{"spooler:Q2"});
}

void SendDialogTest::closingWhileListingLeavesTheListingBehind() {
  TransportFixture f;
  // A listing that stops when asked is asked to when the dialog goes.
  auto cancellable = std::make_shared<HeldSpooler>();
  {
    CDlgSend dialog(f.store, kLoadingImage, heldServices(f, cancellable));
    QCOMPARE(clickIn(dialog, "cancelButton"), int(QDialog::Rejected));
  }
  QTRY_VERIFY(cancellable->read(&HeldSpooler::returned));
  QVERIFY(cancellable->read(&HeldSpooler::sawCancel));

  // One that cannot be stopped delivers its list after the dialog is gone: nobody takes it.
  auto stubborn = std::make_shared<HeldSpooler>();
  stubborn->honoursCancel = false;
  stubborn->printers = std::vector<transport::PrinterEntry>{{"Q", "ipp://q"}};
  {
    CDlgSend dialog(f.store, kLoadingImage, heldServices(f, stubborn));
    dialog.show();
    QCOMPARE(clickIn(dialog, "cancelButton"), int(QDialog::Rejected));
  }
  stubborn->release();
  // The program's end waits for the listing; a hand-over it made would be delivered next.
  ui::waitForBackgroundWork();
  QVERIFY(stubborn->read(&HeldSpooler::returned));
  QCoreApplication::sendPostedEvents();
  QVERIFY(!f.store.printerDriverName() || f.store.printerDriverName()->empty());
  QVERIFY(f.boxes.shown.empty());
}

}  // namespace drovik::test
