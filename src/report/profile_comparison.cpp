#include "report/profile_comparison.h"

namespace drovik {
namespace {

namespace cat = catalogue;

std::string userName(const SettingLabel& a, const SettingLabel& b) {
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
  auto rowsA = ReadSettingRows(a, comparison.reading);
  if (!rowsA) return Error{"比較元の設定: " + rowsA.message()};
  auto rowsB = ReadSettingRows(b, comparison.reading);
  if (!rowsB) return Error{"比較先の設定: " + rowsB.message()};
  // One reading gives both profiles the same rows in the same order.
  for (std::size_t i = 0; i < rowsA->size(); ++i) {
    const SettingRow& rowA = (*rowsA)[i];
    const SettingRow& rowB = (*rowsB)[i];
    if (rowA.setting == rowB.setting) continue;
    comparison.differences.push_back(
        {rowA.label.user, rowB.label.user, userName(rowA.label, rowB.label),
         std::string(rowA.label.group), std::string(rowA.label.item), rowA.setting, rowB.setting});
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
