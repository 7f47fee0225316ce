// The settings in which two profiles differ, named as the settings tree names them and shown
// with the display texts of the value codes. drovik-cli's diff and a comparison window show
// the same list.
//
// Two 8630-GHJK profiles compare whole: the initial user, the user names, every setting of
// the ten users and the interface settings. When either profile is an 8630-M profile, both
// are read as the M model reads them: each profile's own initial user, only the settings the
// M command carries, with the M texts. The question is then what an M printer would receive,
// so a GHJK profile and its migrated copy compare equal until the copy changes where the M
// model looks, and two values the M model treats alike (paper thickness "自動") are equal.
#pragma once

#include <string>
#include <vector>

#include "files/status.h"
#include "report/setting_rows.h"

namespace drovik {

struct SettingDifference {
  // Per-user settings: the user read on each side (they differ only in the M reading, when
  // the initial users differ); -1 for the initial user and the interface settings.
  int userA = -1;
  int userB = -1;
  std::string user;  // "ユーザー３", "ユーザー１／ユーザー３" (A's / B's), empty when none
  std::string group;  // the enclosing tree node: "フロントトラクタ", "ユーザー名登録"
  std::string item;   // the tree label: "用紙長さ", "ユーザー３の名前"
  ComparedSetting a;
  ComparedSetting b;
};

struct ProfileComparison {
  CommandVariant reading = CommandVariant::Ghjk;  // M: both read as the M model reads them
  std::vector<SettingDifference> differences;     // in settings-tree order
  bool equal() const { return differences.empty(); }
};

// The reading of a pair: the M model's when either profile is an M profile.
CommandVariant ComparisonReading(CommandVariant a, CommandVariant b);

// Every setting whose display text or include flag differs. Fails only in the M reading,
// for a profile whose initial user is none of the ten users.
Result<ProfileComparison> CompareProfiles(const ComparedProfile& a, const ComparedProfile& b);

// "ユーザー３ フロントトラクタ 用紙長さ: １１インチ → １２インチ"; a side whose include flag is
// off is marked "（対象外）", an empty text reads "（空欄）". No line end.
std::string DifferenceLine(const SettingDifference& difference);

// The setting's name in that line: "ユーザー３ フロントトラクタ 用紙長さ".
std::string DifferenceName(const SettingDifference& difference);

// A side's value as the line shows it, without the include mark: "（空欄）" when empty.
std::string ShownValue(const ComparedSetting& setting);

}  // namespace drovik
