#include "cli/printer_images.h"

#include <iostream>

#include "cli/cancel_on_interrupt.h"
#include "cli/cli_support.h"
#include "cli/password_input.h"
#include "transport/exclusive_transfer.h"
#include "transport/ipv4_address.h"
#include "transport/outcome_text.h"
#include "transport/transport_messages.h"

namespace drovik::cli {
Result<Ipv4Octets> printerAddress(const Args& args) {
  const auto ip = args.option("--ip");
  if (!ip) return Error{"プリンタのIPアドレスを --ip A.B.C.D で指定してください。"};
  return transport::parseAddress(*ip);
}

Result<nvram::PrinterImages> retrieveImages(const ProfileService& service, const StorePaths& paths,
                                            const Ipv4Octets& address) {
  if (Status s = service.store().setRetrievalAddress(address); !s) return s.error();
  if (transport::isEmptyAddress(address))
    return Error{std::string(transport::kEnterAddressMessage)};

  const std::string password = readPassword();
  transport::RunControl control;
  // An interrupted retrieval still ends properly: the script with the password is emptied.
  const CancelOnInterrupt interrupt(control);
  transport::RetrievalResult result = transport::retrieveExclusively(
      paths.programDir, address, password, control, reportWaitingForTransfer);
  const transport::RetrievalOutcome& outcome = result.outcome;
  if (!outcome.retrieved())
    return Error{transport::messageWithDetail(outcome.message, outcome.detail)};
  std::cerr << "drovik-cli: " << outcome.message << '\n';
  return nvram::bothImages(std::move(result.images));
}

}  // namespace drovik::cli
