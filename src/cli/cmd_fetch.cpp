#include "cli/cli_support.h"
#include "cli/commands.h"
#include "cli/printer_images.h"
#include "nvram/nvram_decoder.h"

namespace drovik::cli {

int runFetch(const Args& args) {
  if (!expectOperands(args, 0, "[--data-dir DIR] fetch --ip A.B.C.D [--base NAME] [--into NAME]"))
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
  if (Status s = retrieveImages(service, *paths, *address); !s) return fail(s.message());

  // From here on it is decode-nvram on the fetched images: same decoders, output and saving.
  Args decode = args;
  decode.command = "decode-nvram";
  decode.options.erase("--ip");
  decode.options["--all"] = (paths->programDir / nvram::kAllImageFileName).string();
  decode.options["--nw"] = (paths->programDir / nvram::kNetworkImageFileName).string();
  return runDecodeNvram(decode);
}

}  // namespace drovik::cli
