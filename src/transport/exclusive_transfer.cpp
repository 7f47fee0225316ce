#include "transport/exclusive_transfer.h"

namespace drovik::transport {

LockedTransfer::LockedTransfer(const std::filesystem::path& folder, const RunControl& control,
                               const WaitNotice& notice) {
  const auto budget = control.remaining();
  auto lock = TransferLock::acquire(folder, control, notice);
  if (!lock) {
    refusal_ = lock.message();
    return;
  }
  lock_.emplace(std::move(*lock));
  control_.emplace(budget, control);
}

RetrievalResult retrieveExclusively(const std::filesystem::path& folder, const Ipv4Octets& address,
                                    std::string_view password, RunControl& control,
                                    const WaitNotice& notice) {
  RetrievalResult result;
  LockedTransfer run(folder, control, notice);
  if (!run.held()) {
    result.outcome.message = run.refusal();
    return result;
  }
  result.outcome = retrievePrinterImages(folder, address, password, run.control());
  if (result.outcome.retrieved()) result.images = nvram::readRetrievedImages(folder);
  return result;
}

}  // namespace drovik::transport
