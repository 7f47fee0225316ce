// One way of getting the command image to the printer: the spooler, the parallel port or the
// printer's FTP server. The send dialogs and drovik-cli drive every route the same way,
// through this interface, and never call the spooler or the network themselves.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "transport/outcome_text.h"
#include "transport/run_control.h"

namespace drovik::transport {

// How far the image got.
enum class Delivery {
  Delivered,  // the printer took it (as far as the route can tell)
  Queued,     // the spooler holds it, not yet printed when the send's time ran out
  Failed,
};

struct SendOutcome {
  // Delivered and queued are both no failure: a queued image is not to be sent again.
  Delivery delivery = Delivery::Failed;
  // What the operator is told; empty when the route tells nothing.
  std::string message;
  // Technical detail (the spooler's or the port's own words), for diagnostics.
  std::string detail;

  static SendOutcome delivered(std::string message, std::string detail = {}) {
    return {Delivery::Delivered, std::move(message), std::move(detail)};
  }
  static SendOutcome queued(std::string message, std::string detail = {}) {
    return {Delivery::Queued, std::move(message), std::move(detail)};
  }
  static SendOutcome failed(std::string message, std::string detail = {}) {
    return {Delivery::Failed, std::move(message), std::move(detail)};
  }
  // The printer has it or will have it: delivered or queued.
  bool reached() const { return delivery != Delivery::Failed; }
  // "message（detail）".
  std::string told() const { return messageWithDetail(message, detail); }
};

class SendRoute {
 public:
  virtual ~SendRoute() = default;
  // Sends the whole image. Runs on a worker thread: reports progress to control, stops when
  // control is cancelled, and returns within control's time limit.
  virtual SendOutcome send(std::span<const std::uint8_t> image, RunControl& control) = 0;
};

}  // namespace drovik::transport
