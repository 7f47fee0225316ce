#include "cli/profile_report.h"

#include "cli/cli_support.h"
#include "cli/json_output.h"
#include "report/settings_report.h"

namespace drovik::cli {

namespace {

// The settings the list shows (the included ones, in the layout's reading), one record each,
// named as the settings tree names them, with the stored text of each key.
Result<std::string> json(const ProfileModel& model, CommandVariant variant) {
  auto rows = ReadSettingRows({model.values, model.flags, variant}, variant);
  if (!rows) return rows.error();
  Json array = Json::array();
  for (const SettingRow& row : *rows) {
    if (!row.setting.included) continue;
    Json record = labelled(row.label);
    record["value"] = row.setting.text;
    Json stored = Json::object();
    for (const catalogue::ValueKey& key : row.keys) stored[key.key] = model.text.at(key);
    record["stored"] = std::move(stored);
    array.push_back(std::move(record));
  }
  return jsonText(array);
}

}  // namespace

Status printReport(const ProfileService& service, const std::string& name, bool asJson,
                   std::optional<CommandVariant> variant) {
  ProfileModel model;
  auto entry = service.loadProfile(model, name);
  if (!entry) return entry.status();
  const CommandVariant reading = variant.value_or(variantOf(entry->modelType));
  auto report =
      asJson ? json(model, reading) : BuildSettingsReportFor(model.values, model.flags, reading);
  if (!report) return report.status();
  return writeOutput(*report);
}

}  // namespace drovik::cli
