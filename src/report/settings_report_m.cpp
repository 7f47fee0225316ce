#include <span>
#include <string>
#include <string_view>

#include "model/catalogue.h"
#include "report/report_text.h"
#include "report/settings_report_layouts.h"

namespace drovik {
namespace {

namespace cat = catalogue;

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
    groupLines(cat::groups()[cat::k8630Group]);
    out_.emptyLine();
    out_.heading("【ESC/P 設定】");
    groupLines(cat::groups()[cat::kEscpGroup]);
    return out_.take();
  }

 private:
  bool included(cat::ItemRef ref) const { return flags_.included(cat::itemNode(user_, ref)); }

  const std::string& text(cat::ItemRef ref) const {
    return ref.scope == cat::Scope::Paper ? texts_.paper[user_][ref.index]
                                          : texts_.common[user_][ref.index];
  }

  bool anyIncluded(std::span<const MLine> lines) const {
    for (const MLine& line : lines) {
      const auto ref = cat::findItem(line.item);
      if (ref && included(*ref)) return true;
    }
    return false;
  }

  bool anyIncluded(const cat::Group& group) const {
    for (int k = 0; k < group.count; ++k)
      if (included(group.ref(k))) return true;
    return false;
  }

  bool anyIncluded() const {
    return anyIncluded(kDeviceLines) || anyIncluded(kMarginLines) ||
           anyIncluded(cat::groups()[cat::k8630Group]) ||
           anyIncluded(cat::groups()[cat::kEscpGroup]);
  }

  void namedLines(std::span<const MLine> lines) {
    for (const MLine& line : lines) {
      const auto ref = cat::findItem(line.item);
      if (ref && included(*ref)) out_.item(line.label, text(*ref));
    }
  }

  // The emulation lines read as in the old-model list.
  void groupLines(const cat::Group& group) {
    for (int k = 0; k < group.count; ++k)
      if (included(group.ref(k))) out_.item(cat::reportLabel(group.ref(k)), text(group.ref(k)));
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
