#include "cli/cli_support.h"
#include "cli/commands.h"
#include "cli/profile_report.h"

namespace drovik::cli {

int runReport(const Args& args) {
  auto paths = dataPaths(args);
  if (!paths) return fail(paths.message());
  if (Status s = printReport(ProfileService(*paths), args.operands[0], args.has("--json")); !s)
    return fail(s.message());
  return kExitOk;
}

const Command kReportCommand = {
    .name = "report",
    .operands = {"NAME"},
    .options = {{"--json", "", "JSON で出力します"}},
    .run = runReport,
};

}  // namespace drovik::cli
