// The pages' stores on their states: validations, messages, store order and write flags.
#include <QTest>

#include "editor/editor_tests.h"
#include "editor/page_states.h"
#include "model/profile.h"
#include "ui_support/qtest_suites.h"

namespace drovik::test {
namespace {

using namespace editor;
namespace cat = catalogue;

int paperItemIndex(std::string_view name) { return cat::findItem(name)->index; }
int commonIndex(std::string_view name) { return cat::findItem(name)->index; }
int marginSlot(std::string_view name) { return cat::marginSlotOfPaperItem(paperItemIndex(name)); }

bool anyFlag(const std::array<bool, cat::kPaperItemCount>& paper,
             const std::array<bool, cat::kCommonItemCount>& common) {
  for (bool f : paper)
    if (f) return true;
  for (bool f : common)
    if (f) return true;
  return false;
}

bool anyValueFlag(const ValueWriteFlags& flags) {
  if (flags.selectUser) return true;
  for (bool f : flags.userName)
    if (f) return true;
  for (int u = 0; u < cat::kUserCount; ++u)
    if (anyFlag(flags.paper[u], flags.common[u])) return true;
  for (bool f : flags.iface)
    if (f) return true;
  return false;
}

}  // namespace

void PageStoresTest::marginRefusalStopsTheUserPage() {
  ProfileModel model;
  const ProfileText snapshot = model.text;
  UserPageState state = UserPageState::of(model.values, 1);
  const int formLenFront = paperItemIndex("FormLenFront");
  const int formLenRear = paperItemIndex("FormLenRear");
  const int pitchCut = paperItemIndex("LinePitchCut");
  state.paper[formLenFront] = 3;
  state.paper[formLenRear] = 5;
  state.paper[pitchCut] = 0;
  state.margin[marginSlot("TopMRear")] = "300";
  const Status refused = storeUserPage(state, 1, model, snapshot);
  QVERIFY(!refused);
  QCOMPARE(QString::fromStdString(refused.message()),
           QString("ユーザー２：リアトラクタのトップマージン\n"
                   "-25.4 から 254 までの半角数字を入力してください"));
  // Written up to the margin, nothing after it.
  QCOMPARE(model.text.paper[1][formLenFront], std::string("3"));
  QCOMPARE(model.text.paper[1][formLenRear], std::string("5"));
  QCOMPARE(model.text.paper[1][pitchCut], snapshot.paper[1][pitchCut]);
  QVERIFY(!anyValueFlag(model.valueWrite));

  // Stepped into range, the page stores and flags exactly what changed.
  state.margin[marginSlot("TopMRear")] = "8.5";
  QVERIFY(storeUserPage(state, 1, model, snapshot));
  QVERIFY(model.valueWrite.paper[1][formLenFront]);
  QVERIFY(model.valueWrite.paper[1][formLenRear]);
  QVERIFY(model.valueWrite.paper[1][pitchCut]);
  int flagged = 0;
  for (bool f : model.valueWrite.paper[1]) flagged += f;
  QCOMPARE(flagged, 3);
}

void PageStoresTest::marginTexts_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<bool>("stored");
  QTest::newRow("two decimals") << "8.50" << true;
  QTest::newRow("lowest") << "-25.4" << true;
  QTest::newRow("highest") << "254" << true;
  QTest::newRow("above") << "254.1" << false;
  QTest::newRow("exponent in range") << "1e2" << false;
  QTest::newRow("comma") << "8,5" << false;
  QTest::newRow("longer than the field") << "00000000000" << false;
}

void PageStoresTest::marginTexts() {
  QFETCH(QString, text);
  QFETCH(bool, stored);
  ProfileModel model;
  const ProfileText snapshot = model.text;
  UserPageState state = UserPageState::of(model.values, 9);
  const int cutLower = paperItemIndex("TopMCutLower");
  state.margin[marginSlot("TopMCutLower")] = text.toStdString();
  const Status status = storeUserPage(state, 9, model, snapshot);
  QCOMPARE(static_cast<bool>(status), stored);
  if (stored) {
    QCOMPARE(QString::fromStdString(model.text.paper[9][cutLower]), text);
  } else {
    QVERIFY(QString::fromStdString(status.message()).startsWith("ユーザー１０：単票の↓送り"));
  }
}

void PageStoresTest::switchTimeRules() {
  ProfileModel model;
  const ProfileText snapshot = model.text;
  const int ifSel = cat::interfaceKeyIndex(cat::kIfSel, -1);
  const int seconds = cat::interfaceKeyIndex(cat::kIfChgTime, -1);
  InterfacePageState state = InterfacePageState::of(model.values);

  state.seconds = "030";
  QVERIFY(storeInterfacePage(state, model, snapshot));
  QCOMPARE(model.text.iface[seconds], std::string("30"));
  QVERIFY(!model.valueWrite.iface[cat::kIfChgTime]);

  state.seconds = "005";
  QVERIFY(storeInterfacePage(state, model, snapshot));
  QCOMPARE(model.text.iface[seconds], std::string("5"));
  QVERIFY(model.valueWrite.iface[cat::kIfChgTime]);

  ProfileModel refusing;
  state.choice(cat::kIfSel) = 2;
  state.seconds = "0300";
  Status s = storeInterfacePage(state, refusing, snapshot);
  QCOMPARE(
      QString::fromStdString(s.message()),
      QString("インターフェース設定：I/F切り替え時間は\n３桁以内の半角数字を入力してください"));
  QCOMPARE(refusing.text.iface[ifSel], std::string("2"));  // written before the check
  state.seconds = "4";
  s = storeInterfacePage(state, refusing, snapshot);
  QCOMPARE(
      QString::fromStdString(s.message()),
      QString(
          "インターフェース設定：I/F切り替え時間\n5 から 255 までの半角数字を入力してください"));
  QVERIFY(!anyValueFlag(refusing.valueWrite));
}

void PageStoresTest::nameRules() {
  ProfileModel model;
  const ProfileText snapshot = model.text;
  UserNamePageState state = UserNamePageState::of(model.values);
  state.names[0] = "ｱｲｳｴｵｶｷｸｹｺ";  // ten half-width katakana
  state.names[1] = "A-B C";
  state.names[2] = "";
  state.selectUser = 2;
  QVERIFY(storeUserNamePage(state, model, snapshot));
  QCOMPARE(model.text.selectUser, std::string("2"));
  QCOMPARE(model.text.userName[0], state.names[0]);
  QCOMPARE(model.text.userName[2], std::string());

  ProfileModel refusing;
  state.names[4] = "ｱｲｳｴｵｶｷｸｹｺｻ";
  Status s = storeUserNamePage(state, refusing, snapshot);
  QCOMPARE(QString::fromStdString(s.message()),
           QString("ユーザー名登録：ユーザー５\n半角英数カナで10文字以内にしてください"));
  // Full-width letters, Latin-1 letters (no Shift-JIS byte for them in the files) and the
  // half-width punctuation are refused; the half-width katakana from ｦ to ﾟ are taken.
  for (const char* refused : {"Ａ", "\u00C0", "\u00A1", "\uFF61", "A\uFF64", "\uFF65"}) {
    state.names[4] = refused;
    s = storeUserNamePage(state, refusing, snapshot);
    QCOMPARE(QString::fromStdString(s.message()),
             QString("ユーザー名は半角英数カナで入力してください"));
  }
  ProfileModel taking;
  state.names[4] = "\uFF66\uFF9F\uFF9E";
  QVERIFY(storeUserNamePage(state, taking, snapshot));
  QCOMPARE(taking.text.userName[4], state.names[4]);
  // Nothing of the names is written, but the initial user was.
  QCOMPARE(refusing.text.userName[0], snapshot.userName[0]);
  QCOMPARE(refusing.text.selectUser, std::string("2"));
  QVERIFY(!anyValueFlag(refusing.valueWrite));

  // An empty name shows its default when the profile is shown again.
  SettingProfile values = model.values;
  values.userName[2].clear();
  QCOMPARE(UserNamePageState::of(values).names[2], std::string("U03"));
}

void PageStoresTest::onlyChangedNamesAndAddressesAreFlagged() {
  ProfileModel model;
  const ProfileText snapshot = model.text;
  UserNamePageState names = UserNamePageState::of(model.values);
  names.names[6] = "KEIRI";
  QVERIFY(storeUserNamePage(names, model, snapshot));
  QVERIFY(!model.valueWrite.selectUser);
  for (int u = 0; u < cat::kUserCount; ++u) QCOMPARE(model.valueWrite.userName[u], u == 6);

  InterfacePageState iface = InterfacePageState::of(model.values);
  iface.address[InterfaceRecord::addressOf(cat::kDefaultGateway)][2] = 7;
  iface.choice(cat::kDhcp) = 1;
  QVERIFY(storeInterfacePage(iface, model, snapshot));
  for (int item = 0; item < cat::kInterfaceItemCount; ++item)
    QCOMPARE(model.valueWrite.iface[item], item == cat::kDefaultGateway || item == cat::kDhcp);
  QCOMPARE(model.text.iface[cat::interfaceKeyIndex(cat::kDefaultGateway, 2)], std::string("7"));
}

void PageStoresTest::addressOctetsOutsideAByteStopTheInterfacePage() {
  const int ip = InterfaceRecord::addressOf(cat::kIpAddress);
  const int mask = InterfaceRecord::addressOf(cat::kSubnetMask);
  const int gateway = InterfaceRecord::addressOf(cat::kDefaultGateway);
  ProfileModel model;  // as read from a hand-edited settings file
  model.values.iface.octet[ip] = {10, 0, 0, 5};
  model.values.iface.octet[mask] = {255, 255, 256, 0};
  model.values.iface.octet[gateway] = {-1, 0, 0, 1};
  model.text = ProfileText::of(model.values);
  const ProfileText snapshot = model.text;
  InterfacePageState state = InterfacePageState::of(model.values);
  QCOMPARE(state.address[mask], (InterfacePageState::Address{255, 255, 256, 0}));
  QCOMPARE(state.address[gateway][0], -1);
  state.address[ip][3] = 6;
  auto text = [&](int item, int octet) {
    return model.text.iface[cat::interfaceKeyIndex(item, octet)];
  };

  Status s = storeInterfacePage(state, model, snapshot);
  QCOMPARE(QString::fromStdString(s.message()),
           QString("インターフェース設定：サブネットマスク（第３オクテット）\n"
                   "0 から 255 までの半角数字を入力してください"));
  QCOMPARE(text(cat::kIpAddress, 3), std::string("6"));  // written before the refusal
  QCOMPARE(text(cat::kSubnetMask, 2), std::string("256"));
  QCOMPARE(text(cat::kSubnetMask, 3), std::string("0"));
  QVERIFY(!anyValueFlag(model.valueWrite));

  state.address[mask][2] = 255;
  s = storeInterfacePage(state, model, snapshot);
  QCOMPARE(QString::fromStdString(s.message()),
           QString("インターフェース設定：ゲートウェイアドレス（第１オクテット）\n"
                   "0 から 255 までの半角数字を入力してください"));
  QCOMPARE(text(cat::kDefaultGateway, 0), std::string("-1"));
  QVERIFY(!anyValueFlag(model.valueWrite));

  state.address[gateway][0] = 0;
  QVERIFY(storeInterfacePage(state, model, snapshot));
  QCOMPARE(text(cat::kSubnetMask, 2), std::string("255"));
  QCOMPARE(text(cat::kDefaultGateway, 0), std::string("0"));
  for (int item : {cat::kIpAddress, cat::kSubnetMask, cat::kDefaultGateway})
    QVERIFY(model.valueWrite.iface[item]);
}

void PageStoresTest::fillReadsCodesByItem() {
  SettingProfile values = SettingProfile::defaults();
  const int formMode = commonIndex("FormMode");
  const int charMode = commonIndex("CharMode");
  const int ecomode = commonIndex("Ecomode");
  const int cheCheN = commonIndex("CheCheN");
  values.common[3].index[formMode] = 5;
  values.common[3].index[charMode] = 2;
  values.common[3].index[ecomode] = 7;  // neither code: the page reads it as "有効"
  values.common[3].index[cheCheN] = 7;  // any code but 0 ticks the second caption
  values.paper[3].index[paperItemIndex("FormLenFront")] = 40;  // outside the list
  values.iface.octet[0][1] = 300;
  values.iface.dhcp = 9;
  const UserPageState user = UserPageState::of(values, 3);
  QCOMPARE(user.common[formMode], 5);
  QCOMPARE(user.common[charMode], 2);
  QCOMPARE(user.common[ecomode], 0);
  QCOMPARE(user.common[cheCheN], 1);
  const InterfacePageState iface = InterfacePageState::of(values);
  QCOMPARE(iface.address[0][1], 300);  // as stored: the store refuses it, nothing wraps it
  QCOMPARE(iface.choice(cat::kDhcp), 1);

  // A list code the list cannot show is stored back as it was, and so not flagged.
  ProfileModel model;
  model.values = values;
  model.text = ProfileText::of(values);
  const ProfileText snapshot = model.text;
  QVERIFY(storeUserPage(user, 3, model, snapshot));
  QCOMPARE(model.text.paper[3][paperItemIndex("FormLenFront")], std::string("40"));
  QVERIFY(!model.valueWrite.paper[3][paperItemIndex("FormLenFront")]);
  QVERIFY(model.valueWrite.common[3][ecomode]);
}

void PageStoresTest::unchangedPagesFlagNothing() {
  ProfileModel model;
  model.setMargin(0, paperItemIndex("TopMFront"), "8.50");
  model.setCommonIndex(2, commonIndex("InternationalChar"), 0);
  model.clearWriteFlags();
  const ProfileText snapshot = model.text;
  QVERIFY(storeUserNamePage(UserNamePageState::of(model.values), model, snapshot));
  for (int u = 0; u < cat::kUserCount; ++u)
    QVERIFY(storeUserPage(UserPageState::of(model.values, u), u, model, snapshot));
  QVERIFY(storeInterfacePage(InterfacePageState::of(model.values), model, snapshot));
  QVERIFY(!anyValueFlag(model.valueWrite));
  QCOMPARE(model.text.paper[0][paperItemIndex("TopMFront")], std::string("8.50"));

  // Restoring the defaults of pages that held the defaults flags nothing either.
  ProfileModel fresh;
  const ProfileText freshSnapshot = fresh.text;
  QVERIFY(storeUserPage(UserPageState::defaults(), 4, fresh, freshSnapshot));
  QVERIFY(storeInterfacePage(InterfacePageState::defaults(), fresh, freshSnapshot));
  QVERIFY(storeUserNamePage(UserNamePageState::defaults(), fresh, freshSnapshot));
  QVERIFY(!anyValueFlag(fresh.valueWrite));
}

DROVIK_QTEST_SUITE(PageStoresTest);

}  // namespace drovik::test
