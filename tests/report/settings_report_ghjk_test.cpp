#include <gtest/gtest.h>

#include "model/catalogue.h"
#include "report/report_fixtures.h"
#include "report/settings_report_layouts.h"

namespace drovik {
namespace {

using namespace report_test;

TEST(SettingsReportGhjk, EveryItemIncludedListsAllBlocksInOrder) {
  std::string expected = ghjkUserSettingsBlock(markerText);
  for (int user = 1; user <= 10; ++user) expected += ghjkUserBlock(user, markerText);
  expected += ghjkInterfaceBlock(markerText);

  EXPECT_EQ(BuildGhjkSettingsReport(CheckFlagSet{}, markerTexts()), expected);
}

TEST(SettingsReportGhjk, EveryItemIncludedWithDefaultTexts) {
  std::string expected = ghjkUserSettingsBlock(ghjkDefaultText);
  for (int user = 1; user <= 10; ++user) expected += ghjkUserBlock(user, ghjkDefaultText);
  expected += ghjkInterfaceBlock(ghjkDefaultText);

  const std::string report = BuildGhjkSettingsReport(CheckFlagSet{}, ghjkDefaultTexts());
  EXPECT_EQ(report, expected);
  EXPECT_TRUE(report.starts_with("【ユーザー設定】\r\n　初期ユーザー設定\tユーザー１\r\n"));
  EXPECT_TRUE(
      report.ends_with("ネットワーク設定\r\n　ＤＨＣＰ設定\t\t無効\r\n"
                       "　ＩＰアドレス\t\t0.0.0.0\r\n　サブネットマスク\t\t0.0.0.0\r\n"
                       "　ゲートウェイアドレス\t0.0.0.0\r\n　エラー表示\t\t無効"));
}

TEST(SettingsReportGhjk, NothingIncludedGivesEmptyText) {
  EXPECT_EQ(BuildGhjkSettingsReport(noFlags(), markerTexts()), "");
}

TEST(SettingsReportGhjk, GroupFlagsAloneShowNothing) {
  CheckFlagSet flags = noFlags();
  for (int node = 0; node < catalogue::kCheckNodeCount; ++node)
    if (catalogue::checkNodes()[node].ref == catalogue::NodeRef::Group) flags.state[node] = 1;
  EXPECT_EQ(BuildGhjkSettingsReport(flags, markerTexts()), "");
}

TEST(SettingsReportGhjk, OneUserOnlyGivesThatUsersBlock) {
  CheckFlagSet flags = noFlags();
  includeUser(flags, 10);
  EXPECT_EQ(BuildGhjkSettingsReport(flags, markerTexts()), ghjkUserBlock(10, markerText));
}

TEST(SettingsReportGhjk, SingleItemFlags) {
  struct Case {
    std::string_view flag;
    std::string expected;
  };
  const Case cases[] = {
      {"User1CharPitchChkFlag",
       "【ユーザー１の設定】\r\n共通設定\r\nＥＳＣ／Ｐ\r\n　ＥＳＣ／Ｐ文字ピッチ\tU1."
       "CharPitch\r\n\r\n"},
      {"User2RTTopMarginChkFlag",
       "【ユーザー２の設定】\r\nリアトラクタ\r\n　トップマージン\t\tU2.TopMRear\r\n\r\n"},
      {"User10CTLowerTopMarginChkFlag",
       "【ユーザー１０の設定】\r\n単票\r\n　↓送りトップマージン\tU10.TopMCutLower\r\n\r\n"},
      {"User4Jis90ChkFlag",
       "【ユーザー４の設定】\r\n共通設定\r\n８６３０\r\n　９０年改定\t\tU4.Jis90\r\n\r\n"},
      {"User5EcomodeChkFlag",
       "【ユーザー５の設定】\r\n共通設定\r\n　ＥＣＯモード\t\tU5.Ecomode\r\n\r\n"},
      {"SelectUserChkFlag", "【ユーザー設定】\r\n　初期ユーザー設定\tSelectUser\r\n\r\n"},
      {"User10NameChkFlag", "【ユーザー設定】\r\n　ユーザー１０\t\tU10.Name\r\n\r\n"},
      {"ParallelChkFlag", "【インターフェース設定】\r\n　パラレル設定\t\tParallel\r\n"},
      {"IpAddressChkFlag",
       "【インターフェース設定】\r\nネットワーク設定\r\n"
       "　ＩＰアドレス\t\tIPAddress1.IPAddress2.IPAddress3.IPAddress4\r\n"},
      // The error-display line is the only one without a line end.
      {"ErrDispChkFlag", "【インターフェース設定】\r\nネットワーク設定\r\n　エラー表示\t\tErrDisp"},
  };
  for (const Case& c : cases) {
    CheckFlagSet flags = noFlags();
    include(flags, c.flag);
    EXPECT_EQ(BuildGhjkSettingsReport(flags, markerTexts()), c.expected) << c.flag;
  }
}

TEST(SettingsReportGhjk, BlocksKeepTheirOrderWhenSparse) {
  CheckFlagSet flags = noFlags();
  include(flags, "DhcpChkFlag");
  include(flags, "IfSelChkFlag");
  include(flags, "User3AsfEjectChkFlag");
  include(flags, "User3FTEofPrtChkFlag");
  include(flags, "User1FTFormLenChkFlag");
  include(flags, "User1RTFormLenChkFlag");
  include(flags, "User2NameChkFlag");
  EXPECT_EQ(BuildGhjkSettingsReport(flags, markerTexts()),
            "【ユーザー設定】\r\n　ユーザー２\t\tU2.Name\r\n\r\n"
            "【ユーザー１の設定】\r\n"
            "フロントトラクタ\r\n　用紙長さ\t\tU1.FormLenFront\r\n"
            "リアトラクタ\r\n　用紙長さ\t\tU1.FormLenRear\r\n\r\n"
            "【ユーザー３の設定】\r\n"
            "フロントトラクタ\r\n　ＥＯＦ印字\t\tU3.EofPrnFront\r\n"
            "共通設定\r\n　ＡＳＦ排出\t\tU3.AsfEject\r\n\r\n"
            "【インターフェース設定】\r\n　Ｉ／Ｆ選択\t\tIfSel\r\n"
            "ネットワーク設定\r\n　ＤＨＣＰ設定\t\tDHCP\r\n");
}

TEST(SettingsReportGhjk, EmptyDisplayTextsPrintAsEmptyValues) {
  CheckFlagSet flags = noFlags();
  include(flags, "SelectUserChkFlag");
  include(flags, "User1FTFormLenChkFlag");
  include(flags, "SubnetMaskChkFlag");
  EXPECT_EQ(BuildGhjkSettingsReport(flags, DisplayTexts{}),
            "【ユーザー設定】\r\n　初期ユーザー設定\t\r\n\r\n"
            "【ユーザー１の設定】\r\nフロントトラクタ\r\n　用紙長さ\t\t\r\n\r\n"
            "【インターフェース設定】\r\nネットワーク設定\r\n　サブネットマスク\t\t...\r\n");
}

}  // namespace
}  // namespace drovik
