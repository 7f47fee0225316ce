#include "model/catalogue.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <vector>

namespace drovik::catalogue {
namespace {

using SV = std::string_view;

constexpr SV kFormLen[] = {"３インチ",      "３　２／３インチ", "４インチ",         "４．５インチ",
                           "５インチ",      "５．５インチ",     "５　２／３インチ", "６インチ",
                           "７インチ",      "８インチ",         "８．５インチ",     "９インチ",
                           "１０インチ",    "１１インチ",       "１２インチ",       "１４インチ",
                           "＊設定変更なし"};
constexpr SV kLinePitch[] = {"２ＬＰＩ", "３ＬＰＩ",     "４ＬＰＩ", "５ＬＰＩ",
                             "６ＬＰＩ", "７．５ＬＰＩ", "８ＬＰＩ"};
constexpr SV kLineLen[] = {"最大８．０インチ", "最大１３．２インチ", "最大１３．６インチ"};
constexpr SV kAga[] = {"自動調整（濃く）", "自動調整（普通）", "自動調整（薄く）", "紙厚固定０１",
                       "紙厚固定０２",     "紙厚固定０３",     "紙厚固定０４",     "紙厚固定０５",
                       "紙厚固定０６",     "紙厚固定０７",     "紙厚固定０８",     "紙厚固定０９",
                       "紙厚固定１０",     "紙厚固定１１",     "＊設定変更なし"};
constexpr SV kSpRocket[] = {"使用しない", "使用する‐自動", "使用する‐通常", "使用する‐特殊"};
constexpr SV kTearOff[] = {"手動", "半自動", "全自動"};
constexpr SV kRollerFront[] = {"ページ毎", "５ページに１回", "１０ページに１回"};
constexpr SV kRollerRear[] = {"ページ毎", "５ページに１回", "１０ページに１回",
                              "５Ｐに１回（固定）", "１０Ｐに１回（固定）"};
constexpr SV kEofPrn[] = {"１行ずつ印字", "最後まで印字１", "最後まで印字２"};
constexpr SV kEmul[] = {"自動選択", "８６３０", "ＥＳＣ／Ｐ"};
constexpr SV kFormMode[] = {
    "Ｆトラクタ：ＤＩＤ↑、ＡＳＦ↑", "Ｆトラクタ：ＤＩＤ↓、ＡＳＦ↑", "Ｆトラクタ：ＤＩＤ↑、ＡＳＦ↓",
    "Ｆトラクタ：ＤＩＤ↓、ＡＳＦ↓", "Ｒトラクタ：ＤＩＤ↑、ＡＳＦ↑", "Ｒトラクタ：ＤＩＤ↓、ＡＳＦ↑",
    "Ｒトラクタ：ＤＩＤ↑、ＡＳＦ↓", "Ｒトラクタ：ＤＩＤ↓、ＡＳＦ↓", "単票：ＤＩＤ↑、ＡＳＦ↑",
    "単票：ＤＩＤ↓、ＡＳＦ↑",       "単票：ＤＩＤ↑、ＡＳＦ↓",       "単票：ＤＩＤ↓、ＡＳＦ↓"};
constexpr SV kCharMode[] = {"ＯＦＦ", "＆＄％＄ Ｅｎｔｒｙ", "＄？！＃ Ｅｎｔｒｙ"};
constexpr SV kPaperChgCmd[] = {"印刷可", "印刷不可", "無効"};
constexpr SV kAgaHPos[] = {"通常", "特殊１", "特殊２"};
constexpr SV kDefaultAnk[] = {"明朝１２（コマンド無効）", "明朝１２（コマンド有効）",
                              "ＯＣＲ－Ｂ（コマンド無効）", "ＯＣＲ－Ｂ（コマンド有効）",
                              "一部ＯＣＲ（コマンド有効）"};
constexpr SV kCharPitch[] = {"１０ＣＰＩ", "１２ＣＰＩ", "１５ＣＰＩ",
                             "１７ＣＰＩ", "２０ＣＰＩ", "ＰＲＯＰＯＲＴＩＯＮＡＬ"};
constexpr SV kInternationalChar[] = {"ＵＳＡ",         "フランス",     "ドイツ",       "イギリス",
                                     "デンマーク１",   "スウェーデン", "イタリア",     "スペイン１",
                                     "日本",           "ノルウェイ",   "デンマーク２", "スペイン２",
                                     "ラテンアメリカ", "韓国",         "リーガル"};
constexpr SV kIfSelEntries[] = {"自動選択", "パラレル", "ＵＳＢ", "ネットワーク"};
constexpr SV kParallelEntries[] = {"スタンダード（ＥＣＰ）", "スタンダード（ニブル）", "ＵＳＰＣ",
                                   "コンバージド"};
constexpr SV kSelectUser[] = {"ユーザー１", "ユーザー２",  "ユーザー３", "ユーザー４",
                              "ユーザー５", "ユーザー６",  "ユーザー７", "ユーザー８",
                              "ユーザー９", "ユーザー１０"};

// Two-choice lists.
constexpr SV kSpeed[] = {"通常速", "高速"};
constexpr SV kNoYes[] = {"しない", "する"};
constexpr SV kAccept[] = {"受付けない", "受付ける"};
constexpr SV kEnhance[] = {"強化しない", "強化する"};
constexpr SV kNormalSpecial[] = {"通常", "特殊"};
constexpr SV kBuzzer[] = {"鳴る", "鳴らない"};
constexpr SV kOffOn[] = {"無効", "有効"};
constexpr SV kOnOff[] = {"有効", "無効"};
constexpr SV kUpDown[] = {"上方向", "下方向"};
constexpr SV kAsfAga[] = {"用紙毎測定", "１枚目のみ測定"};
constexpr SV kTearOffBack[] = {"ＴＯＦ位置", "元の位置"};
constexpr SV kWrap[] = {"折返さない", "折返す"};
constexpr SV kSetClear[] = {"設定", "解除"};
constexpr SV kClearSet[] = {"解除", "設定"};
constexpr SV kCodePage[] = {"９３２", "９４２"};
constexpr SV kOldNew[] = {"旧", "新"};
constexpr SV kJis90[] = {"適用なし", "適用あり"};
constexpr SV kCharCode[] = {"カタカナ", "拡張グラフィックス"};
constexpr SV kAutoLf[] = {"オフ", "オン"};
constexpr SV kHighFont[] = {"通常", "高品位"};
constexpr SV kLqQuality[] = {"通常", "高速"};

#define DROVIK_LIST(var, list) \
  const ValueList var { #list, list }
DROVIK_LIST(FormLen, kFormLen);
DROVIK_LIST(LinePitch, kLinePitch);
DROVIK_LIST(LineLen, kLineLen);
DROVIK_LIST(Aga, kAga);
DROVIK_LIST(SpRocket, kSpRocket);
DROVIK_LIST(TearOff, kTearOff);
DROVIK_LIST(RollerFront, kRollerFront);
DROVIK_LIST(RollerRear, kRollerRear);
DROVIK_LIST(EofPrn, kEofPrn);
DROVIK_LIST(Emul, kEmul);
DROVIK_LIST(FormMode, kFormMode);
DROVIK_LIST(CharMode, kCharMode);
DROVIK_LIST(PaperChgCmd, kPaperChgCmd);
DROVIK_LIST(AgaHPos, kAgaHPos);
DROVIK_LIST(DefaultAnk, kDefaultAnk);
DROVIK_LIST(CharPitch, kCharPitch);
DROVIK_LIST(InternationalChar, kInternationalChar);
DROVIK_LIST(IfSel, kIfSelEntries);
DROVIK_LIST(Parallel, kParallelEntries);
DROVIK_LIST(SelectUser, kSelectUser);
DROVIK_LIST(Speed, kSpeed);
DROVIK_LIST(NoYes, kNoYes);
DROVIK_LIST(Accept, kAccept);
DROVIK_LIST(Enhance, kEnhance);
DROVIK_LIST(NormalSpecial, kNormalSpecial);
DROVIK_LIST(Buzzer, kBuzzer);
DROVIK_LIST(OffOn, kOffOn);
DROVIK_LIST(OnOff, kOnOff);
DROVIK_LIST(UpDown, kUpDown);
DROVIK_LIST(AsfAga, kAsfAga);
DROVIK_LIST(TearOffBack, kTearOffBack);
DROVIK_LIST(Wrap, kWrap);
DROVIK_LIST(SetClear, kSetClear);
DROVIK_LIST(ClearSet, kClearSet);
DROVIK_LIST(CodePage, kCodePage);
DROVIK_LIST(OldNew, kOldNew);
DROVIK_LIST(Jis90, kJis90);
DROVIK_LIST(CharCode, kCharCode);
DROVIK_LIST(AutoLf, kAutoLf);
DROVIK_LIST(HighFont, kHighFont);
DROVIK_LIST(LqQuality, kLqQuality);
#undef DROVIK_LIST

constexpr Item choice(SV name, SV stem, SV label, int tabs, const ValueList& list, int def) {
  return {name, stem, label, {}, tabs, ValueKind::Choice, &list, def, {}};
}
constexpr Item margin(SV name, SV stem, SV label, int tabs, SV def) {
  return {name, stem, label, {}, tabs, ValueKind::Margin, nullptr, 0, def};
}
constexpr Item scalar(SV name, SV stem, SV label, int tabs, ValueKind kind, SV def) {
  return {name, stem, label, {}, tabs, kind, nullptr, 0, def};
}
// An item whose page caption and list wording differ from its tree label.
constexpr Item captioned(Item item, SV caption) {
  item.caption = caption;
  return item;
}

// Front and rear tractor have the same fifteen items, named with "Front" or "Rear"; they share
// labels and check-flag stems (the groups add "FT" and "RT"), and differ in the roller list.
#define DROVIK_TRACTOR_ITEMS(PATH, ROLLER)                                             \
  choice("FormLen" PATH, "FormLen", "用紙長さ", 2, FormLen, 13),                       \
      choice("LinePitch" PATH, "LinePitch", "改行幅", 3, LinePitch, 4),                \
      choice("PrintSpeed" PATH, "PrintSpeed", "印字速度", 2, Speed, 0),                \
      choice("LineLen" PATH, "LineLen", "印字幅", 3, LineLen, 1),                      \
      choice("Aga" PATH, "Aga", "紙厚設定", 2, Aga, 1),                                \
      choice("SkpPrf" PATH, "SkpPrt", "ミシン目スキップ", 2, NoYes, 0),                \
      choice("PrDir" PATH, "PrDir", "片方向印字", 2, Accept, 1),                       \
      choice("SpRocket" PATH, "SpRocket", "紙ホチキス", 2, SpRocket, 1),               \
      choice("TearOff" PATH, "TearOff", "ティアオフ", 2, TearOff, 0),                  \
      choice("Graph" PATH, "Graph", "グラフィック強化", 2, Enhance, 0),                \
      choice("CopyEnh" PATH, "CopyEnh", "コピー強化", 2, Enhance, 0),                  \
      margin("TopM" PATH, "TopMargin", "トップマージン", 2, "8.5"),                    \
      choice("RenPress" PATH, "RenPress", "連続紙押さえ", 2, NormalSpecial, 0),        \
      choice("ChgStepRoller" PATH, "ChgStepRoller", "ローラー踏み替え", 2, ROLLER, 0), \
      choice("EofPrn" PATH, "EofPrt", "ＥＯＦ印字", 2, EofPrn, 0)

const Item kPaper[kPaperItemCount] = {
    DROVIK_TRACTOR_ITEMS("Front", RollerFront),
    DROVIK_TRACTOR_ITEMS("Rear", RollerRear),
    choice("LinePitchCut", "LinePitch", "改行幅", 3, LinePitch, 4),
    choice("PrintSpeedCut", "PrintSpeed", "印字速度", 2, Speed, 0),
    choice("AgaCut", "Aga", "紙厚設定", 2, Aga, 1),
    choice("PrDirCut", "PrDir", "片方向印字", 2, Accept, 1),
    choice("GraphCut", "Graph", "グラフィック強化", 2, Enhance, 0),
    choice("CopyEnhCut", "CopyEnh", "コピー強化", 2, Enhance, 0),
    margin("TopMCutUpper", "UpperTopMargin", "↑送りトップマージン", 1, "6.4"),
    margin("TopMCutLower", "LowerTopMargin", "↓送りトップマージン", 1, "6.4"),
};
#undef DROVIK_TRACTOR_ITEMS

const Item kCommon[kCommonItemCount] = {
    choice("Emul", "Emulation", "エミュレーション", 2, Emul, 0),
    choice("Buzzer", "Buzzer", "ブザー", 3, Buzzer, 0),
    choice("FormMode", "FormMode", "用紙モード", 2, FormMode, 0),
    choice("CharMode", "CharMode", "キャラクターモード", 2, CharMode, 0),
    choice("Smoothing", "Smoothing", "スムージング", 2, OffOn, 0),
    choice("AsfEject", "AsfEject", "ＡＳＦ排出", 2, UpDown, 0),
    choice("AsfAga", "AsfAga", "ＡＳＦ紙厚", 2, AsfAga, 1),
    choice("TearOffBack", "TearOffBack", "ティアオフ戻り", 2, TearOffBack, 0),
    choice("AutoOnline", "AutoOnline", "自動オンライン", 2, OnOff, 0),
    choice("PaperChgCmd", "PaperChgCmd", "用紙切替コマンド", 2, PaperChgCmd, 0),
    choice("CheCheN", "CheCheN", "／／ｎ／／モード", 2, OnOff, 0),
    choice("Small", "Small", "縮小", 3, NoYes, 0),
    choice("AgaHPos", "AgaHPos", "ＡＧＡ水平位置", 2, AgaHPos, 0),
    choice("Ecomode", "Ecomode", "ＥＣＯモード", 2, OnOff, 1),
    choice("ImgWrap", "ImgWrap", "イメージ折り返し", 2, Wrap, 1),
    choice("LevelE", "LevelE", "レベルＥ機能", 2, SetClear, 0),
    choice("CodePage", "CodePage", "コードページ", 2, CodePage, 0),
    choice("JpCharSet", "JpCharSet", "日本語文字セット", 2, OldNew, 1),
    captioned(choice("Jis90", "Jis90", "９０年改訂", 2, Jis90, 1), "９０年改定"),
    choice("HeiseiFont", "HeiseiFont", "簡易平成書体", 2, ClearSet, 0),
    choice("DefaultAnk", "DefaultAnk", "デフォルトＡＮＫ", 2, DefaultAnk, 1),
    captioned(choice("CharPitch", "CharPitch", "文字ピッチ", 1, CharPitch, 0),
              "ＥＳＣ／Ｐ文字ピッチ"),
    choice("CharCode", "CharCode", "文字コード", 2, CharCode, 0),
    choice("InternationalChar", "InternationalChar", "国際文字", 2, InternationalChar, 8),
    choice("AutoLf", "AutoLf", "自動改行", 2, AutoLf, 0),
    choice("HighFont", "HighFont", "高速文字品位", 2, HighFont, 1),
    choice("LqQuality", "LqQuality", "ＬＱ文字品位", 2, LqQuality, 1),
    choice("InitCmd", "InitCmd", "初期化コマンド", 2, OnOff, 0),
    choice("TofFf", "TofFf", "ＴＯＦ改ページ", 2, OnOff, 0),
};

const Item kInterface[kInterfaceItemCount] = {
    choice("IfSel", "IfSel", "Ｉ／Ｆ選択", 2, IfSel, 0),
    scalar("IfChgTime", "IfChgTime", "Ｉ／Ｆ切り替え時間", 1, ValueKind::Seconds, "30"),
    choice("Parallel", "Parallel", "パラレル設定", 2, Parallel, 0),
    choice("DHCP", "Dhcp", "ＤＨＣＰ設定", 2, OffOn, 0),
    scalar("IPAddress", "IpAddress", "ＩＰアドレス", 2, ValueKind::Octet, "0"),
    scalar("SubnetMask", "SubnetMask", "サブネットマスク", 2, ValueKind::Octet, "0"),
    scalar("DefaultGateway", "DefaultGateway", "ゲートウェイアドレス", 1, ValueKind::Octet, "0"),
    choice("ErrDisp", "ErrDisp", "エラー表示", 2, OffOn, 0),
};

const InterfaceKey kInterfaceKeys[kInterfaceKeyCount] = {
    {"IfSel", kIfSel, -1},
    {"IfChgTime", kIfChgTime, -1},
    {"Parallel", kParallel, -1},
    {"DHCP", kDhcp, -1},
    {"IPAddress1", kIpAddress, 0},
    {"SubnetMask1", kSubnetMask, 0},
    {"DefaultGateway1", kDefaultGateway, 0},
    {"IPAddress2", kIpAddress, 1},
    {"SubnetMask2", kSubnetMask, 1},
    {"DefaultGateway2", kDefaultGateway, 1},
    {"IPAddress3", kIpAddress, 2},
    {"SubnetMask3", kSubnetMask, 2},
    {"DefaultGateway3", kDefaultGateway, 2},
    {"IPAddress4", kIpAddress, 3},
    {"SubnetMask4", kSubnetMask, 3},
    {"DefaultGateway4", kDefaultGateway, 3},
    {"ErrDisp", kErrDisp, -1},
};

std::span<const Item> itemsOf(Scope scope) {
  switch (scope) {
    case Scope::Paper:
      return kPaper;
    case Scope::Common:
      return kCommon;
    case Scope::Interface:
      break;
  }
  return kInterface;
}

// The groups in tree order. Their nodes follow from the order: each per-user group takes
// one block for itself and one per item, after the user-name and user blocks; the interface
// groups take single nodes after the last block.
std::array<Group, kGroupCount> buildGroups() {
  std::array<Group, kGroupCount> g = {{
      {"フロントトラクタ", {}, "FrontTractor", "FT", Scope::Paper, 0, 15, -1, 0},
      {"リアトラクタ", {}, "RearTractor", "RT", Scope::Paper, 15, 15, -1, 0},
      {"単票", {}, "Cut", "CT", Scope::Paper, 30, 8, -1, 0},
      {"共通設定", {}, "CommonSetting", {}, Scope::Common, 0, 14, -1, 0},
      {"８６３０", {}, "_8630Setting", {}, Scope::Common, 14, 7, kCommonGroup, 0},
      {"ＥＳＣ／Ｐ", {}, "EscpSetting", {}, Scope::Common, 21, 8, kCommonGroup, 0},
      {"Ｉ／Ｆ設定",
       "【インターフェース設定】",
       "InterfaceSetting",
       {},
       Scope::Interface,
       0,
       3,
       -1,
       0},
      {"ネットワーク設定", {}, "NetworkSetting", {}, Scope::Interface, 3, 5, kInterfaceGroup, 0},
  }};
  int block = kUserBlock + 1;
  int node = kInterfaceSettingNode;
  for (Group& group : g) {
    if (group.perUser()) {
      group.node = checkNode(block, 0);
      block += 1 + group.count;
    } else {
      group.node = node;
      node += 1 + group.count;
    }
  }
  return g;
}

std::string twoDigits(int n) {
  return std::string{static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
}

std::array<std::string, kUserCount * kPaperItemCount> buildPaperKeys() {
  std::array<std::string, kUserCount * kPaperItemCount> keys;
  for (int u = 0; u < kUserCount; ++u)
    for (int i = 0; i < kPaperItemCount; ++i)
      keys[u * kPaperItemCount + i] = "User" + twoDigits(u + 1) + "_" + std::string(kPaper[i].name);
  return keys;
}

std::array<std::string, kUserCount * kCommonItemCount> buildCommonKeys() {
  std::array<std::string, kUserCount * kCommonItemCount> keys;
  for (int u = 0; u < kUserCount; ++u)
    for (int i = 0; i < kCommonItemCount; ++i)
      keys[u * kCommonItemCount + i] =
          "User" + twoDigits(u + 1) + "_" + std::string(kCommon[i].name);
  return keys;
}

NodeRef nodeRefOf(Scope scope) {
  switch (scope) {
    case Scope::Paper:
      return NodeRef::Paper;
    case Scope::Common:
      return NodeRef::Common;
    case Scope::Interface:
      break;
  }
  return NodeRef::Interface;
}

std::array<CheckNode, kCheckNodeCount> buildNodes() {
  std::array<CheckNode, kCheckNodeCount> nodes;
  nodes[kUserSettingNode] = {"UserSettingChkFlag", "ユーザー設定", -1, -1, NodeRef::Group, -1};
  nodes[kSelectUserNode] = {
      "SelectUserChkFlag", "初期ユーザー選択", kUserSettingNode, -1, NodeRef::SelectUser, -1};
  nodes[kUserNameSettingNode] = {
      "UserNameSettingChkFlag", "ユーザー名登録", kUserSettingNode, -1, NodeRef::Group, -1};
  for (int u = 0; u < kUserCount; ++u) {
    const std::string prefix = "User" + std::to_string(u + 1);
    nodes[checkNode(kNameBlock, u)] = {prefix + "NameChkFlag", userCaption(u) + "の名前",
                                       kUserNameSettingNode,   u,
                                       NodeRef::UserName,      -1};
    nodes[checkNode(kUserBlock, u)] = {
        prefix + "ChkFlag", userCaption(u), kUserSettingNode, u, NodeRef::Group, -1};
  }
  for (int g = 0; g < kGroupCount; ++g) {
    const Group& group = groups()[g];
    const int users = group.perUser() ? kUserCount : 1;
    for (int u = 0; u < users; ++u) {
      const std::string prefix = group.perUser() ? "User" + std::to_string(u + 1) : "";
      const int user = group.perUser() ? u : -1;
      const int parent = group.parent >= 0 ? groups()[group.parent].nodeOf(u)
                         : group.perUser() ? checkNode(kUserBlock, u)
                                           : -1;
      nodes[group.nodeOf(u)] = {prefix + std::string(group.flagStem) + "ChkFlag",
                                std::string(group.label),
                                parent,
                                user,
                                NodeRef::Group,
                                -1};
      for (int k = 0; k < group.count; ++k) {
        const Item& it = group.items()[k];
        nodes[group.itemNode(u, k)] = {
            prefix + std::string(group.itemFlagPrefix) + std::string(it.flagStem) + "ChkFlag",
            std::string(it.label),
            group.nodeOf(u),
            user,
            nodeRefOf(group.scope),
            group.first + k};
      }
    }
  }
  return nodes;
}

std::vector<int> buildSaveOrderNodes() {
  std::vector<int> order = {kUserSettingNode, kSelectUserNode, kUserNameSettingNode};
  for (int u = 0; u < kUserCount; ++u) order.push_back(checkNode(kNameBlock, u));
  for (int u = 0; u < kUserCount; ++u)
    for (int b = kUserBlock; b < kUserBlockCount; ++b) order.push_back(checkNode(b, u));
  for (int n = kInterfaceSettingNode; n < kCheckNodeCount; ++n) order.push_back(n);
  return order;
}

std::vector<ValueKey> buildValueKeys() {
  std::vector<ValueKey> keys;
  keys.push_back({kSelectUserKey, KeyKind::SelectUser, -1, -1});
  for (int u = 0; u < kUserCount; ++u) keys.push_back({userNameKey(u), KeyKind::UserName, u, -1});
  for (int u = 0; u < kUserCount; ++u) {
    for (int i = 0; i < kPaperItemCount; ++i)
      keys.push_back({paperKey(u, i), KeyKind::Paper, u, i});
    for (int i = 0; i < kCommonItemCount; ++i)
      keys.push_back({commonKey(u, i), KeyKind::Common, u, i});
  }
  for (int k = 0; k < kInterfaceKeyCount; ++k)
    keys.push_back({kInterfaceKeys[k].key, KeyKind::Interface, -1, k});
  return keys;
}

}  // namespace

std::span<const Item> paperItems() { return kPaper; }
std::span<const Item> commonItems() { return kCommon; }
std::span<const Item> interfaceItems() { return kInterface; }
std::span<const InterfaceKey> interfaceKeys() { return kInterfaceKeys; }

const Item& item(ItemRef ref) { return itemsOf(ref.scope)[ref.index]; }

std::optional<ItemRef> findItem(std::string_view name) {
  static const auto index = [] {
    std::unordered_map<std::string_view, ItemRef> map;
    for (Scope scope : {Scope::Paper, Scope::Common, Scope::Interface}) {
      const auto items = itemsOf(scope);
      for (int i = 0; i < static_cast<int>(items.size()); ++i)
        map.emplace(items[i].name, ItemRef{scope, i});
    }
    return map;
  }();
  const auto it = index.find(name);
  if (it == index.end()) return std::nullopt;
  return it->second;
}

std::span<const Item> Group::items() const { return itemsOf(scope).subspan(first, count); }

const std::array<Group, kGroupCount>& groups() {
  static const auto g = buildGroups();
  return g;
}

int groupOf(ItemRef ref) {
  // Every include flag a command or a list tests asks for its item's node: a table by item.
  static const auto byScope = [] {
    std::array<std::vector<int>, 3> tables;  // in the order of Scope
    for (Scope scope : {Scope::Paper, Scope::Common, Scope::Interface})
      tables[static_cast<std::size_t>(scope)].assign(itemsOf(scope).size(), -1);
    for (int g = 0; g < kGroupCount; ++g) {
      const Group& group = groups()[g];
      std::vector<int>& table = tables[static_cast<std::size_t>(group.scope)];
      for (int k = 0; k < group.count; ++k)
        if (table[group.first + k] < 0) table[group.first + k] = g;
    }
    return tables;
  }();
  const std::vector<int>& table = byScope[static_cast<std::size_t>(ref.scope)];
  if (ref.index < 0 || ref.index >= static_cast<int>(table.size())) return -1;
  return table[ref.index];
}

int itemNode(int user, ItemRef ref) {
  const Group& group = groups()[groupOf(ref)];
  return group.itemNode(user, ref.index - group.first);
}

std::string groupAndLabel(ItemRef ref, std::string_view separator) {
  std::string text;
  appendGroupAndLabel(text, ref, separator);
  return text;
}

void appendGroupAndLabel(std::string& out, ItemRef ref, std::string_view separator) {
  out += groups()[groupOf(ref)].label;
  out += separator;
  out += item(ref).label;
}

const std::string& reportLabel(ItemRef ref) {
  // Every line of every settings list has one: made once.
  static const auto labels = [] {
    std::array<std::vector<std::string>, 3> byScope;  // in the order of Scope
    for (Scope scope : {Scope::Paper, Scope::Common, Scope::Interface}) {
      for (const Item& it : itemsOf(scope)) {
        std::string label = "　";
        label += it.pageCaption();
        label.append(static_cast<std::size_t>(it.reportTabs), '\t');
        byScope[static_cast<std::size_t>(scope)].push_back(std::move(label));
      }
    }
    return byScope;
  }();
  return labels[static_cast<std::size_t>(ref.scope)][ref.index];
}

int interfaceKeyIndex(int item, int octet) {
  for (int i = 0; i < kInterfaceKeyCount; ++i)
    if (kInterfaceKeys[i].item == item &&
        (kInterfaceKeys[i].octet < 0 || kInterfaceKeys[i].octet == octet))
      return i;
  return -1;
}

int marginSlotOfPaperItem(int paperItem) {
  auto it = std::find(kMarginPaperItems.begin(), kMarginPaperItems.end(), paperItem);
  return it == kMarginPaperItems.end() ? -1 : static_cast<int>(it - kMarginPaperItems.begin());
}

std::string_view marginDefault(int marginSlot) {
  return kPaper[kMarginPaperItems[marginSlot]].defaultText;
}

const std::array<int, kCommonItemCount>& commonStorageOrder() {
  static const std::array<int, kCommonItemCount> order = [] {
    std::array<int, kCommonItemCount> o{};
    for (int i = 0; i < kCommonItemCount; ++i) o[i] = i;
    std::swap(o[2], o[3]);    // CharMode, FormMode
    std::swap(o[21], o[22]);  // CharCode, CharPitch
    return o;
  }();
  return order;
}

const std::string& paperKey(int user, int item) {
  static const auto keys = buildPaperKeys();
  return keys[user * kPaperItemCount + item];
}

const std::string& commonKey(int user, int item) {
  static const auto keys = buildCommonKeys();
  return keys[user * kCommonItemCount + item];
}

const std::string& userNameKey(int user) {
  static const auto keys = [] {
    std::array<std::string, kUserCount> k;
    for (int u = 0; u < kUserCount; ++u) k[u] = "User" + std::to_string(u + 1);
    return k;
  }();
  return keys[user];
}

std::string defaultUserName(int user) {
  std::string name = "U";
  name += twoDigits(user + 1);
  return name;
}

const ValueList& selectUserList() { return SelectUser; }

std::string fullWidthNumber(int n) {
  static constexpr SV kDigits[] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
  std::string digits = std::to_string(n);
  std::string out;
  for (char c : digits) out += c == '-' ? std::string("－") : std::string(kDigits[c - '0']);
  return out;
}

std::string userCaption(int user) {
  // Every user record of a listing or report names its user: the usual ones are made once.
  static const auto captions = [] {
    std::array<std::string, kUserCount> texts;
    for (int u = 0; u < kUserCount; ++u) texts[u] = "ユーザー" + fullWidthNumber(u + 1);
    return texts;
  }();
  if (user >= 0 && user < kUserCount) return captions[user];
  return "ユーザー" + fullWidthNumber(user + 1);
}

const std::array<CheckNode, kCheckNodeCount>& checkNodes() {
  static const auto nodes = buildNodes();
  return nodes;
}

int checkNodeIndex(std::string_view key) {
  static const auto index = [] {
    std::unordered_map<std::string_view, int> map;
    const auto& nodes = checkNodes();
    for (int n = 0; n < kCheckNodeCount; ++n) map.emplace(nodes[n].key, n);
    return map;
  }();
  auto it = index.find(key);
  return it == index.end() ? -1 : it->second;
}

int paperItemNode(int user, int item) { return itemNode(user, {Scope::Paper, item}); }
int commonItemNode(int user, int item) { return itemNode(user, {Scope::Common, item}); }
int interfaceItemNode(int item) { return itemNode(-1, {Scope::Interface, item}); }

std::span<const int> checkNodesInSaveOrder() {
  static const auto order = buildSaveOrderNodes();
  return order;
}

std::span<const ValueKey> valueKeysInSaveOrder() {
  static const auto keys = buildValueKeys();
  return keys;
}

}  // namespace drovik::catalogue
