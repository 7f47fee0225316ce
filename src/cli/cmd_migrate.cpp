#include "cli/cli_support.h"
#include "cli/commands.h"
#include "cli/profile_report.h"

namespace drovik::cli {

int runMigrate(const Args& args) {
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

const Command kMigrateCommand = {
    .name = "migrate",
    .operands = {"SOURCE", "NEWNAME"},
    .options = {{"--yes", "", "NEWNAME がすでにあれば上書きします"}},
    .run = runMigrate,
};

}  // namespace drovik::cli
