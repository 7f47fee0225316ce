#include "cli/cli_support.h"
#include "cli/commands.h"

namespace drovik::cli {

int runList(const Args& args) {
  if (!expectOperands(args, 0, "[--data-dir DIR] list")) return kExitUsage;
  auto paths = dataPaths(args);
  if (!paths) return fail(paths.message());
  auto slots = ProfileService(*paths).readSlots();
  if (!slots) return fail(slots.message());
  std::string out;
  for (const ProfileSlot& slot : *slots) {
    if (!slot.registered()) continue;
    out += slot.name + '\t' + slot.initialUserText + '\t' + slot.userName + '\t' +
           slot.modelType + '\n';
  }
  if (Status s = writeOutput(out); !s) return fail(s.message());
  return kExitOk;
}

}  // namespace drovik::cli
