#include <iostream>

#include "cli/cli_support.h"
#include "cli/commands.h"

namespace drovik::cli {

int runList(const Args& args) {
  if (!expectOperands(args, 0, "[--data-dir DIR] list")) return kExitUsage;
  auto store = openStore(args);
  if (!store) {
    reportError(store.message());
    return kExitFailure;
  }
  ProfileSlotTable slots;
  if (Status s = store->readAllSlots(slots); !s) {
    reportError(s.message());
    return kExitFailure;
  }
  for (const ProfileSlot& slot : slots) {
    if (!slot.registered()) continue;
    std::cout << slot.name << '\t' << slot.initialUserText << '\t' << slot.userName << '\t'
              << slot.modelType << '\n';
  }
  return kExitOk;
}

}  // namespace drovik::cli
