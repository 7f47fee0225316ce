#include "profile_checks.h"

#include <string>
#include <unordered_set>

#include "command/command_image.h"
#include "command/image_dump.h"
#include "command/record_layout.h"
#include "fuzz_support.h"
#include "report/settings_report.h"

namespace drovik::fuzz {
namespace {

// The dump's verdict depends on the bytes alone, and most inputs build an image seen before
// (the default profile's above all, for every section the input lacks); listing a whole image
// costs far more than building it, so each distinct image is listed once per process.
void checkWellFormed(const CommandImage& image) {
  static std::unordered_set<std::string> seen;
  std::string bytes(image.bytes.begin(), image.bytes.end());
  if (seen.contains(bytes)) return;
  const ImageInspection inspection = InspectCommandImage(image.bytes);
  FUZZ_CHECK(inspection.wellFormed, inspection.listing);
  if (seen.size() >= 10000) seen.clear();  // bounds the memory of a long run
  seen.insert(std::move(bytes));
}

}  // namespace

void checkCommandAndReport(const ProfileModel& model, CommandVariant variant) {
  const Result<ValueCodes> codes = ApplyValueCodes(model.values, model.flags, variant);
  if (!codes) return;
  const CommandImage image =
      BuildCommandImage(*codes, model.flags, model.values.selectUser, variant);
  FUZZ_CHECK(image.bytes.size() == layout::kHeaderSize + codes->length, "length field");
  checkWellFormed(image);
  (void)BuildSettingsReport(model.values, model.flags, codes->texts, variant);
}

}  // namespace drovik::fuzz
