// What saving and sending a profile's command share: code a loaded profile's values in the
// variant of its model type and assemble the image.
#pragma once

#include <string>
#include <vector>

#include "command/command_image.h"
#include "command/value_codes.h"
#include "model/profile.h"

namespace drovik {

struct PreparedCommand {
  CommandVariant variant;
  CommandImage image;
  std::vector<std::string> warnings;  // stored values outside their tables
};

// Codes the model's values in `variant` and builds the image.
Result<PreparedCommand> prepareCommand(const ProfileModel& model, CommandVariant variant);

}  // namespace drovik
