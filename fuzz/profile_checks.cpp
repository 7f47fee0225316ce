#include "profile_checks.h"

#include <array>
#include <functional>
#include <string_view>

#include "command/command_image.h"
#include "command/image_dump.h"
#include "command/record_layout.h"
#include "fuzz_support.h"
#include "report/settings_report.h"

namespace drovik::fuzz {
namespace {

// Whether the command of this image was checked before. The dump's verdict and the settings
// list depend on the command alone, and most inputs build one seen before (the default
// profile's above all, for every section the input lacks). A fixed table, one slot per hash
// value range, remembers the latest command of each slot: no allocation in the loop, which
// libFuzzer would take for a leak and run the input again to find out.
bool seenBefore(const CommandImage& image) {
  static std::array<std::size_t, 1 << 16> latest{};
  const std::string_view bytes(reinterpret_cast<const char*>(image.bytes.data()),
                               image.bytes.size());
  const std::size_t hash = std::hash<std::string_view>{}(bytes) | 1;  // 0 marks a free slot
  std::size_t& slot = latest[hash % latest.size()];
  if (slot == hash) return true;
  slot = hash;
  return false;
}

// Listing a whole image costs several times building it, and an input changes few values:
// one command in four, chosen by its bytes (so that a failing input fails again), is listed.
bool listedThisTime(const CommandImage& image) {
  std::size_t sum = 0;
  for (const std::uint8_t byte : image.bytes) sum = sum * 31 + byte;
  return sum % 4 == 0;
}

// The checks of a built command whose records take `length` bytes. The command was coded
// without the display texts, as a save or send codes it; the settings list takes those of the
// values coded again, only for a command not seen before, since coding them costs as much as
// the rest of a run.
void checkBuiltCommand(const ProfileModel& model, CommandVariant variant, const CommandImage& image,
                       std::size_t length) {
  FUZZ_CHECK(image.bytes.size() == layout::kHeaderSize + length, "length field");
  if (seenBefore(image)) return;
  if (listedThisTime(image)) {
    const ImageInspection inspection = InspectCommandImage(image.bytes);
    FUZZ_CHECK(inspection.wellFormed, inspection.listing);
  }
  const Result<ValueCodes> coded = ApplyValueCodes(model.values, model.flags, variant);
  FUZZ_CHECK(static_cast<bool>(coded), "a command's values could not be coded again");
  (void)BuildSettingsReport(model.values, model.flags, coded->texts, variant);
}

}  // namespace

void checkCommandAndReport(const ProfileModel& model, CommandVariant variant) {
  const Result<ValueCodes> codes =
      ApplyValueCodes(model.values, model.flags, variant, ValueTexts::Left);
  if (!codes) return;
  const CommandImage image =
      BuildCommandImage(*codes, model.flags, model.values.selectUser, variant);
  checkBuiltCommand(model, variant, image, codes->length);
}

void checkPreparedCommand(const ProfileModel& model, const PreparedCommand& command) {
  checkBuiltCommand(model, command.variant, command.image,
                    CommandLength(model.flags, model.values.selectUser, command.variant));
}

}  // namespace drovik::fuzz
