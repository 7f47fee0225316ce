#include "profile_checks.h"

#include "command/command_image.h"
#include "command/image_dump.h"
#include "command/record_layout.h"
#include "fuzz_support.h"
#include "report/settings_report.h"

namespace drovik::fuzz {

void checkCommandAndReport(const ProfileModel& model, CommandVariant variant) {
  const Result<ValueCodes> codes = ApplyValueCodes(model.values, model.flags, variant);
  if (!codes) return;
  const CommandImage image =
      BuildCommandImage(*codes, model.flags, model.values.selectUser, variant);
  FUZZ_CHECK(image.bytes.size() == layout::kHeaderSize + codes->length, "length field");
  const ImageInspection inspection = InspectCommandImage(image.bytes);
  FUZZ_CHECK(inspection.wellFormed, inspection.listing);
  (void)BuildSettingsReport(model.values, model.flags, codes->texts, variant);
}

}  // namespace drovik::fuzz
