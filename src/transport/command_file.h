// A profile's command saved as a file ("名前を付けて保存", drovik-cli generate -o, a fleet row's
// archive): the delivery to a command-file target.
#pragma once

#include <filesystem>
#include <string>

#include "command/command_preparation.h"
#include "service/profile_service.h"

namespace drovik::transport {

// Reloads the profile `name`, builds its command image and writes it to `file` all or nothing
// (temporary file and rename), and records the delivery in the history (a write that failed
// too). Returns the prepared command (image, warnings). A read-only folder takes no command
// file either.
Result<PreparedCommand> writeCommandFile(const ProfileService& service, ProfileModel& model,
                                         const std::string& name,
                                         const std::filesystem::path& file);

}  // namespace drovik::transport
