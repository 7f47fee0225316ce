#include "report/settings_report.h"

#include <gtest/gtest.h>

#include "report/report_fixtures.h"

namespace drovik {
namespace {

using namespace report_test;

TEST(SettingsReport, VariantPicksTheLayout) {
  const SettingProfile profile = SettingProfile::defaults();
  const auto m = BuildSettingsReport(profile, noFlags(), markerTexts(), CommandVariant::M);
  ASSERT_TRUE(m.isOk());
  EXPECT_EQ(m.value(), kMHeadings);
  const auto ghjk = BuildSettingsReport(profile, noFlags(), markerTexts(), CommandVariant::Ghjk);
  ASSERT_TRUE(ghjk.isOk());
  EXPECT_EQ(ghjk.value(), "");
}

TEST(SettingsReport, OldModelListDoesNotDependOnTheInitialUserRange) {
  SettingProfile profile = SettingProfile::defaults();
  profile.selectUser = 57;
  CheckFlagSet flags = noFlags();
  include(flags, "SelectUserChkFlag");
  const auto report = BuildSettingsReport(profile, flags, DisplayTexts{}, CommandVariant::Ghjk);
  ASSERT_TRUE(report.isOk());
  EXPECT_EQ(report.value(), "【ユーザー設定】\r\n　初期ユーザー設定\t\r\n\r\n");
}

std::string reportFor(const SettingProfile& profile, const CheckFlagSet& flags,
                      CommandVariant variant) {
  const auto report = BuildSettingsReportFor(profile, flags, variant);
  EXPECT_TRUE(report.isOk()) << report.message();
  return report.isOk() ? report.value() : std::string();
}

TEST(SettingsReportFor, DefaultProfileOldModel) {
  std::string expected = ghjkUserSettingsBlock(ghjkDefaultText);
  for (int user = 1; user <= 10; ++user) expected += ghjkUserBlock(user, ghjkDefaultText);
  expected += ghjkInterfaceBlock(ghjkDefaultText);
  EXPECT_EQ(reportFor(SettingProfile::defaults(), CheckFlagSet{}, CommandVariant::Ghjk), expected);
}

TEST(SettingsReportFor, DefaultProfileM) {
  EXPECT_EQ(reportFor(SettingProfile::defaults(), CheckFlagSet{}, CommandVariant::M),
            mFullReport(1, mDefaultText));
}

TEST(SettingsReportFor, NonDefaultInitialUserM) {
  SettingProfile profile = SettingProfile::defaults();
  profile.selectUser = 2;
  const auto paper = [](std::string_view name) { return catalogue::findItem(name)->index; };
  const auto common = paper;
  profile.paper[2].index[paper("TearOffFront")] = 2;
  profile.paper[2].index[paper("AgaRear")] = 5;
  profile.paper[2].margin[1] = "10.0";  // TopMRear
  profile.common[2].index[common("Buzzer")] = 1;
  profile.common[2].index[common("AsfEject")] = 1;
  profile.common[2].index[common("CharPitch")] = 5;
  profile.common[0].index[common("Buzzer")] = 1;  // user 1 is not reported

  const auto text = [](int user, std::string_view item) -> std::string {
    if (item == "TearOffFront") return "有効";
    if (item == "AgaRear") return "紙厚固定０３";
    if (item == "TopMRear") return "10.0mm";
    if (item == "Buzzer") return "オフ";
    if (item == "AsfEject") return "手前排出";
    if (item == "CharPitch") return "ＰＲＯＰＯＲＴＩＯＮＡＬ";
    return mDefaultText(user, item);
  };
  EXPECT_EQ(reportFor(profile, CheckFlagSet{}, CommandVariant::M), mFullReport(3, text));
}

TEST(SettingsReportFor, IndexOutsideItsTableShowsAnEmptyText) {
  SettingProfile profile = SettingProfile::defaults();
  profile.paper[0].index[0] = 99;  // FormLenFront
  CheckFlagSet flags = noFlags();
  include(flags, "User1FTFormLenChkFlag");
  EXPECT_EQ(reportFor(profile, flags, CommandVariant::Ghjk),
            "【ユーザー１の設定】\r\nフロントトラクタ\r\n　用紙長さ\t\t\r\n\r\n");
}

TEST(SettingsReportFor, MInitialUserOutsideTheTableIsRefused) {
  SettingProfile profile = SettingProfile::defaults();
  for (std::int32_t selectUser : {57, -1, 10}) {
    profile.selectUser = selectUser;
    EXPECT_FALSE(BuildSettingsReportFor(profile, CheckFlagSet{}, CommandVariant::M).isOk())
        << selectUser;
  }
}

}  // namespace
}  // namespace drovik
