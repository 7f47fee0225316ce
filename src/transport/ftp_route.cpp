#include "transport/ftp_route.h"

#include "transport/ftp_batch.h"
#include "transport/ftp_log.h"
#include "transport/generated_files.h"
#include "transport/ipv4_address.h"
#include "transport/transport_messages.h"

namespace drovik::transport {

FtpRoute::FtpRoute(std::filesystem::path programDir, Ipv4Octets address)
    : programDir_(std::move(programDir)), address_(address) {}

SendOutcome FtpRoute::send(std::span<const std::uint8_t> image, RunControl& control) {
  if (isEmptyAddress(address_)) return SendOutcome::failed(std::string(kEnterAddressMessage));
  const auto script = sendScriptText(address_);
  if (!script) return SendOutcome::failed(script.message());
  auto folder = TransferFolder::open(programDir_);
  if (!folder) return SendOutcome::failed(std::string(kNetworkFailedMessage), folder.message());
  // Nothing is written, let alone sent, while one of the run's files cannot be made afresh.
  if (Status free = checkTransferFiles(
          *folder, {kCommandFileName, kFtpBatchName, kFtpScriptName, kFtpLogName});
      !free)
    return SendOutcome::failed(free.message());
  GeneratedFiles files(*folder);
  auto commandFile = files.writeCommandFile(image);
  if (!commandFile)
    return SendOutcome::failed(std::string(kNetworkFailedMessage), commandFile.message());
  control.reportProgress(0, image.size());
  const FtpBatchRun run = runFtpBatch(files, *script, ScriptAfterRun::Keep, control);
  // The upload itself must have succeeded; the printer's replies in the log come second.
  if (run.ran && run.log && logShowsTransfer(*run.log))
    return SendOutcome::delivered(std::string(kNetworkSentMessage));
  return SendOutcome::failed(std::string(kNetworkFailedMessage),
                             run.ran ? std::string() : run.ran.message());
}

}  // namespace drovik::transport
