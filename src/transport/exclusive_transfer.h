// The parallel and network sends and the retrieval, each run under the data folder's transfer
// lock (transfer_lock.h). The desktop program and drovik-cli use these; the fleet, whose rows
// work in folders of their own, uses the plain ones. The spooler writes no file in the folder
// and needs no lock.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "nvram/nvram_files.h"
#include "transport/retrieval.h"
#include "transport/send_route.h"
#include "transport/transfer_lock.h"

namespace drovik::transport {

// A transfer's hold on the folder's transfer lock, with the control for the transfer itself:
// the whole time the caller's control had left when the wait began, cancelled with it.
class LockedTransfer {
 public:
  LockedTransfer(const std::filesystem::path& folder, const RunControl& control,
                 const WaitNotice& notice = {});
  bool held() const { return lock_.has_value(); }
  // Why the lock could not be had; empty while held.
  const std::string& refusal() const { return refusal_; }
  // Only while held.
  RunControl& control() { return *control_; }

 private:
  std::optional<TransferLock> lock_;
  std::string refusal_;
  std::optional<RunControl> control_;
};

// A route whose files are in `folder`, run under the folder's transfer lock. The time spent
// waiting for another transfer does not count against the run's own limit.
class ExclusiveRoute final : public SendRoute {
 public:
  ExclusiveRoute(std::filesystem::path folder, std::unique_ptr<SendRoute> route,
                 WaitNotice notice = {});
  // When the lock cannot be had, the outcome's message says why and nothing is sent.
  SendOutcome send(std::span<const std::uint8_t> image, RunControl& control) override;

 private:
  std::filesystem::path folder_;
  std::unique_ptr<SendRoute> route_;
  WaitNotice notice_;
};

struct RetrievalResult {
  RetrievalOutcome outcome;
  // Read before the lock is released, so that they are this printer's; filled only when the
  // images were retrieved. Decode these, never the files, which another copy may replace.
  nvram::RetrievedImages images;
};

// retrievePrinterImages in `folder` under the folder's transfer lock, as ExclusiveRoute runs
// a send.
RetrievalResult retrieveExclusively(const std::filesystem::path& folder, const Ipv4Octets& address,
                                    std::string_view password, RunControl& control,
                                    const WaitNotice& notice = {});

}  // namespace drovik::transport
