// CDlgFtp and retrievePrinterInformation: the profile is refilled only from a successful
// retrieval, every message reaches the operator, and Enter retrieves.
#include <QLineEdit>
#include <QTest>

#include "model/profile.h"
#include "nvram/nvram_decoder.h"
#include "transfer_ui/dlg_ftp.h"
#include "transfer_ui/send_flow.h"
#include "transfer_ui/transfer_ui_tests.h"
#include "transfer_ui/transport_fixture.h"
#include "transport/transport_messages.h"
#include "ui/qt_text.h"
#include "ui_support/qtest_suites.h"

namespace drovik::test {

using transfer_ui::CDlgFtp;
using transfer_ui::retrievePrinterInformation;
using transport::RetrievalVerdict;

namespace {

// Initial user 6 and, for user 1, a front form length the profile cannot hold.
void writeFetchedImages(const TempDir& dir) {
  std::string all(1758, '\0');
  all[0] = 5;
  all[212 + 105] = 16;
  writeFile(dir / std::string(nvram::kAllImageFileName), all);
  std::string network(13, '\0');
  network[1] = 10;
  writeFile(dir / std::string(nvram::kNetworkImageFileName), network);
}

ScriptedDialogRunner::Step typeAndGet(std::vector<QString> address, QString password) {
  return [address = std::move(address), password](QDialog& dialog) {
    typeAddress(dialog, "addressField", address);
    dialog.findChild<QLineEdit*>("passwordField")->setText(password);
    return clickIn(dialog, "getButton");
  };
}

}  // namespace

void RetrievalDialogTest::retrievedImagesAreDecodedAndEveryWarningShown() {
  TransportFixture f;
  writeFetchedImages(f.dir);
  f.retrieval = {RetrievalVerdict::Retrieved, std::string(transport::kRetrievedMessage), ""};
  f.dialogs.then([&](QDialog& dialog) {
    const int result = typeAndGet({"172", "16", "0", "9"}, QStringLiteral("pa ss"))(dialog);
    // Another copy's retrieval replaces the files once this one has let go of the folder.
    writeFile(f.dir / std::string(nvram::kAllImageFileName), std::string(1758, '\x7f'));
    writeFile(f.dir / std::string(nvram::kNetworkImageFileName), "short");
    return result;
  });
  ProfileModel model;
  QVERIFY(retrievePrinterInformation(model, f.store, nullptr, f.services()));

  QCOMPARE(f.asked, std::vector<std::string>{"retrieve:172.16.0.9:pa ss"});
  QCOMPARE(*f.store.retrievalAddress(), (Ipv4Octets{172, 16, 0, 9}));
  QCOMPARE(model.values.selectUser, 5);
  QCOMPARE(model.values.iface.octet[0][0], 10);
  QCOMPARE(
      shownTexts(f.boxes),
      (QStringList{qt(transport::kRetrievedMessage),
                   QStringLiteral("ユーザー１：フロントトラクタ用紙長さ\n"
                                  "サポート外の値が設定されているため、本設定は反映されません")}));
}

void RetrievalDialogTest::failedRetrievalKeepsTheDialogAndTheProfile() {
  TransportFixture f;
  writeFetchedImages(f.dir);  // left by an earlier run: must not be decoded
  QVERIFY(f.store.setRetrievalAddress({192, 168, 1, 20}).isOk());
  f.retrieval = {RetrievalVerdict::LoginIncorrect, std::string(transport::kLoginIncorrectMessage),
                 ""};
  int firstTry = 0;
  f.dialogs.then([&](QDialog& dialog) {
    firstTry = clickIn(dialog, "getButton");  // the remembered address, empty password
    return clickIn(dialog, "cancelButton");
  });
  ProfileModel model;
  QVERIFY(!retrievePrinterInformation(model, f.store, nullptr, f.services()));
  QCOMPARE(firstTry, -1);
  QCOMPARE(f.asked, std::vector<std::string>{"retrieve:192.168.1.20:"});
  QCOMPARE(shownTexts(f.boxes), QStringList{qt(transport::kLoginIncorrectMessage)});
  QCOMPARE(model.values.selectUser, 0);
}

void RetrievalDialogTest::enterRunsTheRetrievalAndEmptyAddressIsRefused() {
  TransportFixture f;
  f.retrieval = {RetrievalVerdict::UnsupportedModel,
                 std::string(transport::kUnsupportedModelMessage), ""};
  CDlgFtp dialog(f.store, f.services());
  dialog.show();
  auto* password = dialog.findChild<QLineEdit*>("passwordField");
  QTest::keyClick(password, Qt::Key_Return);
  QCOMPARE(shownTexts(f.boxes), QStringList{qt(transport::kEnterAddressMessage)});
  QVERIFY(f.asked.empty());

  typeAddress(dialog, "addressField", {"10", "1", "2", "3"});
  password->setText(QStringLiteral("secret"));
  QTest::keyClick(password, Qt::Key_Return);
  QCOMPARE(f.asked, std::vector<std::string>{"retrieve:10.1.2.3:secret"});
  QCOMPARE(f.boxes.shown.back().text, qt(transport::kUnsupportedModelMessage));
  QVERIFY(dialog.isVisible());
}

void RetrievalDialogTest::rememberedAddressOutsideAByteIsShownAndNeverAsked() {
  TransportFixture f;
  QVERIFY(f.store.setRetrievalAddress({300, 0, 0, 1}).isOk());
  f.retrieval = {RetrievalVerdict::Retrieved, std::string(transport::kRetrievedMessage), ""};
  CDlgFtp dialog(f.store, f.services());
  QCOMPARE(dialog.findChild<QLineEdit*>("addressField_1")->text(), QStringLiteral("300"));
  QCOMPARE(clickIn(dialog, "getButton"), -1);
  QCOMPARE(shownTexts(f.boxes),
           QStringList{QStringLiteral("ＩＰアドレス 300.0.0.1 は使えません。\n"
                                      "0 から 255 までの数を4つ指定してください")});
  QVERIFY(f.asked.empty());
  QCOMPARE(*f.store.retrievalAddress(), (Ipv4Octets{300, 0, 0, 1}));
}

DROVIK_QTEST_SUITE(RetrievalDialogTest);

}  // namespace drovik::test
