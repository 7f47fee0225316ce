#include "command/value_codes.h"

#include <gtest/gtest.h>

#include "command/choice_codes.h"
#include "command/command_image.h"
#include "command/command_test_support.h"
#include "model/value_validation.h"

namespace drovik {
namespace {

using namespace command_test;

ValueCodes apply(const SettingProfile& profile, CommandVariant variant,
                 const CheckFlagSet& flags = CheckFlagSet{}) {
  auto codes = ApplyValueCodes(profile, flags, variant);
  EXPECT_TRUE(codes.isOk());
  return codes.isOk() ? std::move(codes.value()) : ValueCodes{};
}

// Code byte and text of one paper-path choice of user 1.
std::pair<int, std::string> paperCode(std::string_view item, int index,
                                      CommandVariant variant = CommandVariant::Ghjk) {
  SettingProfile p = SettingProfile::defaults();
  const int i = paperItem(item);
  p.paper[0].index[i] = index;
  const ValueCodes codes = apply(p, variant);
  return {codes.records.paper[0][i].low, codes.texts.paper[0][i]};
}

std::pair<int, std::string> commonCode(std::string_view item, int index,
                                       CommandVariant variant = CommandVariant::Ghjk) {
  SettingProfile p = SettingProfile::defaults();
  const int i = commonItem(item);
  p.common[0].index[i] = index;
  const ValueCodes codes = apply(p, variant);
  const int record = layout::commonRecordsOfItem(i)[0];
  return {codes.records.common[0][record].low, codes.texts.common[0][i]};
}

TEST(ValueCodesVariant, OnlyTheExactGhjkTextSelectsGhjk) {
  EXPECT_EQ(variantOf("8630-GHJK"), CommandVariant::Ghjk);
  for (std::string_view other : {"8630-M", "", "8630-ghjk", "8630-GHJK ", "GHJK"})
    EXPECT_EQ(variantOf(other), CommandVariant::M) << other;
}

TEST(ValueCodesLayout, RecordTablesMatchTheCatalogueAndAreUnambiguous) {
  int mItems = 0;
  for (int r = 0; r < layout::kPaperRecordCount; ++r) {
    const auto& row = layout::paperRecords()[r];
    EXPECT_EQ(row.item, r);
    EXPECT_EQ(layout::paperRecordWith(row.code, row.qualifier), r);
    EXPECT_EQ(layout::commonRecordWith(row.code, row.qualifier), -1);
    mItems += layout::mCarriesPaperItem(r) ? 1 : 0;
  }
  for (int r = 0; r < layout::kCommonRecordCount; ++r) {
    const auto& row = layout::commonRecords()[r];
    EXPECT_GE(row.item, 0) << r;
    EXPECT_EQ(layout::commonRecordWith(row.code, row.qualifier), r);
  }
  for (int i = 0; i < cat::kCommonItemCount; ++i) mItems += layout::mCarriesCommonItem(i) ? 1 : 0;
  EXPECT_EQ(mItems, layout::kMItemCount);
}

TEST(ValueCodesChoices, PaperPathTablesFollowThePrinterCodes) {
  const int formLen[] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09,
                         0x0A, 0x0B, 0x0C, 0x0D, 0x00, 0x0E, 0x0F, 0xFF};
  for (int i = 0; i < 17; ++i) EXPECT_EQ(paperCode("FormLenRear", i).first, formLen[i]) << i;
  EXPECT_EQ(paperCode("FormLenFront", 1).second, "３ ２/３インチ");
  EXPECT_EQ(paperCode("FormLenFront", 6).second, "５ ２/３インチ");
  EXPECT_EQ(paperCode("FormLenFront", 16).second, "設定変更なし");
  EXPECT_EQ(paperCode("FormLenFront", 13), (std::pair<int, std::string>{0x00, "１１インチ"}));

  const int pitch[] = {0x02, 0x03, 0x04, 0x05, 0x00, 0x01, 0x08};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(paperCode("LinePitchCut", i).first, pitch[i]) << i;
  EXPECT_EQ(paperCode("LineLenFront", 0).first, 0x02);
  EXPECT_EQ(paperCode("LineLenFront", 2).first, 0x01);

  EXPECT_EQ(paperCode("AgaRear", 3), (std::pair<int, std::string>{0x80, "紙厚固定０１"}));
  EXPECT_EQ(paperCode("AgaRear", 13), (std::pair<int, std::string>{0x8A, "紙厚固定１１"}));
  EXPECT_EQ(paperCode("AgaRear", 14), (std::pair<int, std::string>{0xFF, "設定変更なし"}));
  EXPECT_EQ(paperCode("TearOffFront", 1), (std::pair<int, std::string>{0x02, "半自動"}));
  EXPECT_EQ(paperCode("TearOffFront", 2), (std::pair<int, std::string>{0x01, "全自動"}));
  EXPECT_EQ(paperCode("ChgStepRollerRear", 4).first, 0x04);
}

TEST(ValueCodesChoices, CommonTablesFollowThePrinterCodes) {
  EXPECT_EQ(commonCode("Emul", 0), (std::pair<int, std::string>{0x03, "自動選択"}));
  EXPECT_EQ(commonCode("Emul", 1).first, 0x00);
  const int formMode[] = {0x00, 0x02, 0x04, 0x06, 0x10, 0x12, 0x14, 0x16, 0x01, 0x03, 0x05, 0x07};
  for (int i = 0; i < 12; ++i) EXPECT_EQ(commonCode("FormMode", i).first, formMode[i]) << i;
  EXPECT_EQ(commonCode("PaperChgCmd", 2), (std::pair<int, std::string>{0x03, "無効"}));
  EXPECT_EQ(commonCode("InternationalChar", 14), (std::pair<int, std::string>{0x0E, "リーガル"}));
  EXPECT_EQ(commonCode("Buzzer", 1), (std::pair<int, std::string>{0x01, "鳴らない"}));
}

TEST(ValueCodesChoices, MVariantWordsAndCodesSomeChoicesDifferently) {
  const auto m = CommandVariant::M;
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(paperCode("AgaCut", i, m), (std::pair<int, std::string>{0x02, "自動"})) << i;
  EXPECT_EQ(paperCode("AgaCut", 4, m), (std::pair<int, std::string>{0x81, "紙厚固定０２"}));
  EXPECT_EQ(paperCode("TearOffFront", 0, m), (std::pair<int, std::string>{0x00, "無効"}));
  EXPECT_EQ(paperCode("TearOffFront", 1, m), (std::pair<int, std::string>{0x01, "有効"}));
  EXPECT_EQ(paperCode("TearOffFront", 2, m), (std::pair<int, std::string>{0x01, "有効"}));
  EXPECT_EQ(paperCode("PrintSpeedFront", 0, m).second, "標準");
  EXPECT_EQ(paperCode("SkpPrfRear", 1, m).second, "スキップする");
  EXPECT_EQ(paperCode("CopyEnhCut", 1, m).second, "強化する１");
  EXPECT_EQ(commonCode("Buzzer", 0, m).second, "オン");
  EXPECT_EQ(commonCode("Small", 1, m).second, "使用する");
  EXPECT_EQ(commonCode("ImgWrap", 0, m).second, "折返さない");
}

TEST(ValueCodesChoices, EveryCodeTableCoversItsValueListAndDecodesBack) {
  auto check = [](const cat::Item& item) {
    if (item.kind != cat::ValueKind::Choice) return;
    ASSERT_EQ(codes::choiceCount(item), item.values->size()) << item.name;
    for (auto variant : {CommandVariant::Ghjk, CommandVariant::M})
      for (int i = 0; i < item.values->size(); ++i) {
        const auto code = codes::choiceCode(item, i, variant);
        ASSERT_TRUE(code.has_value()) << item.name << " " << i;
        const auto back = codes::choiceOfCode(item, *code, variant);
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(codes::choiceText(item, *back, variant), codes::choiceText(item, i, variant));
        if (variant == CommandVariant::Ghjk) {
          EXPECT_EQ(*back, i) << item.name << ": codes collide";
        }
      }
  };
  for (const auto& item : cat::paperItems()) check(item);
  for (const auto& item : cat::commonItems()) check(item);
  for (const auto& item : cat::interfaceItems()) check(item);
}

TEST(ValueCodesOutOfTable, KeepsTheInitialValueEmptyTextAndWarns) {
  SettingProfile p = SettingProfile::defaults();
  p.paper[2].index[paperItem("FormLenFront")] = 99;
  p.paper[0].index[paperItem("ChgStepRollerFront")] = 3;  // the rear roller's fourth choice
  p.common[0].index[commonItem("Buzzer")] = -1;
  p.iface.ifSel = 4;
  p.selectUser = 57;
  const ValueCodes codes = apply(p, CommandVariant::Ghjk);

  const RecordTemplates initial = RecordTemplates::initial();
  EXPECT_EQ(codes.records.paper[2][paperItem("FormLenFront")],
            initial.paper[2][paperItem("FormLenFront")]);
  EXPECT_EQ(codes.records.paper[0][paperItem("ChgStepRollerFront")].low, 0x02);
  EXPECT_EQ(codes.records.selectedUser, initial.selectedUser);
  EXPECT_EQ(codes.records.ifSel, initial.ifSel);
  EXPECT_EQ(codes.texts.paper[2][paperItem("FormLenFront")], "");
  EXPECT_EQ(codes.texts.selectUser, "");
  EXPECT_EQ(
      codes.warnings,
      (std::vector<std::string>{
          "初期ユーザー選択：値 57 は範囲外です。初期値を使います。",
          "ユーザー１：フロントトラクタローラー踏み替え：値 3 は範囲外です。初期値を使います。",
          "ユーザー１：ブザー：値 -1 は範囲外です。初期値を使います。",
          "ユーザー３：フロントトラクタ用紙長さ：値 99 は範囲外です。初期値を使います。",
          "インターフェース設定：Ｉ／Ｆ選択：値 4 は範囲外です。初期値を使います。"}));
}

TEST(ValueCodesOutOfTable, MRefusesAnInitialUserOutsideTheTen) {
  SettingProfile p = SettingProfile::defaults();
  for (std::int32_t user : {57, -1, 10}) {
    p.selectUser = user;
    const auto codes = ApplyValueCodes(p, CheckFlagSet{}, CommandVariant::M);
    ASSERT_FALSE(codes.isOk());
    EXPECT_NE(codes.message().find("初期ユーザーの値 " + std::to_string(user) + " が範囲外"),
              std::string::npos);
  }
}

TEST(ValueCodesLifecycle, NothingLeaksFromAnEarlierProfile) {
  SettingProfile first = SettingProfile::defaults();
  for (auto& user : first.paper) user.index.fill(1);
  for (auto& user : first.common) user.index.fill(1);
  first.iface.octet[0] = {10, 20, 30, 40};
  (void)apply(first, CommandVariant::Ghjk);

  SettingProfile second = SettingProfile::defaults();
  second.paper[0].index[paperItem("AgaFront")] = 99;
  const ValueCodes again = apply(second, CommandVariant::Ghjk);
  EXPECT_EQ(again.records.paper[0][paperItem("AgaFront")].low, 0x01);  // initial, not first's
  EXPECT_EQ(again.records.address[0][0], RecordTemplates::initial().address[0][0]);
  EXPECT_EQ(again.texts.paper[0][paperItem("AgaFront")], "");
  EXPECT_EQ(again.warnings.size(), 1u);
}

TEST(ValueCodesMVariant, CodesOnlyTheInitialUsersMItems) {
  SettingProfile p = SettingProfile::defaults();
  p.selectUser = 2;
  const ValueCodes codes = apply(p, CommandVariant::M);
  EXPECT_EQ(codes.texts.common[2][commonItem("Buzzer")], "オン");
  EXPECT_EQ(codes.texts.common[2][commonItem("AsfEject")], "後方排出");
  EXPECT_EQ(codes.texts.paper[2][paperItem("TopMCutUpper")], "6.4mm");
  EXPECT_EQ(codes.texts.paper[2][paperItem("TopMCutLower")], "");  // not carried by M
  EXPECT_EQ(codes.texts.paper[2][paperItem("SpRocketFront")], "");
  EXPECT_EQ(codes.texts.common[0][commonItem("Buzzer")], "");
  EXPECT_EQ(codes.texts.selectUser, "");
  EXPECT_EQ(codes.texts.userName[2], "");
  EXPECT_EQ(codes.records.paper[2][paperItem("TopMCutUpper")].low, 0x0F);
  EXPECT_EQ(codes.records.paper[0][paperItem("TopMCutUpper")].low, 0x00);
}

TEST(ValueCodesMargins, RoundToTheNearestSixtiethOfAnInch) {
  const std::pair<const char*, std::uint16_t> examples[] = {
      {"8.5", 0x0014},   {"6.4", 0x000F},  {"0.0", 0x0000}, {"108.4", 0x0100},
      {"-1.0", 0xFFFE},  {"0.2", 0x0000},  {"10", 0x0018},  {"254", 0x0258},
      {"-25.4", 0xFFC4}, {"12.7", 0x001E}, {".5", 0x0001}};
  for (const auto& [text, code] : examples) {
    SettingProfile p = SettingProfile::defaults();
    p.paper[1].margin[1] = text;
    const ValueCodes codes = apply(p, CommandVariant::Ghjk);
    const SettingRecord& r = codes.records.paper[1][paperItem("TopMRear")];
    EXPECT_EQ(r.high << 8 | r.low, code) << text;
    EXPECT_EQ(codes.texts.paper[1][paperItem("TopMRear")], std::string(text) + "mm");
    EXPECT_TRUE(codes.warnings.empty()) << text;
  }
}

TEST(ValueCodesMargins, TextsThatAreNoAdmittedNumberSendNothingButShowAsStored) {
  for (const char* text : {"abc", "", "8.5mm", "1e2", "254.1", "-25.5", "99999", "nan", "1..2",
                           "+3", " 12.7", "00000000025"}) {
    SettingProfile p = SettingProfile::defaults();
    p.paper[0].margin[3] = text;
    const ValueCodes codes = apply(p, CommandVariant::Ghjk);
    const SettingRecord& r = codes.records.paper[0][paperItem("TopMCutLower")];
    EXPECT_EQ(r.high << 8 | r.low, 0) << text;
    EXPECT_EQ(codes.texts.paper[0][paperItem("TopMCutLower")], std::string(text) + "mm") << text;
    ASSERT_EQ(codes.warnings.size(), 1u) << text;
    EXPECT_EQ(codes.warnings[0], "ユーザー１：単票↓送りトップマージン：値「" + std::string(text) +
                                     "」は -25.4～254 の数値ではありません。初期値を使います。");
  }
}

TEST(ValueCodesMargins, SendExactlyTheTextsThePageAccepts) {
  for (const char* text : {"8.5", "-25.4", "254", ".5", "8.", "0000000025", "+8.5", " 8.5", "-",
                           ".", "8.5.1", "1-2", "00000000025", "254.01", "1e1"}) {
    SettingProfile p = SettingProfile::defaults();
    p.paper[0].margin[0] = text;
    const bool sent = apply(p, CommandVariant::Ghjk).warnings.empty();
    EXPECT_EQ(sent, validateMarginText(0, 0, text).isOk()) << text;
  }
}

TEST(ValueCodesNames, BecomeOneBytePerCodeUnit) {
  SettingProfile p = SettingProfile::defaults();
  p.userName[1] = "ｱB\xEF\xBE\x9F";  // U+FF71, 'B', U+FF9F
  p.userName[2] = "ABCDEFGHIJKL";
  p.userName[3] = "漢字";
  const ValueCodes codes = apply(p, CommandVariant::Ghjk);
  using Name = std::array<std::uint8_t, 10>;
  EXPECT_EQ(codes.records.userName[0], (Name{0x55, 0x30, 0x31}));
  EXPECT_EQ(codes.records.userName[1], (Name{0xB1, 0x42, 0xDF}));
  EXPECT_EQ(codes.records.userName[2], (Name{'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J'}));
  EXPECT_EQ(codes.records.userName[3], (Name{0x22, 0x57}));  // U+6F22 U+5B57, low bytes
  EXPECT_EQ(codes.texts.userName[1], p.userName[1]);
  EXPECT_EQ(codes.warnings,
            (std::vector<std::string>{
                "ユーザー名登録：ユーザー３：１０文字を超える部分は送られません。",
                "ユーザー名登録：ユーザー４：半角英数字と半角カナ以外の文字は、プリンタで正しく表示"
                "されません。"}));
}

TEST(ValueCodesInterface, SwitchTimeAndAddressesTakeTheirLowByte) {
  SettingProfile p = SettingProfile::defaults();
  p.iface.ifChgTime = 300;
  p.iface.ifChgTimeText = "300";
  p.iface.octet[0] = {192, 168, 0, 10};
  p.iface.octetText[0] = {"192", "168", "0", "10"};
  p.iface.octet[2] = {256, 0, 0, -1};
  const ValueCodes codes = apply(p, CommandVariant::Ghjk);
  EXPECT_EQ(codes.records.ifChgTime, (SettingRecord{0x99, 0x00, 0x00, 0x2C}));
  EXPECT_EQ(codes.texts.iface[cat::interfaceKeyIndex(cat::kIfChgTime, -1)], "300sec");
  EXPECT_EQ(codes.records.address[0][0], (SettingRecord{0x9B, 0x02, 0xC0, 0xA8}));
  EXPECT_EQ(codes.records.address[0][1], (SettingRecord{0x9B, 0x03, 0x00, 0x0A}));
  EXPECT_EQ(codes.records.address[2][1], (SettingRecord{0x9B, 0x07, 0x00, 0xFF}));
  EXPECT_EQ(codes.texts.iface[cat::interfaceKeyIndex(cat::kIpAddress, 1)], "168");
  ASSERT_EQ(codes.warnings.size(), 3u);
  EXPECT_EQ(codes.warnings[0],
            "インターフェース設定：Ｉ／Ｆ切り替え時間：値 300 は 0～255 の範囲外です。256 "
            "で割った余り 44 を使います。");
}

// A command (saved or sent) is coded without the display texts: the same records, length and
// warnings as the coding the settings list takes, values outside their tables included.
TEST(ValueCodesTexts, LeftOutTheyChangeNothingTheCommandCarries) {
  SettingProfile p = SettingProfile::defaults();
  p.paper[1].index[paperItem("FormLenFront")] = 99;
  p.common[3].index[commonItem("Buzzer")] = -2;
  p.paper[2].margin[0] = "abc";
  p.userName[4] = "名前が長すぎるユーザーの名前";
  p.iface.ifChgTime = 300;
  p.iface.octet[1] = {256, 0, 0, 1};
  for (const CommandVariant variant : {CommandVariant::Ghjk, CommandVariant::M}) {
    for (const std::int32_t selectUser : {3, 11}) {
      p.selectUser = selectUser;
      const auto filled = ApplyValueCodes(p, CheckFlagSet{}, variant);
      const auto left = ApplyValueCodes(p, CheckFlagSet{}, variant, ValueTexts::Left);
      ASSERT_EQ(filled.isOk(), left.isOk());
      if (!filled.isOk()) {
        EXPECT_EQ(filled.message(), left.message());
        continue;
      }
      EXPECT_EQ(BuildCommandImage(*filled, CheckFlagSet{}, selectUser, variant).bytes,
                BuildCommandImage(*left, CheckFlagSet{}, selectUser, variant).bytes);
      EXPECT_EQ(filled->length, left->length);
      EXPECT_EQ(filled->warnings, left->warnings);
      EXPECT_FALSE(filled->warnings.empty());
      EXPECT_FALSE(filled->texts.paper[3][0].empty());
      for (const auto& user : left->texts.paper)
        for (const std::string& text : user) EXPECT_EQ(text, "");
      for (const auto& user : left->texts.common)
        for (const std::string& text : user) EXPECT_EQ(text, "");
      for (const std::string& text : left->texts.iface) EXPECT_EQ(text, "");
      for (const std::string& text : left->texts.userName) EXPECT_EQ(text, "");
      EXPECT_EQ(left->texts.selectUser, "");
    }
  }
}

TEST(ValueCodesLength, FollowsTheIncludeFlags) {
  EXPECT_EQ(CommandLength(noneIncluded(), 0, CommandVariant::Ghjk), 4);
  EXPECT_EQ(CommandLength(noneIncluded(), 0, CommandVariant::M), 4);
  EXPECT_EQ(CommandLength(CheckFlagSet{}, 0, CommandVariant::Ghjk), 2944);
  EXPECT_EQ(CommandLength(CheckFlagSet{}, 9, CommandVariant::M), 184);
  EXPECT_EQ(CommandLength(onlyIncluded({"SelectUserChkFlag"}), 0, CommandVariant::Ghjk), 8);
  EXPECT_EQ(CommandLength(onlyIncluded({"User4AsfEjectChkFlag"}), 3, CommandVariant::M), 12);
  EXPECT_EQ(CommandLength(onlyIncluded({"User4AsfEjectChkFlag"}), 2, CommandVariant::M), 4);
  EXPECT_EQ(
      CommandLength(onlyIncluded({"DhcpChkFlag", "IpAddressChkFlag"}), 0, CommandVariant::Ghjk),
      4 + 8 + 4 + 8);
}

}  // namespace
}  // namespace drovik
