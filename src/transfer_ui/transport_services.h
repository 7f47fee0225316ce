// What the send and retrieval dialogs ask of the transports, behind one replaceable object:
// the printer list, the three send routes and the retrieval. The program uses the real
// spooler, port and FTP client; tests hand in fakes, so no dialog test reaches a printer.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "files/status.h"
#include "model/profile_store.h"
#include "transport/cups_route.h"
#include "transport/exclusive_transfer.h"
#include "transport/run_control.h"
#include "transport/send_route.h"

namespace drovik::transfer_ui {

// The dialogs speak the transports' terms.
using namespace drovik::transport;

struct TransportServices {
  // Runs on a worker thread, within the control's limit.
  std::function<Result<std::vector<PrinterEntry>>(RunControl& control)> listPrinters;
  std::function<std::unique_ptr<SendRoute>(const std::string& queue)> spoolerRoute;
  std::function<std::unique_ptr<SendRoute>()> parallelRoute;
  std::function<std::unique_ptr<SendRoute>(const Ipv4Octets& address)> networkRoute;
  // Runs on a worker thread, like SendRoute::send. The images come back with the outcome.
  std::function<RetrievalResult(const Ipv4Octets& address, const std::string& password,
                                RunControl& control)>
      retrieve;
  // Told of every send once it has ended, on the worker thread: where to ("cups:QUEUE",
  // "parallel", "ftp:A.B.C.D"), what and how it went. The program writes the history here.
  std::function<void(const std::string& target, std::span<const std::uint8_t> image,
                     const SendOutcome& outcome)>
      sent;

  // The real transports, with their files in programDir; the port and network routes and the
  // retrieval run under its transfer lock.
  static TransportServices real(const std::filesystem::path& programDir);
};

}  // namespace drovik::transfer_ui
