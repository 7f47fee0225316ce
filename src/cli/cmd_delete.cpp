#include "cli/cli_support.h"
#include "cli/commands.h"

namespace drovik::cli {

int runDelete(const Args& args) {
  auto paths = dataPaths(args);
  if (!paths) return fail(paths.message());
  if (Status s = ProfileService(*paths).deleteProfile(args.operands[0]); !s)
    return fail(s.message());
  return kExitOk;
}

const Command kDeleteCommand = {
    .name = "delete",
    .operands = {"NAME"},
    .run = runDelete,
};

}  // namespace drovik::cli
