#include "cli/cli_support.h"
#include "cli/commands.h"
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

// Loads the profile and prints its settings list in the given layout, or its records.
Status printReport(const ProfileService& service, const std::string& name, bool asJson,
                   std::optional<CommandVariant> variant = std::nullopt) {
  ProfileModel model;
  auto entry = service.loadProfile(model, name);
  if (!entry) return entry.status();
  const CommandVariant reading = variant.value_or(variantOf(entry->modelType));
  auto report =
      asJson ? json(model, reading) : BuildSettingsReportFor(model.values, model.flags, reading);
  if (!report) return report.status();
  return writeOutput(*report);
}

}  // namespace

int runReport(const Args& args) {
  if (!expectOperands(args, 1, "[--data-dir DIR] report NAME [--json]")) return kExitUsage;
  auto paths = dataPaths(args);
  if (!paths) return fail(paths.message());
  if (Status s = printReport(ProfileService(*paths), args.operands[0], args.has("--json")); !s)
    return fail(s.message());
  return kExitOk;
}

int runMigrate(const Args& args) {
  if (!expectOperands(args, 2, "[--data-dir DIR] migrate SOURCE NEWNAME [--yes]"))
    return kExitUsage;
  const std::string& source = args.operands[0];
  const std::string& newName = args.operands[1];
  if (Status s = validateProfileName(newName); !s) return fail(s.message(), kExitUsage);
  auto paths = dataPaths(args);
  if (!paths) return fail(paths.message());
  ProfileService service(*paths);
  auto migrated = service.migrateProfile(
      source, newName, args.has("--yes") ? OnExisting::Overwrite : OnExisting::Refuse);
  if (!migrated) return fail(registrationFailure(migrated.error(), newName));
  // The report describes the source as the M model will read it.
  if (Status s = printReport(service, source, false, CommandVariant::M); !s) {
    return fail(
        "「" + newName +
            "」は８６３０－Ｍの設定として登録しましたが、設定一覧を出力できません: " + s.message(),
        kExitPartial);
  }
  return kExitOk;
}

}  // namespace drovik::cli
