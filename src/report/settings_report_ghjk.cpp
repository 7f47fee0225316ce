#include <string>
#include <string_view>

#include "model/catalogue.h"
#include "report/report_text.h"
#include "report/settings_report_layouts.h"

namespace drovik {
namespace {

namespace cat = catalogue;

constexpr std::string_view kSelectUserLabel = "　初期ユーザー設定\t";

// The settings list in the settings tree's order: each group under its heading, with the
// groups it encloses after its own items.
class GhjkReport {
 public:
  GhjkReport(const CheckFlagSet& flags, const DisplayTexts& texts) : flags_(flags), texts_(texts) {}

  std::string build() {
    userSettings();
    for (int user = 0; user < cat::kUserCount; ++user) userBlock(user);
    topLevelGroups(cat::kUserGroupCount, cat::kGroupCount, -1);
    return out_.take();
  }

 private:
  bool itemIncluded(const cat::Group& group, int user, int k) const {
    return flags_.included(group.itemNode(user, k));
  }

  // Whether the group or a group it encloses has an included item.
  bool anyIncluded(int g, int user) const {
    const cat::Group& group = cat::groups()[g];
    for (int k = 0; k < group.count; ++k)
      if (itemIncluded(group, user, k)) return true;
    for (int child = g + 1; child < cat::kGroupCount; ++child)
      if (cat::groups()[child].parent == g && anyIncluded(child, user)) return true;
    return false;
  }

  std::string text(const cat::Group& group, int user, int k) const {
    const int item = group.first + k;
    switch (group.scope) {
      case cat::Scope::Paper:
        return texts_.paper[user][item];
      case cat::Scope::Common:
        return texts_.common[user][item];
      case cat::Scope::Interface:
        break;
    }
    if (cat::interfaceItems()[item].kind != cat::ValueKind::Octet)
      return texts_.iface[cat::interfaceKeyIndex(item, -1)];
    std::string address;
    for (int octet = 0; octet < 4; ++octet) {
      if (octet > 0) address += '.';
      address += texts_.iface[cat::interfaceKeyIndex(item, octet)];
    }
    return address;
  }

  void groupLines(int g, int user) {
    if (!anyIncluded(g, user)) return;
    const cat::Group& group = cat::groups()[g];
    out_.heading(group.heading());
    for (int k = 0; k < group.count; ++k) {
      if (!itemIncluded(group, user, k)) continue;
      const cat::ItemRef ref = group.ref(k);
      // The list has always ended on the error-display line without a line end.
      if (ref == cat::ItemRef{cat::Scope::Interface, cat::kErrDisp})
        out_.itemWithoutLineEnd(cat::reportLabel(ref), text(group, user, k));
      else
        out_.item(cat::reportLabel(ref), text(group, user, k));
    }
    for (int child = g + 1; child < cat::kGroupCount; ++child)
      if (cat::groups()[child].parent == g) groupLines(child, user);
  }

  // Groups [first, last) that no other group encloses.
  void topLevelGroups(int first, int last, int user) {
    for (int g = first; g < last; ++g)
      if (cat::groups()[g].parent < 0) groupLines(g, user);
  }

  void userSettings() {
    bool any = flags_.included(cat::kSelectUserNode);
    for (int user = 0; user < cat::kUserCount; ++user)
      any = any || flags_.included(cat::checkNode(cat::kNameBlock, user));
    if (!any) return;
    out_.heading("【ユーザー設定】");
    if (flags_.included(cat::kSelectUserNode)) out_.item(kSelectUserLabel, texts_.selectUser);
    for (int user = 0; user < cat::kUserCount; ++user)
      if (flags_.included(cat::checkNode(cat::kNameBlock, user)))
        out_.item("　" + cat::userCaption(user) + "\t\t", texts_.userName[user]);
    out_.emptyLine();
  }

  void userBlock(int user) {
    bool any = false;
    for (int g = 0; g < cat::kUserGroupCount; ++g) any = any || anyIncluded(g, user);
    if (!any) return;
    out_.heading("【" + cat::userCaption(user) + "の設定】");
    topLevelGroups(0, cat::kUserGroupCount, user);
    out_.emptyLine();
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
