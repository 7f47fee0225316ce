// The settings list of a profile: every included setting with its display text, in the
// old-model or the M-model layout, as the settings window shows it. Lines end in CR LF.
#pragma once

#include <string>

#include "command/display_texts.h"
#include "command/value_codes.h"
#include "files/status.h"
#include "model/profile.h"

namespace drovik {

// Prints the texts as given; the caller has run the value codes of the same variant.
// Fails only for an M profile whose initial user is outside the ten users.
Result<std::string> BuildSettingsReport(const SettingProfile& profile, const CheckFlagSet& flags,
                                        const DisplayTexts& texts, CommandVariant variant);

// Runs the value codes of the variant, then builds the report from their texts.
Result<std::string> BuildSettingsReportFor(const SettingProfile& profile, const CheckFlagSet& flags,
                                           CommandVariant variant);

}  // namespace drovik
