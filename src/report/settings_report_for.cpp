// Kept apart so that the report itself needs only the display texts, not the coding.
#include "report/settings_report.h"

namespace drovik {

Result<std::string> BuildSettingsReportFor(const SettingProfile& profile, const CheckFlagSet& flags,
                                           CommandVariant variant) {
  const Result<ValueCodes> codes = ApplyValueCodes(profile, flags, variant);
  if (!codes) return codes.error();
  return BuildSettingsReport(profile, flags, codes->texts, variant);
}

}  // namespace drovik
