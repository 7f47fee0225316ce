// What the program builds from a profile that came from outside (a settings file, an NVRAM
// image): the command of each model and the settings list.
#pragma once

#include "command/command_preparation.h"
#include "command/value_codes.h"
#include "model/profile.h"

namespace drovik::fuzz {

// Builds both in the variant and checks that a command built is one the dump finds nothing
// wrong with.
void checkCommandAndReport(const ProfileModel& model, CommandVariant variant);

// The same checks of a command as a save or send prepared it from the model, without
// building it again.
void checkPreparedCommand(const ProfileModel& model, const PreparedCommand& command);

}  // namespace drovik::fuzz
