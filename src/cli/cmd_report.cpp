#include "cli/cli_support.h"
#include "cli/commands.h"
#include "report/settings_report.h"

namespace drovik::cli {

namespace {

// Loads the profile and prints its settings list in the given layout.
Status printReport(const ProfileService& service, const std::string& name,
                   std::optional<CommandVariant> variant = std::nullopt) {
  ProfileModel model;
  auto entry = service.loadProfile(model, name);
  if (!entry) return entry.status();
  auto report = BuildSettingsReportFor(model.values, model.flags,
                                       variant.value_or(variantOf(entry->modelType)));
  if (!report) return report.status();
  return writeOutput(*report);
}

}  // namespace

int runReport(const Args& args) {
  if (!expectOperands(args, 1, "[--data-dir DIR] report NAME")) return kExitUsage;
  auto paths = dataPaths(args);
  if (!paths) return fail(paths.message());
  if (Status s = printReport(ProfileService(*paths), args.operands[0]); !s)
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
  if (Status s = printReport(service, source, CommandVariant::M); !s) {
    return fail(
        "「" + newName +
            "」は８６３０－Ｍの設定として登録しましたが、設定一覧を出力できません: " + s.message(),
        kExitPartial);
  }
  return kExitOk;
}

}  // namespace drovik::cli
