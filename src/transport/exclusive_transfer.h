// The parallel and network sends and the retrieval, each run under the data folder's transfer
// lock (transfer_lock.h): the delivery holds a LockedTransfer around a send, the desktop
// program and drovik-cli retrieve through retrieveExclusively. The fleet's rows work in folders
// of their own and take no lock. The spooler writes no file in the folder and needs no lock.
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

struct RetrievalResult {
  RetrievalOutcome outcome;
  // Read before the lock is released, so that they are this printer's; filled only when the
  // images were retrieved. Decode these, never the files, which another copy may replace.
  nvram::RetrievedImages images;
};

// retrievePrinterImages in `folder` under the folder's transfer lock.
RetrievalResult retrieveExclusively(const std::filesystem::path& folder, const Ipv4Octets& address,
                                    std::string_view password, RunControl& control,
                                    const WaitNotice& notice = {});

}  // namespace drovik::transport
