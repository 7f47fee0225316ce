#include "command/command_image.h"

#include <gtest/gtest.h>

#include <random>

#include "command/command_test_support.h"

namespace drovik {
namespace {

using namespace command_test;

// The printer's record tables written out independently of the implementation: function
// code, qualifier, code of the catalogue default and of the last choice (GHJK), keyed by item.
struct Row {
  const char* item;
  std::uint8_t code, qualifier, defaultCode, lastCode;
};

// clang-format off
const Row kPaperRows[] = {
    {"FormLenFront", 0x00, 0, 0x00, 0xFF}, {"LinePitchFront", 0x01, 0, 0x00, 0x08},
    {"PrintSpeedFront", 0x02, 0, 0x00, 0x01}, {"LineLenFront", 0x03, 0, 0x00, 0x01},
    {"AgaFront", 0xC1, 0, 0x01, 0xFF}, {"SkpPrfFront", 0x05, 0, 0x00, 0x01},
    {"PrDirFront", 0x06, 0, 0x01, 0x01}, {"SpRocketFront", 0xC0, 0, 0x01, 0x03},
    {"TearOffFront", 0x0D, 0, 0x00, 0x01}, {"GraphFront", 0x0E, 0, 0x00, 0x01},
    {"CopyEnhFront", 0x0B, 0, 0x00, 0x01}, {"TopMFront", 0x11, 0, 0, 0},
    {"RenPressFront", 0x93, 0, 0x00, 0x01}, {"ChgStepRollerFront", 0x94, 0, 0x00, 0x02},
    {"EofPrnFront", 0xC2, 0, 0x00, 0x02},
    {"FormLenRear", 0x00, 1, 0x00, 0xFF}, {"LinePitchRear", 0x01, 1, 0x00, 0x08},
    {"PrintSpeedRear", 0x02, 1, 0x00, 0x01}, {"LineLenRear", 0x03, 1, 0x00, 0x01},
    {"AgaRear", 0xC1, 1, 0x01, 0xFF}, {"SkpPrfRear", 0x05, 1, 0x00, 0x01},
    {"PrDirRear", 0x06, 1, 0x01, 0x01}, {"SpRocketRear", 0xC0, 1, 0x01, 0x03},
    {"TearOffRear", 0x0D, 1, 0x00, 0x01}, {"GraphRear", 0x0E, 1, 0x00, 0x01},
    {"CopyEnhRear", 0x0B, 1, 0x00, 0x01}, {"TopMRear", 0x11, 1, 0, 0},
    {"RenPressRear", 0x93, 1, 0x00, 0x01}, {"ChgStepRollerRear", 0x94, 1, 0x00, 0x04},
    {"EofPrnRear", 0xC2, 1, 0x00, 0x02},
    {"LinePitchCut", 0x01, 2, 0x00, 0x08}, {"PrintSpeedCut", 0x02, 2, 0x00, 0x01},
    {"AgaCut", 0xC1, 2, 0x01, 0xFF}, {"PrDirCut", 0x06, 2, 0x01, 0x01},
    {"GraphCut", 0x0E, 2, 0x00, 0x01}, {"CopyEnhCut", 0x0B, 2, 0x00, 0x01},
    {"TopMCutUpper", 0x11, 2, 0, 0}, {"TopMCutLower", 0x11, 3, 0, 0},
};

// In the GHJK layout's order.
const Row kGhjkCommonRows[] = {
    {"Emul", 0x0C, 0, 0x03, 0x02}, {"Buzzer", 0x04, 0, 0x00, 0x01},
    {"CharMode", 0xF0, 0, 0x00, 0x02}, {"Smoothing", 0xF1, 0, 0x00, 0x01},
    {"CheCheN", 0x17, 0, 0x00, 0x01}, {"ImgWrap", 0x40, 0, 0x01, 0x01},
    {"LevelE", 0x41, 0, 0x00, 0x01}, {"CodePage", 0x42, 0, 0x00, 0x01},
    {"JpCharSet", 0x48, 0, 0x01, 0x01}, {"Jis90", 0x44, 0, 0x01, 0x01},
    {"HeiseiFont", 0x0F, 0, 0x00, 0x01}, {"DefaultAnk", 0x45, 0, 0x01, 0x04},
    {"CharCode", 0x52, 0, 0x00, 0x01}, {"InternationalChar", 0x53, 0, 0x08, 0x0E},
    {"AutoLf", 0x54, 0, 0x00, 0x01}, {"HighFont", 0xF3, 0, 0x01, 0x01},
    {"LqQuality", 0xF4, 0, 0x01, 0x01}, {"InitCmd", 0x55, 0, 0x00, 0x01},
    {"TofFf", 0x56, 0, 0x00, 0x01}, {"FormMode", 0x07, 0, 0x00, 0x07},
    {"AsfEject", 0xC6, 0, 0x00, 0x01}, {"AsfAga", 0xC9, 0, 0x01, 0x01},
    {"TearOffBack", 0x14, 0, 0x00, 0x01}, {"AutoOnline", 0x15, 0, 0x00, 0x01},
    {"PaperChgCmd", 0x16, 0, 0x00, 0x03}, {"Small", 0x18, 0, 0x00, 0x01},
    {"CharPitch", 0x51, 0, 0x00, 0x05}, {"AgaHPos", 0x92, 0, 0x00, 0x02},
    {"Ecomode", 0x1A, 0, 0x01, 0x01},
};
// clang-format on

const char* const kMPaperOrder[] = {
    "PrintSpeedFront", "AgaFront",      "AgaRear",      "AgaCut",       "CopyEnhFront",
    "CopyEnhRear",     "CopyEnhCut",    "PrDirFront",   "FormLenFront", "FormLenRear",
    "LinePitchFront",  "LinePitchRear", "LinePitchCut", "LineLenFront", "LineLenRear",
    "SkpPrfFront",     "SkpPrfRear",    "TearOffFront", "TopMCutUpper", "TopMFront",
    "TopMRear"};
const char* const kMCommonOrder[] = {
    "Emul",    "AsfEject",   "Buzzer",     "CharMode",  "Smoothing", "PaperChgCmd",
    "CheCheN", "Small",      "ImgWrap",    "LevelE",    "CodePage",  "JpCharSet",
    "Jis90",   "HeiseiFont", "DefaultAnk", "CharPitch", "CharCode",  "InternationalChar",
    "AutoLf",  "HighFont",   "LqQuality",  "InitCmd",   "TofFf"};

// Margin texts with their codes; user u gets entry u.
const std::pair<const char*, std::uint16_t> kMargins[] = {
    {"8.5", 0x0014}, {"6.4", 0x000F}, {"0.0", 0x0000}, {"108.4", 0x0100}, {"-1.0", 0xFFFE},
    {"0.2", 0x0000}, {"10", 0x0018},  {"254", 0x0258}, {"-25.4", 0xFFC4}, {"12.7", 0x001E}};

const Row& row(std::span<const Row> rows, std::string_view item) {
  for (const Row& r : rows)
    if (item == r.item) return r;
  ADD_FAILURE() << item;
  return rows[0];
}

// Every choice at its last entry, margins from kMargins, names "ﾕｰｻﾞ" and the user digit.
SettingProfile lastChoiceProfile() {
  SettingProfile p = SettingProfile::defaults();
  for (int u = 0; u < cat::kUserCount; ++u) {
    for (int i = 0; i < cat::kPaperItemCount; ++i)
      if (const auto* list = cat::paperItems()[i].values) p.paper[u].index[i] = list->size() - 1;
    for (int i = 0; i < cat::kCommonItemCount; ++i)
      p.common[u].index[i] = cat::commonItems()[i].values->size() - 1;
    for (int m = 0; m < cat::kMarginCount; ++m) p.paper[u].margin[m] = kMargins[(u + m) % 10].first;
    p.userName[u] = "ﾕｰｻﾞ" + std::to_string(u);
  }
  p.selectUser = 9;
  p.iface.ifSel = 3;
  p.iface.ifChgTime = 255;
  p.iface.parallel = 3;
  p.iface.dhcp = 1;
  p.iface.octet = {{{192, 168, 1, 2}, {255, 255, 255, 0}, {192, 168, 1, 254}}};
  p.iface.errDisp = 1;
  return p;
}

void appendPaper(Bytes& out, std::string_view item, int user, bool last) {
  const Row& r = row(kPaperRows, item);
  const int m = cat::marginSlotOfPaperItem(paperItem(item));
  if (m >= 0) {
    const std::uint16_t code = last ? kMargins[(user + m) % 10].second : (m < 2 ? 0x14 : 0x0F);
    append(out, {r.code, r.qualifier, static_cast<std::uint8_t>(code >> 8),
                 static_cast<std::uint8_t>(code & 0xFF)});
  } else {
    append(out, {r.code, r.qualifier, 0, last ? r.lastCode : r.defaultCode});
  }
}

Bytes header(std::uint16_t length) {
  Bytes out = hex("1B 7E 12 00 01 11 1B 7E 4B");
  append(out, {static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length)});
  return out;
}

Bytes expectedGhjkAll(bool last) {
  Bytes out = header(2944);
  append(out, {0x10, 0x00, 0x00, static_cast<std::uint8_t>(last ? 9 : 0)});
  for (int u = 0; u < 10; ++u) {
    append(out, {0x10, 0xFF, 0x00, static_cast<std::uint8_t>(u)});
    append(out, {0x19, 0, 0, 0, 0, 0});
    if (last)  // "ﾕｰｻﾞ" + digit
      append(out, {0xD5, 0xB0, 0xBB, 0xDE, static_cast<std::uint8_t>('0' + u), 0, 0, 0, 0, 0});
    else
      append(out, {'U', static_cast<std::uint8_t>(u == 9 ? '1' : '0'),
                   static_cast<std::uint8_t>(u == 9 ? '0' : '1' + u), 0, 0, 0, 0, 0, 0, 0});
    for (const Row& r : kPaperRows) appendPaper(out, r.item, u, last);
    for (const Row& r : kGhjkCommonRows)
      append(out, {r.code, r.qualifier, 0, last ? r.lastCode : r.defaultCode});
  }
  append(out, {0x10, 0xFF, 0x00, 0xFF});
  if (last)
    out.insert(out.end(), {0x98, 0,   0,    3,   0x99, 0, 0,    0xFF, 0x9A, 0,   0,    3,   0x9B, 0,
                           0,    0,   0x9B, 1,   0,    1, 0x9B, 2,    192,  168, 0x9B, 3,   1,    2,
                           0x9B, 4,   255,  255, 0x9B, 5, 255,  0,    0x9B, 6,   192,  168, 0x9B, 7,
                           1,    254, 0x9C, 0,   0,    1, 0x9B, 0xFF, 0,    0});
  else
    out.insert(out.end(),
               {0x98, 0, 0,    0, 0x99, 0, 0,    30, 0x9A, 0, 0,    0, 0x9B, 0,    0,    0, 0x9B, 1,
                0,    0, 0x9B, 2, 0,    0, 0x9B, 3,  0,    0, 0x9B, 4, 0,    0,    0x9B, 5, 0,    0,
                0x9B, 6, 0,    0, 0x9B, 7, 0,    0,  0x9C, 0, 0,    0, 0x9B, 0xFF, 0,    0});
  append(out, {0xFF, 0xFE, 0x00, 0x00});
  return out;
}

Bytes expectedMAll(int user, bool last) {
  Bytes out = header(184);
  for (const char* item : kMPaperOrder) {
    const Row& r = row(kPaperRows, item);
    std::uint8_t code = last ? r.lastCode : r.defaultCode;
    if (std::string_view(item).starts_with("Aga") && !last) code = 0x02;  // M: "自動"
    if (cat::marginSlotOfPaperItem(paperItem(item)) >= 0)
      appendPaper(out, item, user, last);
    else
      append(out, {r.code, r.qualifier, 0, code});
  }
  for (const char* item : kMCommonOrder) {
    const Row& r = row(kGhjkCommonRows, item);
    append(out, {r.code, r.qualifier, 0, last ? r.lastCode : r.defaultCode});
    if (std::string_view(item) == "AsfEject")
      append(out, {r.code, 0x01, 0, last ? r.lastCode : r.defaultCode});
  }
  append(out, {0xFF, 0xFE, 0x00, 0x00});
  return out;
}

TEST(CommandImageExamples, MWithOnlyBuzzer) {
  SettingProfile p = SettingProfile::defaults();
  p.common[0].index[commonItem("Buzzer")] = 1;
  EXPECT_EQ(buildImage(p, onlyIncluded({"User1BuzzerChkFlag"}), CommandVariant::M),
            hex("1B 7E 12 00 01 11 1B 7E 4B 00 08 04 00 00 01 FF FE 00 00"));
}

TEST(CommandImageExamples, GhjkWithUserNameLengthInterfaceAndAddress) {
  SettingProfile p = SettingProfile::defaults();
  p.paper[0].index[paperItem("FormLenFront")] = 7;
  p.iface.ifSel = 3;
  p.iface.octet[0] = {192, 168, 0, 10};
  const auto flags = onlyIncluded({"SelectUserChkFlag", "User1NameChkFlag", "User1FTFormLenChkFlag",
                                   "IfSelChkFlag", "IpAddressChkFlag"});
  EXPECT_EQ(buildImage(p, flags, CommandVariant::Ghjk),
            hex("1B 7E 12 00 01 11 1B 7E 4B 00 38  10 00 00 00  10 FF 00 00"
                " 19 00 00 00 00 00 55 30 31 00 00 00 00 00 00 00  00 00 00 08  10 FF 00 FF"
                " 98 00 00 03  9B 00 00 00  9B 02 C0 A8  9B 03 00 0A  9B FF 00 00  FF FE 00 00"));
}

TEST(CommandImageWhole, NothingIncludedGivesTheMinimalImage) {
  const Bytes minimal = hex("1B 7E 12 00 01 11 1B 7E 4B 00 04 FF FE 00 00");
  for (auto variant : {CommandVariant::Ghjk, CommandVariant::M})
    EXPECT_EQ(buildImage(lastChoiceProfile(), noneIncluded(), variant), minimal);
}

TEST(CommandImageWhole, GhjkWithEveryItemIncluded) {
  const Bytes defaults =
      buildImage(SettingProfile::defaults(), CheckFlagSet{}, CommandVariant::Ghjk);
  EXPECT_EQ(defaults.size(), 2955u);
  EXPECT_EQ(defaults, expectedGhjkAll(false));
  EXPECT_EQ(buildImage(lastChoiceProfile(), CheckFlagSet{}, CommandVariant::Ghjk),
            expectedGhjkAll(true));
}

TEST(CommandImageWhole, MWithEveryItemIncludedCarriesOnlyTheInitialUser) {
  SettingProfile p = SettingProfile::defaults();
  p.selectUser = 4;
  const Bytes defaults = buildImage(p, CheckFlagSet{}, CommandVariant::M);
  EXPECT_EQ(defaults.size(), 195u);
  EXPECT_EQ(defaults, expectedMAll(4, false));

  SettingProfile last = lastChoiceProfile();
  last.selectUser = 6;
  EXPECT_EQ(buildImage(last, CheckFlagSet{}, CommandVariant::M), expectedMAll(6, true));
}

TEST(CommandImageSelection, MIgnoresOtherUsersAndProfileWideFlags) {
  SettingProfile p = SettingProfile::defaults();
  p.selectUser = 1;
  p.common[1].index[commonItem("AsfEject")] = 1;
  const auto flags =
      onlyIncluded({"User1BuzzerChkFlag", "User2AsfEjectChkFlag", "User3EmulationChkFlag",
                    "SelectUserChkFlag", "User2NameChkFlag", "IfSelChkFlag", "ErrDispChkFlag"});
  EXPECT_EQ(buildImage(p, flags, CommandVariant::M),
            hex("1B 7E 12 00 01 11 1B 7E 4B 00 0C C6 00 00 01 C6 01 00 01 FF FE 00 00"));
}

TEST(CommandImageSelection, GhjkBlocksAppearOnlyForIncludedItems) {
  const SettingProfile p = SettingProfile::defaults();
  auto records = [&](const CheckFlagSet& flags) {
    const Bytes image = buildImage(p, flags, CommandVariant::Ghjk);
    return Bytes(image.begin() + 11, image.end() - 4);
  };
  EXPECT_EQ(records(onlyIncluded({"User3EmulationChkFlag"})),
            hex("10 FF 00 02 0C 00 00 03 10 FF 00 FF"));
  EXPECT_EQ(records(onlyIncluded({"User1NameChkFlag"})),
            hex("10 FF 00 00 19 00 00 00 00 00 55 30 31 00 00 00 00 00 00 00 10 FF 00 FF"));
  EXPECT_EQ(records(onlyIncluded({"ErrDispChkFlag"})), hex("9B 00 00 00 9C 00 00 00 9B FF 00 00"));
  EXPECT_EQ(records(onlyIncluded({"SelectUserChkFlag"})), hex("10 00 00 00"));
  EXPECT_EQ(records(onlyIncluded({"User10CTLowerTopMarginChkFlag", "User2AsfEjectChkFlag"})),
            hex("10 FF 00 01 C6 00 00 00 10 FF 00 09 11 03 00 0F 10 FF 00 FF"));
}

TEST(CommandImageSelection, OnlyItemFlagsOfExactlyOneCount) {
  CheckFlagSet flags;
  for (int node : {cat::kUserSettingNode, cat::kUserNameSettingNode, cat::kInterfaceSettingNode,
                   cat::checkNode(cat::kUserBlock, 0), cat::groups()[cat::kCutGroup].nodeOf(3)})
    flags.state[node] = 0;
  const SettingProfile p = SettingProfile::defaults();
  EXPECT_EQ(buildImage(p, flags, CommandVariant::Ghjk),
            buildImage(p, CheckFlagSet{}, CommandVariant::Ghjk));

  CheckFlagSet two = noneIncluded();
  two.state[cat::checkNodeIndex("User1BuzzerChkFlag")] = 2;
  EXPECT_EQ(buildImage(p, two, CommandVariant::Ghjk).size(), 15u);
}

TEST(CommandImageLength, AgreesWithTheValueCodesForAnyFlags) {
  std::mt19937 random(8630);
  for (int round = 0; round < 200; ++round) {
    CheckFlagSet flags;
    const int density = round % 10;  // from almost none to almost all included
    for (auto& state : flags.state) state = static_cast<int>(random() % 10) < density ? 1 : 0;
    SettingProfile p = lastChoiceProfile();
    p.selectUser = static_cast<std::int32_t>(random() % 10);
    for (auto variant : {CommandVariant::Ghjk, CommandVariant::M})
      EXPECT_LE(buildImage(p, flags, variant).size(), 2955u);  // checks L against the image
  }
}

TEST(CommandImageLength, MForAnUnknownUserCarriesNothing) {
  const ValueCodes codes{};
  EXPECT_EQ(BuildCommandImage(codes, CheckFlagSet{}, 57, CommandVariant::M).bytes,
            hex("1B 7E 12 00 01 11 1B 7E 4B 00 04 FF FE 00 00"));
}

}  // namespace
}  // namespace drovik
