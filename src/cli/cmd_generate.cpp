#include "cli/cli_support.h"
#include "cli/commands.h"
#include "transport/command_file.h"

namespace drovik::cli {

int runGenerate(const Args& args) {
  const auto output = args.option("-o");
  if (!expectOperands(args, 1, "[--data-dir DIR] generate NAME -o FILE")) return kExitUsage;
  if (!output) return fail("出力ファイルを -o FILE で指定してください。", kExitUsage);
  auto paths = dataPaths(args);
  if (!paths) return fail(paths.message());
  ProfileModel model;
  auto written =
      transport::writeCommandFile(ProfileService(*paths), model, args.operands[0], *output);
  if (!written) return fail(written.message());
  printWarnings(written->warnings);
  return kExitOk;
}

}  // namespace drovik::cli
