#include <gtest/gtest.h>

#include "report/report_fixtures.h"
#include "report/settings_report_layouts.h"

namespace drovik {
namespace {

using namespace report_test;

SettingProfile profileWithInitialUser(std::int32_t selectUser) {
  SettingProfile profile = SettingProfile::defaults();
  profile.selectUser = selectUser;
  return profile;
}

std::string mReport(std::int32_t selectUser, const CheckFlagSet& flags,
                    const DisplayTexts& texts = markerTexts()) {
  const auto report = BuildMSettingsReport(profileWithInitialUser(selectUser), flags, texts);
  EXPECT_TRUE(report.isOk()) << report.message();
  return report.isOk() ? report.value() : std::string();
}

// The three section headings that stand even over empty sections.
constexpr std::string_view kEmptySections =
    "\r\n【マージン設定】\r\n\r\n【8630 設定】\r\n\r\n【ESC/P 設定】\r\n";

TEST(SettingsReportM, DefaultProfileEveryItemIncluded) {
  EXPECT_EQ(mReport(0, CheckFlagSet{}), mFullReport(1, markerText));
}

TEST(SettingsReportM, DefaultProfileWithMTexts) {
  DisplayTexts texts = markerTexts();
  for (int i = 0; i < catalogue::kPaperItemCount; ++i)
    texts.paper[0][i] = mDefaultText(1, catalogue::paperItems()[i].name);
  for (int i = 0; i < catalogue::kCommonItemCount; ++i)
    texts.common[0][i] = mDefaultText(1, catalogue::commonItems()[i].name);

  const std::string report = mReport(0, CheckFlagSet{}, texts);
  EXPECT_EQ(report, mFullReport(1, mDefaultText));
  EXPECT_NE(report.find("　ＦＡＳＦ排出方向\t\t後方排出\r\n　ＲＡＳＦ排出方向\t\t後方排出\r\n"),
            std::string::npos);
}

TEST(SettingsReportM, NonDefaultInitialUserShowsOnlyThatUser) {
  CheckFlagSet flags = noFlags();
  includeUser(flags, 3);
  EXPECT_EQ(mReport(2, flags), mFullReport(3, markerText));
}

TEST(SettingsReportM, OtherUsersFlagsAreIgnored) {
  CheckFlagSet flags;  // everything included ...
  for (std::string_view key : {"User3FTPrintSpeedChkFlag", "User3ImgWrapChkFlag"})
    flags.state[catalogue::checkNodeIndex(key)] = 0;  // ... but two of user 3's items
  const std::string report = mReport(2, flags);
  EXPECT_EQ(report.find("印字速度"), std::string::npos);
  EXPECT_EQ(report.find("イメージ折り返し"), std::string::npos);
  EXPECT_EQ(report.find("U1."), std::string::npos);
  EXPECT_EQ(report.find("U4."), std::string::npos);

  CheckFlagSet onlyOthers = noFlags();
  for (int user : {1, 2, 4, 10}) includeUser(onlyOthers, user);
  EXPECT_EQ(mReport(2, onlyOthers), kMHeadings);
}

TEST(SettingsReportM, NothingIncludedGivesTheTwoHeadings) {
  EXPECT_EQ(mReport(0, noFlags()), "8630-Mモデルへの移行設定\r\n【装置機能設定】\r\n");
}

TEST(SettingsReportM, ItemsTheModelDoesNotTakeAreNotListed) {
  CheckFlagSet flags = noFlags();
  for (std::string_view key :
       {"SelectUserChkFlag", "User1NameChkFlag", "User1FTGraphChkFlag", "User1RTPrintSpeedChkFlag",
        "User1CTLowerTopMarginChkFlag", "User1FormModeChkFlag", "User1EcomodeChkFlag",
        "User1RTTearOffChkFlag", "IfSelChkFlag", "ErrDispChkFlag"})
    include(flags, key);
  EXPECT_EQ(mReport(0, flags), kMHeadings);
}

TEST(SettingsReportM, SheetFeederEjectionIsListedTwice) {
  CheckFlagSet flags = noFlags();
  include(flags, "User1AsfEjectChkFlag");
  EXPECT_EQ(mReport(0, flags), std::string(kMHeadings) +
                                   "　ＦＡＳＦ排出方向\t\tU1.AsfEject\r\n"
                                   "　ＲＡＳＦ排出方向\t\tU1.AsfEject\r\n" +
                                   std::string(kEmptySections));
}

TEST(SettingsReportM, SectionHeadingsStandOverEmptySections) {
  CheckFlagSet flags = noFlags();
  include(flags, "User6RTTopMarginChkFlag");
  include(flags, "User6TofFfChkFlag");
  EXPECT_EQ(mReport(5, flags), std::string(kMHeadings) +
                                   "\r\n【マージン設定】\r\n"
                                   "　Ｒトラクタトップマージン\tU6.TopMRear\r\n"
                                   "\r\n【8630 設定】\r\n"
                                   "\r\n【ESC/P 設定】\r\n"
                                   "　ＴＯＦ改ページ\t\tU6.TofFf\r\n");
}

TEST(SettingsReportM, EmptyDisplayTextsPrintAsEmptyValues) {
  CheckFlagSet flags = noFlags();
  include(flags, "User1FTFormLenChkFlag");
  EXPECT_EQ(mReport(0, flags, DisplayTexts{}),
            std::string(kMHeadings) + "　Ｆトラクタ用紙長さ\t\t\r\n" + std::string(kEmptySections));
}

TEST(SettingsReportM, InitialUserOutsideTheTableIsRefused) {
  const auto report =
      BuildMSettingsReport(profileWithInitialUser(57), CheckFlagSet{}, markerTexts());
  ASSERT_FALSE(report.isOk());
  EXPECT_EQ(report.message(),
            "初期ユーザーの値 57 が範囲外のため、８６３０－Ｍの設定一覧を作成できません。");

  for (std::int32_t selectUser : {-1, 10, INT32_MIN, INT32_MAX})
    EXPECT_FALSE(
        BuildMSettingsReport(profileWithInitialUser(selectUser), CheckFlagSet{}, markerTexts())
            .isOk())
        << selectUser;
  EXPECT_TRUE(
      BuildMSettingsReport(profileWithInitialUser(9), CheckFlagSet{}, markerTexts()).isOk());
}

}  // namespace
}  // namespace drovik
