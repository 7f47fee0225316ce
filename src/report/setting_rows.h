// Every setting of a profile as one row, in the settings tree's order and named as the tree
// names it, with its display text, its include flag and the keys that store it. The profile
// comparison and drovik-cli's JSON output read the same rows, so a setting has one name
// everywhere.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "command/value_codes.h"
#include "files/status.h"
#include "model/catalogue.h"
#include "model/profile.h"

namespace drovik {

// A loaded profile and how its model type has the printer read it.
struct ComparedProfile {
  const SettingProfile& values;
  const CheckFlagSet& flags;
  CommandVariant variant;  // variantOf(model type)
};

// One setting as one profile holds it.
struct ComparedSetting {
  std::string text;       // display text; a choice outside its list reads "範囲外の値 N"
  bool included = false;  // the include flag of the settings tree
  friend bool operator==(const ComparedSetting&, const ComparedSetting&) = default;
};

// Where a setting sits in the settings tree.
struct SettingLabel {
  int user = -1;             // whose setting it is, -1 profile-wide
  bool namedByUser = false;  // the user's caption is part of its name ("ユーザー３")
  std::string_view group;  // the enclosing tree node: "フロントトラクタ", "ユーザー名登録"
  std::string_view item;  // the tree label: "用紙長さ", "ユーザー３の名前"
};

// The tree's name of the setting a stored key belongs to; the four keys of an address share
// the address's name.
SettingLabel LabelOfKey(const catalogue::ValueKey& key);

struct SettingRow {
  SettingLabel label;
  ComparedSetting setting;
  std::vector<catalogue::ValueKey> keys;  // in save order; an address has one per octet
};

// The profile's settings as `reading` sees them: the old models every setting (initial user,
// user names, the ten users' items, interface and network); the M model only its initial
// user's items that the M command carries, with the M texts. Fails where the value codes do
// (an M reading whose initial user is none of the ten).
Result<std::vector<SettingRow>> ReadSettingRows(const ComparedProfile& profile,
                                                CommandVariant reading);

}  // namespace drovik
