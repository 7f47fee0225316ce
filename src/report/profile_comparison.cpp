#include "report/profile_comparison.h"

#include <string_view>

#include "command/record_layout.h"
#include "report/item_display_text.h"

namespace drovik {
namespace {

namespace cat = catalogue;

// One setting of one profile in the pair's reading, named by its place in the tree.
struct SettingRow {
  int user;          // whose setting it is, -1 profile-wide
  bool namedByUser;  // the user's caption is part of its name
  std::string_view group;
  std::string_view item;
  ComparedSetting setting;
};

std::int32_t storedChoice(const SettingProfile& values, int user, cat::ItemRef ref) {
  switch (ref.scope) {
    case cat::Scope::Paper:
      return values.paper[user].index[ref.index];
    case cat::Scope::Common:
      return values.common[user].index[ref.index];
    case cat::Scope::Interface:
      break;
  }
  return values.iface.choice(ref.index);
}

// The value codes leave no text for a choice outside its list; showing the stored number
// keeps two different unknown values from comparing equal and tells the operator why.
std::string choiceText(std::string text, std::int32_t stored) {
  if (!text.empty()) return text;
  return "範囲外の値 " + std::to_string(stored);
}

// The settings of one profile in tree order, as the reading sees them.
class SettingReader {
 public:
  SettingReader(const ComparedProfile& profile, const DisplayTexts& texts)
      : profile_(profile), texts_(texts) {}

  std::vector<SettingRow> whole() && {
    const auto& nodes = cat::checkNodes();
    rows_.push_back({-1,
                     false,
                     nodes[cat::kUserSettingNode].label,
                     nodes[cat::kSelectUserNode].label,
                     {choiceText(texts_.selectUser, profile_.values.selectUser),
                      included(cat::kSelectUserNode)}});
    for (int user = 0; user < cat::kUserCount; ++user) {
      const int node = cat::checkNode(cat::kNameBlock, user);
      rows_.push_back({user,
                       false,
                       nodes[cat::kUserNameSettingNode].label,
                       nodes[node].label,
                       {texts_.userName[user], included(node)}});
    }
    for (int user = 0; user < cat::kUserCount; ++user) userGroups(user, false);
    for (int g = cat::kUserGroupCount; g < cat::kGroupCount; ++g) groupItems(g, -1, false);
    return std::move(rows_);
  }

  // Only the initial user, and only what the M command carries.
  std::vector<SettingRow> asMModelReads() && {
    userGroups(profile_.values.selectUser, true);
    return std::move(rows_);
  }

 private:
  bool included(int node) const { return profile_.flags.included(node); }

  // Groups come in tree order: an enclosed group follows the one that encloses it.
  void userGroups(int user, bool mOnly) {
    for (int g = 0; g < cat::kUserGroupCount; ++g) groupItems(g, user, mOnly);
  }

  static bool mCarries(cat::ItemRef ref) {
    return ref.scope == cat::Scope::Paper ? layout::mCarriesPaperItem(ref.index)
                                          : layout::mCarriesCommonItem(ref.index);
  }

  void groupItems(int g, int user, bool mOnly) {
    const cat::Group& group = cat::groups()[g];
    for (int k = 0; k < group.count; ++k) {
      const cat::ItemRef ref = group.ref(k);
      if (mOnly && !mCarries(ref)) continue;
      const cat::Item& def = cat::item(ref);
      std::string text = ItemDisplayText(texts_, user, ref);
      if (def.kind == cat::ValueKind::Choice)
        text = choiceText(std::move(text), storedChoice(profile_.values, user, ref));
      rows_.push_back({group.perUser() ? user : -1,
                       group.perUser(),
                       group.label,
                       def.label,
                       {std::move(text), included(group.itemNode(user, k))}});
    }
  }

  const ComparedProfile& profile_;
  const DisplayTexts& texts_;
  std::vector<SettingRow> rows_;
};

Result<std::vector<SettingRow>> readSettings(const ComparedProfile& profile,
                                             CommandVariant reading) {
  Result<ValueCodes> codes = ApplyValueCodes(profile.values, profile.flags, reading);
  if (!codes) return codes.error();
  SettingReader reader(profile, codes->texts);
  if (reading == CommandVariant::M) return std::move(reader).asMModelReads();
  return std::move(reader).whole();
}

std::string userName(const SettingRow& a, const SettingRow& b) {
  if (!a.namedByUser) return {};
  if (a.user == b.user) return cat::userCaption(a.user);
  return cat::userCaption(a.user) + "／" + cat::userCaption(b.user);
}

std::string sideText(const ComparedSetting& setting) {
  std::string text = ShownValue(setting);
  if (!setting.included) text += "（対象外）";
  return text;
}

}  // namespace

std::string ShownValue(const ComparedSetting& setting) {
  return setting.text.empty() ? "（空欄）" : setting.text;
}

CommandVariant ComparisonReading(CommandVariant a, CommandVariant b) {
  return a == CommandVariant::M || b == CommandVariant::M ? CommandVariant::M
                                                          : CommandVariant::Ghjk;
}

Result<ProfileComparison> CompareProfiles(const ComparedProfile& a, const ComparedProfile& b) {
  ProfileComparison comparison;
  comparison.reading = ComparisonReading(a.variant, b.variant);
  auto rowsA = readSettings(a, comparison.reading);
  if (!rowsA) return Error{"比較元の設定: " + rowsA.message()};
  auto rowsB = readSettings(b, comparison.reading);
  if (!rowsB) return Error{"比較先の設定: " + rowsB.message()};
  // One reading gives both profiles the same rows in the same order.
  for (std::size_t i = 0; i < rowsA->size(); ++i) {
    const SettingRow& rowA = (*rowsA)[i];
    const SettingRow& rowB = (*rowsB)[i];
    if (rowA.setting == rowB.setting) continue;
    comparison.differences.push_back({rowA.user, rowB.user, userName(rowA, rowB),
                                      std::string(rowA.group), std::string(rowA.item), rowA.setting,
                                      rowB.setting});
  }
  return comparison;
}

std::string DifferenceName(const SettingDifference& difference) {
  std::string name;
  for (const std::string* part : {&difference.user, &difference.group, &difference.item}) {
    if (part->empty()) continue;
    if (!name.empty()) name += ' ';
    name += *part;
  }
  return name;
}

std::string DifferenceLine(const SettingDifference& difference) {
  return DifferenceName(difference) + ": " + sideText(difference.a) + " → " +
         sideText(difference.b);
}

}  // namespace drovik
