#include "report/settings_report.h"

#include "report/settings_report_layouts.h"

namespace drovik {

Result<std::string> BuildSettingsReport(const SettingProfile& profile, const CheckFlagSet& flags,
                                        const DisplayTexts& texts, CommandVariant variant) {
  if (variant == CommandVariant::M) return BuildMSettingsReport(profile, flags, texts);
  return BuildGhjkSettingsReport(flags, texts);
}

}  // namespace drovik
