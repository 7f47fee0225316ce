// What the send and retrieval dialogs ask of the transports, behind one replaceable object:
// the printer list, the routes of the sends and the retrieval. The program uses the real
// spooler, port and FTP client; tests hand in fakes, so no dialog test reaches a printer.
#pragma once

#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "files/status.h"
#include "model/profile_store.h"
#include "transport/cups_route.h"
#include "transport/delivery.h"
#include "transport/exclusive_transfer.h"
#include "transport/run_control.h"
#include "transport/send_route.h"
#include "transport/target.h"

namespace drovik::transfer_ui {

// The dialogs speak the transports' terms.
using namespace drovik::transport;

struct TransportServices {
  // Runs on a worker thread, within the control's limit.
  std::function<Result<std::vector<PrinterEntry>>(RunControl& control)> listPrinters;
  // The route of each send, which the dialogs deliver through (see delivery.h).
  RouteFactory routes = realRoute;
  // Runs on a worker thread, like SendRoute::send. The images come back with the outcome.
  std::function<RetrievalResult(const Ipv4Octets& address, const std::string& password,
                                RunControl& control)>
      retrieve;
  // The profile whose command the dialogs send, as the history names it.
  std::string profile;
  std::string model;
  // Told of every send once it has ended and is in the history, on the worker thread.
  std::function<void(const Target& target, std::span<const std::uint8_t> image,
                     const SendOutcome& outcome)>
      sent;

  // The real transports, with their files in programDir; the port and network routes and the
  // retrieval run under its transfer lock.
  static TransportServices real(const std::filesystem::path& programDir);
};

}  // namespace drovik::transfer_ui
