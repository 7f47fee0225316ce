#include "report/setting_rows.h"

#include "command/record_layout.h"
#include "report/item_display_text.h"

namespace drovik {
namespace {

namespace cat = catalogue;

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

SettingLabel itemLabel(int user, cat::ItemRef ref) {
  const cat::Group& group = cat::groups()[cat::groupOf(ref)];
  return {group.perUser() ? user : -1, group.perUser(), group.label, cat::item(ref).label};
}

std::vector<cat::ValueKey> keysOfItem(int user, cat::ItemRef ref) {
  switch (ref.scope) {
    case cat::Scope::Paper:
      return {{cat::paperKey(user, ref.index), cat::KeyKind::Paper, user, ref.index}};
    case cat::Scope::Common:
      return {{cat::commonKey(user, ref.index), cat::KeyKind::Common, user, ref.index}};
    case cat::Scope::Interface:
      break;
  }
  std::vector<cat::ValueKey> keys;
  const auto all = cat::interfaceKeys();
  for (int k = 0; k < static_cast<int>(all.size()); ++k)
    if (all[k].item == ref.index) keys.push_back({all[k].key, cat::KeyKind::Interface, -1, k});
  return keys;
}

// The settings of one profile in tree order, as the reading sees them.
class SettingReader {
 public:
  SettingReader(const ComparedProfile& profile, const DisplayTexts& texts)
      : profile_(profile), texts_(texts) {}

  std::vector<SettingRow> whole() && {
    keyed({cat::kSelectUserKey, cat::KeyKind::SelectUser, -1, -1},
          {choiceText(texts_.selectUser, profile_.values.selectUser),
           included(cat::kSelectUserNode)});
    for (int user = 0; user < cat::kUserCount; ++user)
      keyed({cat::userNameKey(user), cat::KeyKind::UserName, user, -1},
            {texts_.userName[user], included(cat::checkNode(cat::kNameBlock, user))});
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

  void keyed(const cat::ValueKey& key, ComparedSetting setting) {
    rows_.push_back({LabelOfKey(key), std::move(setting), {key}});
  }

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
      std::string text = ItemDisplayText(texts_, user, ref);
      if (cat::item(ref).kind == cat::ValueKind::Choice)
        text = choiceText(std::move(text), storedChoice(profile_.values, user, ref));
      rows_.push_back({itemLabel(user, ref),
                       {std::move(text), included(group.itemNode(user, k))},
                       keysOfItem(user, ref)});
    }
  }

  const ComparedProfile& profile_;
  const DisplayTexts& texts_;
  std::vector<SettingRow> rows_;
};

}  // namespace

SettingLabel LabelOfKey(const cat::ValueKey& key) {
  const auto& nodes = cat::checkNodes();
  switch (key.kind) {
    case cat::KeyKind::SelectUser:
      return {-1, false, nodes[cat::kUserSettingNode].label, nodes[cat::kSelectUserNode].label};
    case cat::KeyKind::UserName:
      return {key.user, false, nodes[cat::kUserNameSettingNode].label,
              nodes[cat::checkNode(cat::kNameBlock, key.user)].label};
    case cat::KeyKind::Paper:
      return itemLabel(key.user, {cat::Scope::Paper, key.index});
    case cat::KeyKind::Common:
      return itemLabel(key.user, {cat::Scope::Common, key.index});
    case cat::KeyKind::Interface:
      break;
  }
  return itemLabel(-1, {cat::Scope::Interface, cat::interfaceKeys()[key.index].item});
}

Result<std::vector<SettingRow>> ReadSettingRows(const ComparedProfile& profile,
                                                CommandVariant reading) {
  Result<ValueCodes> codes = ApplyValueCodes(profile.values, profile.flags, reading);
  if (!codes) return codes.error();
  SettingReader reader(profile, codes->texts);
  if (reading == CommandVariant::M) return std::move(reader).asMModelReads();
  return std::move(reader).whole();
}

}  // namespace drovik
