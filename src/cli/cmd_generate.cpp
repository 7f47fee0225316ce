#include <iostream>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "command/command_preparation.h"

namespace drovik::cli {

int runGenerate(const Args& args) {
  const auto output = args.option("-o");
  if (!expectOperands(args, 1, "[--data-dir DIR] generate NAME -o FILE")) return kExitUsage;
  if (!output) {
    reportError("出力ファイルを -o FILE で指定してください。");
    return kExitUsage;
  }
  auto profile = openNamedProfile(args, args.operands[0]);
  if (!profile) {
    reportError(profile.message());
    return kExitFailure;
  }
  auto prepared = prepareCommand(profile->store, profile->model, profile->slot);
  if (!prepared) {
    reportError(prepared.message());
    return kExitFailure;
  }
  printWarnings(prepared->warnings);
  const auto& bytes = prepared->image.bytes;
  const std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (Status s = writeBinaryFile(*output, view); !s) {
    reportError(s.message());
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace drovik::cli
