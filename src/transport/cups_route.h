// The local print spooler (CUPS): its queues, listed as the printers the operator can pick,
// and the route that hands the command image to one of them as a single raw job.
#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "files/status.h"
#include "transport/send_route.h"

namespace drovik::transport {

inline constexpr std::string_view kJobTitle = "VAD Command";
// The printer list shows at most this many queues.
inline constexpr std::size_t kMaxListedPrinters = 256;
// How long the list may take: a spooler answers at once, so a print server that has said
// nothing by then will not; well inside the program's bound on waiting.
inline constexpr std::chrono::milliseconds kListLimit{10000};

struct PrinterEntry {
  std::string name;  // the queue name
  std::string port;  // its device URI
};

// The queues of this machine's spooler in the spooler's order (instances and queues shared
// by other machines left out). Fails with a message saying why when the spooler cannot be
// asked, does not answer within the control's limit or the control is cancelled.
Result<std::vector<PrinterEntry>> listLocalPrinters(RunControl& control);
// The same within kListLimit.
Result<std::vector<PrinterEntry>> listLocalPrinters();

class CupsRoute : public SendRoute {
 public:
  explicit CupsRoute(std::string queue);
  // One raw job "VAD Command" with the whole image. A job that cannot be completed is
  // cancelled, so that the printer never receives part of a command; the operator is then
  // told "設定を送信できませんでした". A spooled job is followed within control's limit (see
  // spool_job.h): printed, failed, or queued when it has not ended by then.
  SendOutcome send(std::span<const std::uint8_t> image, RunControl& control) override;

 private:
  std::string queue_;
};

}  // namespace drovik::transport
