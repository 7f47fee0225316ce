#include "model/catalogue.h"

#include <algorithm>
#include <unordered_map>

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

constexpr Item choice(SV name, SV label, const ValueList& list, int def) {
  return {name, label, ValueKind::Choice, &list, def, {}};
}
constexpr Item margin(SV name, SV label, SV def) {
  return {name, label, ValueKind::Margin, nullptr, 0, def};
}

const Item kPaper[kPaperItemCount] = {
    choice("FormLenFront", "用紙長さ", FormLen, 13),
    choice("LinePitchFront", "改行幅", LinePitch, 4),
    choice("PrintSpeedFront", "印字速度", Speed, 0),
    choice("LineLenFront", "印字幅", LineLen, 1),
    choice("AgaFront", "紙厚設定", Aga, 1),
    choice("SkpPrfFront", "ミシン目スキップ", NoYes, 0),
    choice("PrDirFront", "片方向印字", Accept, 1),
    choice("SpRocketFront", "紙ホチキス", SpRocket, 1),
    choice("TearOffFront", "ティアオフ", TearOff, 0),
    choice("GraphFront", "グラフィック強化", Enhance, 0),
    choice("CopyEnhFront", "コピー強化", Enhance, 0),
    margin("TopMFront", "トップマージン", "8.5"),
    choice("RenPressFront", "連続紙押さえ", NormalSpecial, 0),
    choice("ChgStepRollerFront", "ローラー踏み替え", RollerFront, 0),
    choice("EofPrnFront", "ＥＯＦ印字", EofPrn, 0),
    choice("FormLenRear", "用紙長さ", FormLen, 13),
    choice("LinePitchRear", "改行幅", LinePitch, 4),
    choice("PrintSpeedRear", "印字速度", Speed, 0),
    choice("LineLenRear", "印字幅", LineLen, 1),
    choice("AgaRear", "紙厚設定", Aga, 1),
    choice("SkpPrfRear", "ミシン目スキップ", NoYes, 0),
    choice("PrDirRear", "片方向印字", Accept, 1),
    choice("SpRocketRear", "紙ホチキス", SpRocket, 1),
    choice("TearOffRear", "ティアオフ", TearOff, 0),
    choice("GraphRear", "グラフィック強化", Enhance, 0),
    choice("CopyEnhRear", "コピー強化", Enhance, 0),
    margin("TopMRear", "トップマージン", "8.5"),
    choice("RenPressRear", "連続紙押さえ", NormalSpecial, 0),
    choice("ChgStepRollerRear", "ローラー踏み替え", RollerRear, 0),
    choice("EofPrnRear", "ＥＯＦ印字", EofPrn, 0),
    choice("LinePitchCut", "改行幅", LinePitch, 4),
    choice("PrintSpeedCut", "印字速度", Speed, 0),
    choice("AgaCut", "紙厚設定", Aga, 1),
    choice("PrDirCut", "片方向印字", Accept, 1),
    choice("GraphCut", "グラフィック強化", Enhance, 0),
    choice("CopyEnhCut", "コピー強化", Enhance, 0),
    margin("TopMCutUpper", "↑送りトップマージン", "6.4"),
    margin("TopMCutLower", "↓送りトップマージン", "6.4"),
};

const Item kCommon[kCommonItemCount] = {
    choice("Emul", "エミュレーション", Emul, 0),
    choice("Buzzer", "ブザー", Buzzer, 0),
    choice("FormMode", "用紙モード", FormMode, 0),
    choice("CharMode", "キャラクターモード", CharMode, 0),
    choice("Smoothing", "スムージング", OffOn, 0),
    choice("AsfEject", "ＡＳＦ排出", UpDown, 0),
    choice("AsfAga", "ＡＳＦ紙厚", AsfAga, 1),
    choice("TearOffBack", "ティアオフ戻り", TearOffBack, 0),
    choice("AutoOnline", "自動オンライン", OnOff, 0),
    choice("PaperChgCmd", "用紙切替コマンド", PaperChgCmd, 0),
    choice("CheCheN", "／／ｎ／／モード", OnOff, 0),
    choice("Small", "縮小", NoYes, 0),
    choice("AgaHPos", "ＡＧＡ水平位置", AgaHPos, 0),
    choice("Ecomode", "ＥＣＯモード", OnOff, 1),
    choice("ImgWrap", "イメージ折り返し", Wrap, 1),
    choice("LevelE", "レベルＥ機能", SetClear, 0),
    choice("CodePage", "コードページ", CodePage, 0),
    choice("JpCharSet", "日本語文字セット", OldNew, 1),
    choice("Jis90", "９０年改訂", Jis90, 1),
    choice("HeiseiFont", "簡易平成書体", ClearSet, 0),
    choice("DefaultAnk", "デフォルトＡＮＫ", DefaultAnk, 1),
    choice("CharPitch", "文字ピッチ", CharPitch, 0),
    choice("CharCode", "文字コード", CharCode, 0),
    choice("InternationalChar", "国際文字", InternationalChar, 8),
    choice("AutoLf", "自動改行", AutoLf, 0),
    choice("HighFont", "高速文字品位", HighFont, 1),
    choice("LqQuality", "ＬＱ文字品位", LqQuality, 1),
    choice("InitCmd", "初期化コマンド", OnOff, 0),
    choice("TofFf", "ＴＯＦ改ページ", OnOff, 0),
};

const Item kInterface[kInterfaceItemCount] = {
    choice("IfSel", "Ｉ／Ｆ選択", IfSel, 0),
    {"IfChgTime", "Ｉ／Ｆ切り替え時間", ValueKind::Seconds, nullptr, 0, "30"},
    choice("Parallel", "パラレル設定", Parallel, 0),
    choice("DHCP", "ＤＨＣＰ設定", OffOn, 0),
    {"IPAddress", "ＩＰアドレス", ValueKind::Octet, nullptr, 0, "0"},
    {"SubnetMask", "サブネットマスク", ValueKind::Octet, nullptr, 0, "0"},
    {"DefaultGateway", "ゲートウェイアドレス", ValueKind::Octet, nullptr, 0, "0"},
    choice("ErrDisp", "エラー表示", OffOn, 0),
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

// Check-flag key stems of the 75 per-user blocks ("User3" + stem + "ChkFlag"), with the
// group labels; item blocks take their label from the item tables.
struct BlockDef {
  SV stem;
  SV groupLabel;  // empty for item blocks
};
constexpr SV kTractorStems[15] = {"FormLen", "LinePitch", "PrintSpeed", "LineLen",       "Aga",
                                  "SkpPrt",  "PrDir",     "SpRocket",   "TearOff",       "Graph",
                                  "CopyEnh", "TopMargin", "RenPress",   "ChgStepRoller", "EofPrt"};
constexpr SV kCutStems[8] = {"LinePitch", "PrintSpeed",     "Aga",           "PrDir", "Graph",
                             "CopyEnh",   "UpperTopMargin", "LowerTopMargin"};
constexpr SV kCommonStems[kCommonItemCount] = {
    "Emulation", "Buzzer",      "FormMode",   "CharMode",    "Smoothing", "AsfEject",
    "AsfAga",    "TearOffBack", "AutoOnline", "PaperChgCmd", "CheCheN",   "Small",
    "AgaHPos",   "Ecomode",     "ImgWrap",    "LevelE",      "CodePage",  "JpCharSet",
    "Jis90",     "HeiseiFont",  "DefaultAnk", "CharPitch",   "CharCode",  "InternationalChar",
    "AutoLf",    "HighFont",    "LqQuality",  "InitCmd",     "TofFf"};

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

// Per-user block b: what it is and what it covers.
struct BlockInfo {
  std::string stem;
  std::string label;
  int parentBlock;  // -1: the user node's parent is the profile root
  NodeRef ref;
  int item;
};

std::array<BlockInfo, 75> buildBlocks() {
  std::array<BlockInfo, 75> blocks;
  int b = 0;
  blocks[b++] = {"Name", "", -1, NodeRef::UserName, -1};
  blocks[b++] = {"", "", -1, NodeRef::Group, -1};
  auto addGroup = [&](SV stem, SV label, int parent) {
    blocks[b] = {std::string(stem), std::string(label), parent, NodeRef::Group, -1};
    return b++;
  };
  int front = addGroup("FrontTractor", "フロントトラクタ", kUserBlock);
  for (int i = 0; i < 15; ++i)
    blocks[b++] = {"FT" + std::string(kTractorStems[i]), std::string(kPaper[i].label), front,
                   NodeRef::Paper, i};
  int rear = addGroup("RearTractor", "リアトラクタ", kUserBlock);
  for (int i = 0; i < 15; ++i)
    blocks[b++] = {"RT" + std::string(kTractorStems[i]), std::string(kPaper[15 + i].label), rear,
                   NodeRef::Paper, 15 + i};
  int cut = addGroup("Cut", "単票", kUserBlock);
  for (int i = 0; i < 8; ++i)
    blocks[b++] = {"CT" + std::string(kCutStems[i]), std::string(kPaper[30 + i].label), cut,
                   NodeRef::Paper, 30 + i};
  int common = addGroup("CommonSetting", "共通設定", kUserBlock);
  for (int i = 0; i < 14; ++i)
    blocks[b++] = {std::string(kCommonStems[i]), std::string(kCommon[i].label), common,
                   NodeRef::Common, i};
  int emul8630 = addGroup("_8630Setting", "８６３０", common);
  for (int i = 14; i < 21; ++i)
    blocks[b++] = {std::string(kCommonStems[i]), std::string(kCommon[i].label), emul8630,
                   NodeRef::Common, i};
  int escp = addGroup("EscpSetting", "ＥＳＣ／Ｐ", common);
  for (int i = 21; i < 29; ++i)
    blocks[b++] = {std::string(kCommonStems[i]), std::string(kCommon[i].label), escp,
                   NodeRef::Common, i};
  return blocks;
}

std::array<CheckNode, kCheckNodeCount> buildNodes() {
  std::array<CheckNode, kCheckNodeCount> nodes;
  nodes[kUserSettingNode] = {"UserSettingChkFlag", "ユーザー設定", -1, -1, NodeRef::Group, -1};
  nodes[kSelectUserNode] = {
      "SelectUserChkFlag", "初期ユーザー選択", kUserSettingNode, -1, NodeRef::SelectUser, -1};
  nodes[kUserNameSettingNode] = {
      "UserNameSettingChkFlag", "ユーザー名登録", kUserSettingNode, -1, NodeRef::Group, -1};
  const auto blocks = buildBlocks();
  for (int b = 0; b < 75; ++b) {
    for (int u = 0; u < kUserCount; ++u) {
      const BlockInfo& info = blocks[b];
      CheckNode& node = nodes[checkNode(b, u)];
      node.key = "User" + std::to_string(u + 1) + info.stem + "ChkFlag";
      node.user = u;
      node.ref = info.ref;
      node.item = info.item;
      if (b == kNameBlock) {
        node.label = userCaption(u) + "の名前";
        node.parent = kUserNameSettingNode;
      } else if (b == kUserBlock) {
        node.label = userCaption(u);
        node.parent = kUserSettingNode;
      } else {
        node.label = info.label;
        node.parent = checkNode(info.parentBlock, u);
      }
    }
  }
  const int network = kInterfaceSettingNode + 4;
  nodes[kInterfaceSettingNode] = {
      "InterfaceSettingChkFlag", "Ｉ／Ｆ設定", -1, -1, NodeRef::Group, -1};
  auto iface = [&](int node, SV key, int parent, int item) {
    nodes[node] = {std::string(key),
                   std::string(kInterface[item].label),
                   parent,
                   -1,
                   NodeRef::Interface,
                   item};
  };
  iface(754, "IfSelChkFlag", kInterfaceSettingNode, kIfSel);
  iface(755, "IfChgTimeChkFlag", kInterfaceSettingNode, kIfChgTime);
  iface(756, "ParallelChkFlag", kInterfaceSettingNode, kParallel);
  nodes[network] = {
      "NetworkSettingChkFlag", "ネットワーク設定", kInterfaceSettingNode, -1, NodeRef::Group, -1};
  iface(758, "DhcpChkFlag", network, kDhcp);
  iface(759, "IpAddressChkFlag", network, kIpAddress);
  iface(760, "SubnetMaskChkFlag", network, kSubnetMask);
  iface(761, "DefaultGatewayChkFlag", network, kDefaultGateway);
  iface(762, "ErrDispChkFlag", network, kErrDisp);
  return nodes;
}

}  // namespace

std::span<const Item> paperItems() { return kPaper; }
std::span<const Item> commonItems() { return kCommon; }
std::span<const Item> interfaceItems() { return kInterface; }
std::span<const InterfaceKey> interfaceKeys() { return kInterfaceKeys; }

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

std::string userCaption(int user) { return "ユーザー" + fullWidthNumber(user + 1); }

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

int paperItemNode(int user, int item) {
  const int block = item < 15   ? kFrontTractorBlock + 1 + item
                    : item < 30 ? kRearTractorBlock + 1 + (item - 15)
                                : kCutBlock + 1 + (item - 30);
  return checkNode(block, user);
}

int commonItemNode(int user, int item) {
  const int block = item < 14   ? kCommonSettingBlock + 1 + item
                    : item < 21 ? k8630SettingBlock + 1 + (item - 14)
                                : kEscpSettingBlock + 1 + (item - 21);
  return checkNode(block, user);
}

int interfaceItemNode(int item) {
  static constexpr int kNodes[kInterfaceItemCount] = {754, 755, 756, 758, 759, 760, 761, 762};
  return kNodes[item];
}

}  // namespace drovik::catalogue
