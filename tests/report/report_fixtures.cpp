#include "report/report_fixtures.h"

#include <gtest/gtest.h>

#include <map>

#include "model/catalogue.h"
#include "support/temp_dir.h"

namespace drovik::report_test {
namespace {

namespace cat = catalogue;

// A golden layout of tests/data/report with "{Item}" for each value and "{N}" for the user
// number in full-width digits.
std::string expandLayout(std::string_view file, int user, const TextOf& text) {
  const std::string layout =
      test::readFile(std::filesystem::path(DROVIK_TEST_DATA_DIR) / "report" / std::string(file));
  EXPECT_FALSE(layout.empty()) << file;
  std::string out;
  for (std::size_t i = 0; i < layout.size();) {
    const std::size_t open = layout.find('{', i);
    const std::size_t close = layout.find('}', open);
    if (open == std::string::npos || close == std::string::npos) {
      out += layout.substr(i);
      break;
    }
    out += layout.substr(i, open - i);
    const std::string name = layout.substr(open + 1, close - open - 1);
    out += name == "N" ? fullWidth(user) : text(user, name);
    i = close + 1;
  }
  return out;
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
  for (int g = 0; g < cat::kUserGroupCount; ++g)
    for (int k = 0; k < cat::groups()[g].count; ++k)
      flags.state[cat::groups()[g].itemNode(user - 1, k)] = 1;
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
  return expandLayout("ghjk_user_block.txt", user, text);
}

std::string ghjkInterfaceBlock(const TextOf& text) {
  return expandLayout("ghjk_interface_block.txt", 0, text);
}

std::string mFullReport(int user, const TextOf& text) {
  return expandLayout("m_full_report.txt", user, text);
}

}  // namespace drovik::report_test
