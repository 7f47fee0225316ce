#include "cli/cli_support.h"
#include "cli/commands.h"
#include "command/image_dump.h"
#include "files/read_file.h"

namespace drovik::cli {

namespace {
// Far above the largest image; a bigger file is listed only up to this size.
constexpr std::size_t kMaxDumpBytes = 16 * 1024 * 1024;
}  // namespace

int runDump(const Args& args) {
  auto bytes = readFileUpTo(args.operands[0], kMaxDumpBytes);
  if (!bytes) return fail(bytes.message());
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes->data());
  const ImageInspection inspection = InspectCommandImage({data, bytes->size()});
  std::string listing = inspection.listing;
  if (!listing.empty() && listing.back() != '\n') listing += '\n';
  if (Status s = writeOutput(listing); !s) return fail(s.message());
  return inspection.wellFormed ? kExitOk : kExitFailure;
}

const Command kDumpCommand = {
    .name = "dump",
    .operands = {"FILE"},
    .usesDataFolder = false,
    .run = runDump,
};

}  // namespace drovik::cli
