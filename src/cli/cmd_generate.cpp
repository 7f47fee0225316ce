#include "cli/cli_support.h"
#include "cli/commands.h"
#include "transport/command_file.h"

namespace drovik::cli {

int runGenerate(const Args& args) {
  const auto output = args.option("-o");
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

const Command kGenerateCommand = {
    .name = "generate",
    .operands = {"NAME"},
    .options = {{"-o", "FILE", "設定 NAME のコマンドを書き出すファイル", Presence::Required}},
    .run = runGenerate,
};

}  // namespace drovik::cli
