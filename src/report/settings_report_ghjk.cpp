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

// A run of one user's items that shares one heading.
struct ItemGroup {
  std::string_view heading;
  bool paper;                                // paper-path items, else common items
  int first;                                 // catalogue position of the first item
  std::span<const std::string_view> labels;  // one per item of the run
  int count() const { return static_cast<int>(labels.size()); }
};

const ItemGroup kFrontTractor{"フロントトラクタ", true, labels::kFrontTractorFirst,
                              labels::kTractor};
const ItemGroup kRearTractor{"リアトラクタ", true, labels::kRearTractorFirst, labels::kTractor};
const ItemGroup kCut{"単票", true, labels::kCutFirst, labels::kCut};
const ItemGroup kCommon{
    "共通設定", false, labels::kCommonGroupFirst,
    std::span(labels::kCommon).subspan(labels::kCommonGroupFirst, labels::kCommonGroupCount)};
const ItemGroup k8630{"８６３０", false, labels::k8630First,
                      std::span(labels::kCommon).subspan(labels::k8630First, labels::k8630Count)};
const ItemGroup kEscp{"ＥＳＣ／Ｐ", false, labels::kEscpFirst,
                      std::span(labels::kCommon).subspan(labels::kEscpFirst, labels::kEscpCount)};

class GhjkReport {
 public:
  GhjkReport(const CheckFlagSet& flags, const DisplayTexts& texts) : flags_(flags), texts_(texts) {}

  std::string build() {
    userSettings();
    for (int user = 0; user < cat::kUserCount; ++user) userBlock(user);
    interfaceBlock();
    return out_.take();
  }

 private:
  bool itemIncluded(const ItemGroup& group, int user, int k) const {
    const int item = group.first + k;
    return flags_.included(group.paper ? cat::paperItemNode(user, item)
                                       : cat::commonItemNode(user, item));
  }

  bool anyIncluded(const ItemGroup& group, int user) const {
    for (int k = 0; k < group.count(); ++k)
      if (itemIncluded(group, user, k)) return true;
    return false;
  }

  const std::string& text(const ItemGroup& group, int user, int k) const {
    const int item = group.first + k;
    return group.paper ? texts_.paper[user][item] : texts_.common[user][item];
  }

  void lines(const ItemGroup& group, int user) {
    for (int k = 0; k < group.count(); ++k)
      if (itemIncluded(group, user, k)) out_.item(group.labels[k], text(group, user, k));
  }

  void groupWithHeading(const ItemGroup& group, int user) {
    if (!anyIncluded(group, user)) return;
    out_.heading(group.heading);
    lines(group, user);
  }

  void userSettings() {
    bool any = flags_.included(cat::kSelectUserNode);
    for (int user = 0; user < cat::kUserCount; ++user)
      any = any || flags_.included(cat::checkNode(cat::kNameBlock, user));
    if (!any) return;
    out_.heading("【ユーザー設定】");
    if (flags_.included(cat::kSelectUserNode)) out_.item(labels::kSelectUser, texts_.selectUser);
    for (int user = 0; user < cat::kUserCount; ++user)
      if (flags_.included(cat::checkNode(cat::kNameBlock, user)))
        out_.item("　" + cat::userCaption(user) + "\t\t", texts_.userName[user]);
    out_.emptyLine();
  }

  void userBlock(int user) {
    const bool common =
        anyIncluded(kCommon, user) || anyIncluded(k8630, user) || anyIncluded(kEscp, user);
    const bool paper = anyIncluded(kFrontTractor, user) || anyIncluded(kRearTractor, user) ||
                       anyIncluded(kCut, user);
    if (!common && !paper) return;
    out_.heading("【" + cat::userCaption(user) + "の設定】");
    groupWithHeading(kFrontTractor, user);
    groupWithHeading(kRearTractor, user);
    groupWithHeading(kCut, user);
    if (common) {
      // The common heading stands over its two emulation subgroups too.
      out_.heading(kCommon.heading);
      lines(kCommon, user);
      groupWithHeading(k8630, user);
      groupWithHeading(kEscp, user);
    }
    out_.emptyLine();
  }

  bool interfaceIncluded(int item) const { return flags_.included(cat::interfaceItemNode(item)); }

  std::string interfaceText(int item) const {
    if (cat::interfaceItems()[item].kind != cat::ValueKind::Octet)
      return texts_.iface[cat::interfaceKeyIndex(item, -1)];
    std::string address;
    for (int octet = 0; octet < 4; ++octet) {
      if (octet > 0) address += '.';
      address += texts_.iface[cat::interfaceKeyIndex(item, octet)];
    }
    return address;
  }

  void interfaceBlock() {
    bool any = false;
    bool network = false;
    for (int item = 0; item < cat::kInterfaceItemCount; ++item) {
      any = any || interfaceIncluded(item);
      network = network || (item >= cat::kDhcp && interfaceIncluded(item));
    }
    if (!any) return;
    out_.heading("【インターフェース設定】");
    for (int item = cat::kIfSel; item < cat::kDhcp; ++item)
      if (interfaceIncluded(item)) out_.item(labels::kInterface[item], interfaceText(item));
    if (!network) return;
    out_.heading("ネットワーク設定");
    for (int item = cat::kDhcp; item < cat::kErrDisp; ++item)
      if (interfaceIncluded(item)) out_.item(labels::kInterface[item], interfaceText(item));
    // The list has always ended on the error-display line without a line end.
    if (interfaceIncluded(cat::kErrDisp))
      out_.itemWithoutLineEnd(labels::kInterface[cat::kErrDisp], interfaceText(cat::kErrDisp));
  }

  const CheckFlagSet& flags_;
  const DisplayTexts& texts_;
  ReportText out_;
};

}  // namespace

std::string BuildGhjkSettingsReport(const CheckFlagSet& flags, const DisplayTexts& texts) {
  return GhjkReport(flags, texts).build();
}

}  // namespace drovik
