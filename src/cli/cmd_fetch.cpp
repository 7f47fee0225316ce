#include "cli/cli_support.h"
#include "cli/commands.h"
#include "cli/printer_images.h"

namespace drovik::cli {

int runFetch(const Args& args) {
  if (!expectOperands(args, 0,
                      "[--data-dir DIR] fetch --ip A.B.C.D [--base NAME] [--into NAME] [--json]"))
    return kExitUsage;
  auto address = printerAddress(args);
  if (!address) return fail(address.message(), kExitUsage);
  auto paths = dataPaths(args);
  if (!paths) return fail(paths.message());
  const ProfileService service(*paths);
  // A profile to start from must exist before the printer is asked.
  if (const auto base = args.option("--base")) {
    if (auto found = service.findProfile(*base); !found) return fail(found.message());
  }
  auto images = retrieveImages(service, *paths, *address);
  if (!images) return fail(images.message());
  // From here on it is decode-nvram on the fetched images: same decoders, output and saving.
  return decodeAndShow(args, *images);
}

}  // namespace drovik::cli
