#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "report/report_labels.h"
#include "report/report_text.h"
#include "report/settings_report_layouts.h"

namespace drovik {
namespace {

namespace cat = catalogue;
namespace labels = report_labels;

// The M model groups the old items differently, so its lines name the items they show.
struct MLine {
  std::string_view label;
  std::string_view item;  // catalogue item name
};

// The M model has a sheet feeder at the front and at the rear; both follow AsfEject.
constexpr MLine kDeviceLines[] = {
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

constexpr MLine kMarginLines[] = {
    {"　手差しトップマージン\t", "TopMCutUpper"},
    {"　Ｆトラクタトップマージン\t", "TopMFront"},
    {"　Ｒトラクタトップマージン\t", "TopMRear"},
};

// Where an item lives in the profile: its record and position there.
struct ItemRef {
  bool paper;
  int index;
};

std::optional<ItemRef> findItem(std::string_view name) {
  const auto paper = cat::paperItems();
  for (int i = 0; i < static_cast<int>(paper.size()); ++i)
    if (paper[i].name == name) return ItemRef{true, i};
  const auto common = cat::commonItems();
  for (int i = 0; i < static_cast<int>(common.size()); ++i)
    if (common[i].name == name) return ItemRef{false, i};
  return std::nullopt;
}

class MReport {
 public:
  MReport(int user, const CheckFlagSet& flags, const DisplayTexts& texts)
      : user_(user), flags_(flags), texts_(texts) {}

  std::string build() {
    out_.heading("8630-Mモデルへの移行設定");
    out_.heading("【装置機能設定】");
    if (!anyIncluded()) return out_.take();
    namedLines(kDeviceLines);
    out_.emptyLine();
    out_.heading("【マージン設定】");
    namedLines(kMarginLines);
    out_.emptyLine();
    out_.heading("【8630 設定】");
    commonLines(labels::k8630First, labels::k8630Count);
    out_.emptyLine();
    out_.heading("【ESC/P 設定】");
    commonLines(labels::kEscpFirst, labels::kEscpCount);
    return out_.take();
  }

 private:
  bool included(ItemRef ref) const {
    return flags_.included(ref.paper ? cat::paperItemNode(user_, ref.index)
                                     : cat::commonItemNode(user_, ref.index));
  }

  const std::string& text(ItemRef ref) const {
    return ref.paper ? texts_.paper[user_][ref.index] : texts_.common[user_][ref.index];
  }

  bool anyIncluded(std::span<const MLine> lines) const {
    for (const MLine& line : lines) {
      const auto ref = findItem(line.item);
      if (ref && included(*ref)) return true;
    }
    return false;
  }

  bool anyIncludedCommon(int first, int count) const {
    for (int i = first; i < first + count; ++i)
      if (included({false, i})) return true;
    return false;
  }

  bool anyIncluded() const {
    return anyIncluded(kDeviceLines) || anyIncluded(kMarginLines) ||
           anyIncludedCommon(labels::k8630First, labels::k8630Count) ||
           anyIncludedCommon(labels::kEscpFirst, labels::kEscpCount);
  }

  void namedLines(std::span<const MLine> lines) {
    for (const MLine& line : lines) {
      const auto ref = findItem(line.item);
      if (ref && included(*ref)) out_.item(line.label, text(*ref));
    }
  }

  // The emulation lines read as in the old-model list.
  void commonLines(int first, int count) {
    for (int i = first; i < first + count; ++i)
      if (included({false, i})) out_.item(labels::kCommon[i], texts_.common[user_][i]);
  }

  int user_;
  const CheckFlagSet& flags_;
  const DisplayTexts& texts_;
  ReportText out_;
};

}  // namespace

Result<std::string> BuildMSettingsReport(const SettingProfile& profile, const CheckFlagSet& flags,
                                         const DisplayTexts& texts) {
  // A hand-edited settings file can hold any number here; it must not pick a table row.
  if (profile.selectUser < 0 || profile.selectUser >= cat::kUserCount)
    return Error{"初期ユーザーの値 " + std::to_string(profile.selectUser) +
                 " が範囲外のため、８６３０－Ｍの設定一覧を作成できません。"};
  return MReport(profile.selectUser, flags, texts).build();
}

}  // namespace drovik
