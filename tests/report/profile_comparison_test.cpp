// The comparison of two profiles: what counts as a difference, how it is named, and how an
// M profile is read.
#include "report/profile_comparison.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

using namespace drovik;

namespace {

namespace cat = catalogue;

int paperItem(std::string_view name) { return cat::findItem(name)->index; }
int commonItem(std::string_view name) { return cat::findItem(name)->index; }

class ProfileComparisonTest : public ::testing::Test {
 protected:
  ProfileModel a;
  ProfileModel b;

  Result<ProfileComparison> compare(CommandVariant variantA = CommandVariant::Ghjk,
                                    CommandVariant variantB = CommandVariant::Ghjk) const {
    return CompareProfiles({a.values, a.flags, variantA}, {b.values, b.flags, variantB});
  }

  // The differences as drovik-cli prints them.
  std::string lines(CommandVariant variantA = CommandVariant::Ghjk,
                    CommandVariant variantB = CommandVariant::Ghjk) const {
    const auto comparison = compare(variantA, variantB);
    EXPECT_TRUE(comparison) << comparison.message();
    if (!comparison) return {};
    std::string out;
    for (const auto& difference : comparison->differences) out += DifferenceLine(difference) + '\n';
    return out;
  }
};

constexpr auto kGhjk = CommandVariant::Ghjk;
constexpr auto kM = CommandVariant::M;

TEST_F(ProfileComparisonTest, EqualProfilesHaveNoDifferenceInEitherReading) {
  for (auto [va, vb] : {std::pair{kGhjk, kGhjk}, {kGhjk, kM}, {kM, kM}}) {
    const auto comparison = compare(va, vb);
    ASSERT_TRUE(comparison);
    EXPECT_TRUE(comparison->equal());
  }
}

TEST_F(ProfileComparisonTest, OneValueGivesOneLineNamedAsTheTreeNamesIt) {
  b.setPaperIndex(2, paperItem("FormLenFront"), 14);
  EXPECT_EQ(lines(), "ユーザー３ フロントトラクタ 用紙長さ: １１インチ → １２インチ\n");
  const auto comparison = compare();
  ASSERT_TRUE(comparison);
  const SettingDifference& d = comparison->differences.at(0);
  EXPECT_EQ(d.userA, 2);
  EXPECT_EQ(d.userB, 2);
  EXPECT_TRUE(d.a.included && d.b.included);
}

TEST_F(ProfileComparisonTest, OneIncludeFlagGivesOneLineWithTheSameValue) {
  b.flags.state[cat::commonItemNode(0, commonItem("Buzzer"))] = 0;
  EXPECT_EQ(lines(), "ユーザー１ 共通設定 ブザー: 鳴る → 鳴る（対象外）\n");
  const auto comparison = compare();
  ASSERT_TRUE(comparison);
  EXPECT_TRUE(comparison->differences.at(0).a.included);
  EXPECT_FALSE(comparison->differences.at(0).b.included);
}

// Changes made out of order come out in the tree's order: initial user, user names, the users'
// groups (an enclosed group after its parent's items), then the interface groups.
TEST_F(ProfileComparisonTest, DifferencesFollowTheSettingsTree) {
  b.setOctet(cat::kIpAddress, 3, 7);
  b.setCommonIndex(9, commonItem("CharPitch"), 1);
  b.setMargin(0, paperItem("TopMRear"), "10.0");
  b.setInterfaceChoice(cat::kIfSel, 3);
  b.setCommonIndex(0, commonItem("Emul"), 2);
  b.setUserName(2, "ﾀﾅｶ");
  b.setSelectUser(4);
  b.flags.state[cat::interfaceItemNode(cat::kErrDisp)] = 0;
  b.flags.state[cat::checkNode(cat::kNameBlock, 9)] = 0;
  EXPECT_EQ(lines(), test::readFile(DROVIK_TEST_DATA_DIR "/report/diff_tree_order.txt"));
}

TEST_F(ProfileComparisonTest, ChoicesOutsideTheirListsShowTheStoredNumberAndStayApart) {
  a.setPaperIndex(0, paperItem("AgaCut"), 98);
  b.setPaperIndex(0, paperItem("AgaCut"), 99);
  EXPECT_EQ(lines(), "ユーザー１ 単票 紙厚設定: 範囲外の値 98 → 範囲外の値 99\n");
  b.setPaperIndex(0, paperItem("AgaCut"), 98);
  EXPECT_EQ(lines(), "");
}

// An M printer receives only its initial user's settings, and only those the M command carries.
TEST_F(ProfileComparisonTest, AnMProfileComparesOnlyWhatTheMModelReads) {
  b.setPaperIndex(1, paperItem("FormLenFront"), 0);   // another user
  b.setPaperIndex(0, paperItem("SpRocketFront"), 3);  // not carried
  b.setCommonIndex(0, commonItem("FormMode"), 4);     // not carried
  b.setUserName(0, "XYZ");                            // names and interface: not carried
  b.setOctet(cat::kSubnetMask, 0, 1);
  b.flags.state[cat::commonItemNode(1, commonItem("Buzzer"))] = 0;
  b.setPaperIndex(0, paperItem("AgaFront"), 0);  // 0 and 1 both read "自動"
  const auto comparison = compare(kGhjk, kM);
  ASSERT_TRUE(comparison);
  EXPECT_EQ(comparison->reading, kM);
  EXPECT_TRUE(comparison->equal());
  EXPECT_EQ(lines(kM, kGhjk), "");
  EXPECT_NE(lines(), "");  // read whole, all of these differ

  b.setCommonIndex(0, commonItem("Buzzer"), 1);
  EXPECT_EQ(lines(kGhjk, kM), "ユーザー１ 共通設定 ブザー: オン → オフ\n");
}

TEST_F(ProfileComparisonTest, TheMReadingComparesEachProfilesOwnInitialUser) {
  b.setSelectUser(2);
  EXPECT_EQ(lines(kM, kM), "");  // the initial user is not sent, its settings are
  b.setPaperIndex(2, paperItem("LinePitchCut"), 0);
  EXPECT_EQ(lines(kM, kM), "ユーザー１／ユーザー３ 単票 改行幅: ６ＬＰＩ → ２ＬＰＩ\n");
  const auto comparison = compare(kM, kM);
  ASSERT_TRUE(comparison);
  EXPECT_EQ(comparison->differences.at(0).userA, 0);
  EXPECT_EQ(comparison->differences.at(0).userB, 2);
}

TEST_F(ProfileComparisonTest, AnInitialUserOutsideTheTenFailsOnlyTheMReading) {
  b.values.selectUser = 12;
  const auto m = compare(kGhjk, kM);
  ASSERT_FALSE(m);
  EXPECT_NE(m.message().find("比較先の設定"), std::string::npos);
  EXPECT_NE(m.message().find("12"), std::string::npos);
  EXPECT_EQ(lines(), "ユーザー設定 初期ユーザー選択: ユーザー１ → 範囲外の値 12\n");
}

}  // namespace
