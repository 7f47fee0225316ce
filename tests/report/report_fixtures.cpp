#include "report/report_fixtures.h"

#include <gtest/gtest.h>

#include <map>

#include "model/catalogue.h"

namespace drovik::report_test {
namespace {

namespace cat = catalogue;

struct Line {
  std::string_view label;
  std::string_view item;
};

const Line kFront[] = {
    {"　用紙長さ\t\t", "FormLenFront"},      {"　改行幅\t\t\t", "LinePitchFront"},
    {"　印字速度\t\t", "PrintSpeedFront"},   {"　印字幅\t\t\t", "LineLenFront"},
    {"　紙厚設定\t\t", "AgaFront"},          {"　ミシン目スキップ\t\t", "SkpPrfFront"},
    {"　片方向印字\t\t", "PrDirFront"},      {"　紙ホチキス\t\t", "SpRocketFront"},
    {"　ティアオフ\t\t", "TearOffFront"},    {"　グラフィック強化\t\t", "GraphFront"},
    {"　コピー強化\t\t", "CopyEnhFront"},    {"　トップマージン\t\t", "TopMFront"},
    {"　連続紙押さえ\t\t", "RenPressFront"}, {"　ローラー踏み替え\t\t", "ChgStepRollerFront"},
    {"　ＥＯＦ印字\t\t", "EofPrnFront"},
};

const Line kRear[] = {
    {"　用紙長さ\t\t", "FormLenRear"},      {"　改行幅\t\t\t", "LinePitchRear"},
    {"　印字速度\t\t", "PrintSpeedRear"},   {"　印字幅\t\t\t", "LineLenRear"},
    {"　紙厚設定\t\t", "AgaRear"},          {"　ミシン目スキップ\t\t", "SkpPrfRear"},
    {"　片方向印字\t\t", "PrDirRear"},      {"　紙ホチキス\t\t", "SpRocketRear"},
    {"　ティアオフ\t\t", "TearOffRear"},    {"　グラフィック強化\t\t", "GraphRear"},
    {"　コピー強化\t\t", "CopyEnhRear"},    {"　トップマージン\t\t", "TopMRear"},
    {"　連続紙押さえ\t\t", "RenPressRear"}, {"　ローラー踏み替え\t\t", "ChgStepRollerRear"},
    {"　ＥＯＦ印字\t\t", "EofPrnRear"},
};

const Line kCut[] = {
    {"　改行幅\t\t\t", "LinePitchCut"},
    {"　印字速度\t\t", "PrintSpeedCut"},
    {"　紙厚設定\t\t", "AgaCut"},
    {"　片方向印字\t\t", "PrDirCut"},
    {"　グラフィック強化\t\t", "GraphCut"},
    {"　コピー強化\t\t", "CopyEnhCut"},
    {"　↑送りトップマージン\t", "TopMCutUpper"},
    {"　↓送りトップマージン\t", "TopMCutLower"},
};

const Line kCommon[] = {
    {"　エミュレーション\t\t", "Emul"},     {"　ブザー\t\t\t", "Buzzer"},
    {"　用紙モード\t\t", "FormMode"},       {"　キャラクターモード\t\t", "CharMode"},
    {"　スムージング\t\t", "Smoothing"},    {"　ＡＳＦ排出\t\t", "AsfEject"},
    {"　ＡＳＦ紙厚\t\t", "AsfAga"},         {"　ティアオフ戻り\t\t", "TearOffBack"},
    {"　自動オンライン\t\t", "AutoOnline"}, {"　用紙切替コマンド\t\t", "PaperChgCmd"},
    {"　／／ｎ／／モード\t\t", "CheCheN"},  {"　縮小\t\t\t", "Small"},
    {"　ＡＧＡ水平位置\t\t", "AgaHPos"},    {"　ＥＣＯモード\t\t", "Ecomode"},
};

const Line k8630[] = {
    {"　イメージ折り返し\t\t", "ImgWrap"},
    {"　レベルＥ機能\t\t", "LevelE"},
    {"　コードページ\t\t", "CodePage"},
    {"　日本語文字セット\t\t", "JpCharSet"},
    {"　９０年改定\t\t", "Jis90"},
    {"　簡易平成書体\t\t", "HeiseiFont"},
    {"　デフォルトＡＮＫ\t\t", "DefaultAnk"},
};

const Line kEscp[] = {
    {"　ＥＳＣ／Ｐ文字ピッチ\t", "CharPitch"}, {"　文字コード\t\t", "CharCode"},
    {"　国際文字\t\t", "InternationalChar"},   {"　自動改行\t\t", "AutoLf"},
    {"　高速文字品位\t\t", "HighFont"},        {"　ＬＱ文字品位\t\t", "LqQuality"},
    {"　初期化コマンド\t\t", "InitCmd"},       {"　ＴＯＦ改ページ\t\t", "TofFf"},
};

const Line kMDevice[] = {
    {"　エミュレーション\t\t", "Emul"},
    {"　印字速度\t\t", "PrintSpeedFront"},
    {"　Ｆトラクタ紙厚\t\t", "AgaFront"},
    {"　Ｒトラクタ紙厚\t\t", "AgaRear"},
    {"　手差し紙厚\t\t", "AgaCut"},
    {"　Ｆトラクタコピー強化\t", "CopyEnhFront"},
    {"　Ｒトラクタコピー強化\t", "CopyEnhRear"},
    {"　手差しコピー強化\t\t", "CopyEnhCut"},
    {"　ＦＡＳＦ排出方向\t\t", "AsfEject"},
    {"　ＲＡＳＦ排出方向\t\t", "AsfEject"},
    {"　ブザー\t\t\t", "Buzzer"},
    {"　片方向印字\t\t", "PrDirFront"},
    {"　Ｆトラクタ用紙長さ\t\t", "FormLenFront"},
    {"　Ｒトラクタ用紙長さ\t\t", "FormLenRear"},
    {"　Ｆトラクタ行幅\t\t", "LinePitchFront"},
    {"　Ｒトラクタ行幅\t\t", "LinePitchRear"},
    {"　手差し行幅\t\t", "LinePitchCut"},
    {"　Ｆトラクタ印字幅\t\t", "LineLenFront"},
    {"　Ｒトラクタ印字幅\t\t", "LineLenRear"},
    {"　Ｆトラクタミシン目スキップ\t", "SkpPrfFront"},
    {"　Ｒトラクタミシン目スキップ\t", "SkpPrfRear"},
    {"　オートティアオフ\t\t", "TearOffFront"},
    {"　キャラクターモード\t\t", "CharMode"},
    {"　スムージング\t\t", "Smoothing"},
    {"　用紙切替コマンド\t\t", "PaperChgCmd"},
    {"　／／ｎ／／モード\t\t", "CheCheN"},
    {"　縮小\t\t\t", "Small"},
};

const Line kMMargin[] = {
    {"　手差しトップマージン\t", "TopMCutUpper"},
    {"　Ｆトラクタトップマージン\t", "TopMFront"},
    {"　Ｒトラクタトップマージン\t", "TopMRear"},
};

// Item-flag key stems of one user, "User" + n + stem + "ChkFlag".
const std::string_view kItemFlagStems[] = {"FTFormLen",
                                           "FTLinePitch",
                                           "FTPrintSpeed",
                                           "FTLineLen",
                                           "FTAga",
                                           "FTSkpPrt",
                                           "FTPrDir",
                                           "FTSpRocket",
                                           "FTTearOff",
                                           "FTGraph",
                                           "FTCopyEnh",
                                           "FTTopMargin",
                                           "FTRenPress",
                                           "FTChgStepRoller",
                                           "FTEofPrt",
                                           "RTFormLen",
                                           "RTLinePitch",
                                           "RTPrintSpeed",
                                           "RTLineLen",
                                           "RTAga",
                                           "RTSkpPrt",
                                           "RTPrDir",
                                           "RTSpRocket",
                                           "RTTearOff",
                                           "RTGraph",
                                           "RTCopyEnh",
                                           "RTTopMargin",
                                           "RTRenPress",
                                           "RTChgStepRoller",
                                           "RTEofPrt",
                                           "CTLinePitch",
                                           "CTPrintSpeed",
                                           "CTAga",
                                           "CTPrDir",
                                           "CTGraph",
                                           "CTCopyEnh",
                                           "CTUpperTopMargin",
                                           "CTLowerTopMargin",
                                           "Emulation",
                                           "Buzzer",
                                           "FormMode",
                                           "CharMode",
                                           "Smoothing",
                                           "AsfEject",
                                           "AsfAga",
                                           "TearOffBack",
                                           "AutoOnline",
                                           "PaperChgCmd",
                                           "CheCheN",
                                           "Small",
                                           "AgaHPos",
                                           "Ecomode",
                                           "ImgWrap",
                                           "LevelE",
                                           "CodePage",
                                           "JpCharSet",
                                           "Jis90",
                                           "HeiseiFont",
                                           "DefaultAnk",
                                           "CharPitch",
                                           "CharCode",
                                           "InternationalChar",
                                           "AutoLf",
                                           "HighFont",
                                           "LqQuality",
                                           "InitCmd",
                                           "TofFf"};

std::string lines(const Line* begin, const Line* end, int user, const TextOf& text) {
  std::string out;
  for (const Line* line = begin; line != end; ++line)
    out += std::string(line->label) + text(user, line->item) + "\r\n";
  return out;
}

template <std::size_t N>
std::string lines(const Line (&table)[N], int user, const TextOf& text) {
  return lines(table, table + N, user, text);
}

// Texts shared by all users of a default profile, old-model wording.
const std::map<std::string_view, std::string> kGhjkDefaults = {
    {"FormLen", "１１インチ"},
    {"LinePitch", "６ＬＰＩ"},
    {"PrintSpeed", "通常速"},
    {"LineLen", "最大１３．２インチ"},
    {"Aga", "自動調整（普通）"},
    {"SkpPrf", "しない"},
    {"PrDir", "受付ける"},
    {"SpRocket", "使用する‐自動"},
    {"TearOff", "手動"},
    {"Graph", "強化しない"},
    {"CopyEnh", "強化しない"},
    {"TopMFront", "8.5mm"},
    {"TopMRear", "8.5mm"},
    {"TopMCutUpper", "6.4mm"},
    {"TopMCutLower", "6.4mm"},
    {"RenPress", "通常"},
    {"ChgStepRoller", "ページ毎"},
    {"EofPrn", "１行ずつ印字"},
    {"Emul", "自動選択"},
    {"Buzzer", "鳴る"},
    {"FormMode", "Ｆトラクタ：ＤＩＤ↑、ＡＳＦ↑"},
    {"CharMode", "ＯＦＦ"},
    {"Smoothing", "無効"},
    {"AsfEject", "上方向"},
    {"AsfAga", "１枚目のみ測定"},
    {"TearOffBack", "ＴＯＦ位置"},
    {"AutoOnline", "有効"},
    {"PaperChgCmd", "印刷可"},
    {"CheCheN", "有効"},
    {"Small", "しない"},
    {"AgaHPos", "通常"},
    {"Ecomode", "無効"},
    {"ImgWrap", "折返す"},
    {"LevelE", "設定"},
    {"CodePage", "９３２"},
    {"JpCharSet", "新"},
    {"Jis90", "適用あり"},
    {"HeiseiFont", "解除"},
    {"DefaultAnk", "明朝１２（コマンド有効）"},
    {"CharPitch", "１０ＣＰＩ"},
    {"CharCode", "カタカナ"},
    {"InternationalChar", "日本"},
    {"AutoLf", "オフ"},
    {"HighFont", "高品位"},
    {"LqQuality", "高速"},
    {"InitCmd", "有効"},
    {"TofFf", "有効"},
    {"IfSel", "自動選択"},
    {"IfChgTime", "30sec"},
    {"Parallel", "スタンダード（ＥＣＰ）"},
    {"DHCP", "無効"},
    {"ErrDisp", "無効"},
    {"SelectUser", "ユーザー１"},
};

// The M wording where it differs from the old one.
const std::map<std::string_view, std::string> kMDefaults = {
    {"PrintSpeed", "標準"},       {"Aga", "自動"},     {"AsfEject", "後方排出"}, {"Buzzer", "オン"},
    {"SkpPrf", "スキップしない"}, {"TearOff", "無効"}, {"Small", "使用しない"},
};

std::string stripPath(std::string_view item) {
  for (std::string_view suffix : {"Front", "Rear", "Cut"})
    if (item.ends_with(suffix) && !item.starts_with("TopM"))
      return std::string(item.substr(0, item.size() - suffix.size()));
  return std::string(item);
}

template <class Fill>
DisplayTexts textsBy(const Fill& text) {
  DisplayTexts texts;
  for (int u = 0; u < cat::kUserCount; ++u) {
    for (int i = 0; i < cat::kPaperItemCount; ++i)
      texts.paper[u][i] = text(u + 1, cat::paperItems()[i].name);
    for (int i = 0; i < cat::kCommonItemCount; ++i)
      texts.common[u][i] = text(u + 1, cat::commonItems()[i].name);
    texts.userName[u] = text(u + 1, "Name");
  }
  for (int k = 0; k < cat::kInterfaceKeyCount; ++k)
    texts.iface[k] = text(0, cat::interfaceKeys()[k].key);
  texts.selectUser = text(0, "SelectUser");
  return texts;
}

}  // namespace

std::string markerText(int user, std::string_view item) {
  if (user == 0) return std::string(item);
  std::string marker = "U";
  marker += std::to_string(user);
  marker += '.';
  marker += item;
  return marker;
}

DisplayTexts markerTexts() { return textsBy(markerText); }

std::string ghjkDefaultText(int user, std::string_view item) {
  if (item == "Name") return user < 10 ? "U0" + std::to_string(user) : "U10";
  if (item.starts_with("IPAddress") || item.starts_with("SubnetMask") ||
      item.starts_with("DefaultGateway"))
    return "0";
  const auto found = kGhjkDefaults.find(stripPath(item));
  EXPECT_NE(found, kGhjkDefaults.end()) << item;
  return found == kGhjkDefaults.end() ? std::string() : found->second;
}

DisplayTexts ghjkDefaultTexts() { return textsBy(ghjkDefaultText); }

std::string mDefaultText(int user, std::string_view item) {
  const auto found = kMDefaults.find(stripPath(item));
  return found == kMDefaults.end() ? ghjkDefaultText(user, item) : found->second;
}

CheckFlagSet noFlags() {
  CheckFlagSet flags;
  flags.state.fill(0);
  return flags;
}

void include(CheckFlagSet& flags, std::string_view key) {
  const int node = cat::checkNodeIndex(key);
  ASSERT_GE(node, 0) << key;
  flags.state[node] = 1;
}

void includeUser(CheckFlagSet& flags, int user) {
  for (std::string_view stem : kItemFlagStems)
    include(flags, "User" + std::to_string(user) + std::string(stem) + "ChkFlag");
}

std::string fullWidth(int n) {
  static const char* const kNumbers[] = {"",   "１", "２", "３", "４",  "５",
                                         "６", "７", "８", "９", "１０"};
  return kNumbers[n];
}

std::string ghjkUserSettingsBlock(const TextOf& text) {
  std::string out = "【ユーザー設定】\r\n　初期ユーザー設定\t" + text(0, "SelectUser") + "\r\n";
  for (int n = 1; n <= 10; ++n)
    out += "　ユーザー" + fullWidth(n) + "\t\t" + text(n, "Name") + "\r\n";
  return out + "\r\n";
}

std::string ghjkUserBlock(int user, const TextOf& text) {
  return "【ユーザー" + fullWidth(user) + "の設定】\r\n" + "フロントトラクタ\r\n" +
         lines(kFront, user, text) + "リアトラクタ\r\n" + lines(kRear, user, text) + "単票\r\n" +
         lines(kCut, user, text) + "共通設定\r\n" + lines(kCommon, user, text) + "８６３０\r\n" +
         lines(k8630, user, text) + "ＥＳＣ／Ｐ\r\n" + lines(kEscp, user, text) + "\r\n";
}

std::string ghjkInterfaceBlock(const TextOf& text) {
  auto address = [&](std::string_view key) {
    std::string out;
    for (int octet = 1; octet <= 4; ++octet) {
      if (octet > 1) out += '.';
      out += text(0, std::string(key) + std::to_string(octet));
    }
    return out;
  };
  return "【インターフェース設定】\r\n"
         "　Ｉ／Ｆ選択\t\t" +
         text(0, "IfSel") +
         "\r\n"
         "　Ｉ／Ｆ切り替え時間\t" +
         text(0, "IfChgTime") +
         "\r\n"
         "　パラレル設定\t\t" +
         text(0, "Parallel") +
         "\r\n"
         "ネットワーク設定\r\n"
         "　ＤＨＣＰ設定\t\t" +
         text(0, "DHCP") +
         "\r\n"
         "　ＩＰアドレス\t\t" +
         address("IPAddress") +
         "\r\n"
         "　サブネットマスク\t\t" +
         address("SubnetMask") +
         "\r\n"
         "　ゲートウェイアドレス\t" +
         address("DefaultGateway") +
         "\r\n"
         "　エラー表示\t\t" +
         text(0, "ErrDisp");
}

std::string mFullReport(int user, const TextOf& text) {
  return std::string(kMHeadings) + lines(kMDevice, user, text) + "\r\n【マージン設定】\r\n" +
         lines(kMMargin, user, text) + "\r\n【8630 設定】\r\n" + lines(k8630, user, text) +
         "\r\n【ESC/P 設定】\r\n" + lines(kEscp, user, text);
}

}  // namespace drovik::report_test
