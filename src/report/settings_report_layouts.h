// The two layouts of the settings list, for callers that already know the model type.
// Both print only included items, with the display texts exactly as given.
#pragma once

#include <string>

#include "command/display_texts.h"
#include "files/status.h"
#include "model/profile.h"

namespace drovik {

// Old models: the user block, each user's block, the interface block. Empty when
// nothing is included.
std::string BuildGhjkSettingsReport(const CheckFlagSet& flags, const DisplayTexts& texts);

// M model: only the initial user (profile.selectUser). Fails when that index names no
// user, rather than reading another user's flags or texts.
Result<std::string> BuildMSettingsReport(const SettingProfile& profile, const CheckFlagSet& flags,
                                         const DisplayTexts& texts);

}  // namespace drovik
