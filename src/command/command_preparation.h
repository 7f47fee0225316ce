// What saving and sending a profile's command share: reload the profile of a slot from
// the store, code its values in the variant of its model type and assemble the image.
#pragma once

#include <string>
#include <vector>

#include "command/command_image.h"
#include "command/value_codes.h"
#include "model/profile_store.h"

namespace drovik {

struct PreparedCommand {
  CommandVariant variant;
  CommandImage image;
  std::vector<std::string> warnings;  // stored values outside their tables
};

// Reloads slot `slot` into the model (edits not saved are dropped) and builds its image.
Result<PreparedCommand> prepareCommand(const ProfileStore& store, ProfileModel& model, int slot);
// The same from profile files already read.
Result<PreparedCommand> prepareCommand(const StoreEdit& files, ProfileModel& model, int slot);

}  // namespace drovik
