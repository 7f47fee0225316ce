#include "cli/printer_images.h"

#include <iostream>

#include "cli/cancel_on_interrupt.h"
#include "cli/cli_support.h"
#include "cli/password_input.h"
#include "nvram/nvram_decoder.h"
#include "nvram/nvram_files.h"
#include "transport/ipv4_address.h"
#include "transport/retrieval.h"
#include "transport/transport_messages.h"

namespace drovik::cli {
Result<Ipv4Octets> printerAddress(const Args& args) {
  const auto ip = args.option("--ip");
  if (!ip) return Error{"プリンタのIPアドレスを --ip A.B.C.D で指定してください。"};
  return transport::parseAddress(*ip);
}

Status retrieveImages(const ProfileService& service, const StorePaths& paths,
                      const Ipv4Octets& address) {
  if (Status s = service.store().setRetrievalAddress(address); !s) return s;
  if (transport::isEmptyAddress(address))
    return Error{std::string(transport::kEnterAddressMessage)};

  const std::string password = readPassword();
  transport::RunControl control;
  // An interrupted retrieval still ends properly: the script with the password is emptied.
  const CancelOnInterrupt interrupt(control);
  const transport::RetrievalOutcome outcome =
      transport::retrievePrinterImages(paths.programDir, address, password, control);
  if (!outcome.retrieved())
    return Error{outcome.message + (outcome.detail.empty() ? "" : "（" + outcome.detail + "）")};
  std::cerr << "drovik-cli: " << outcome.message << '\n';
  return {};
}

Result<std::vector<std::string>> decodeImageFiles(ProfileModel& model,
                                                  const std::filesystem::path& allPath,
                                                  const std::filesystem::path& nwPath) {
  auto images = nvram::readPrinterImages(allPath, nwPath);
  if (!images) return images.error();
  return nvram::decodePrinterImages(model, *images);
}

Result<std::vector<std::string>> decodeRetrievedImageFiles(ProfileModel& model,
                                                           const StorePaths& paths) {
  return decodeImageFiles(model, paths.programDir / nvram::kAllImageFileName,
                          paths.programDir / nvram::kNetworkImageFileName);
}

}  // namespace drovik::cli
