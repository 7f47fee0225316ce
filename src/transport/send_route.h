// One way of getting the command image to the printer: the spooler, the parallel port or the
// printer's FTP server. The send dialogs and drovik-cli drive every route the same way,
// through this interface, and never call the spooler or the network themselves.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "transport/run_control.h"

namespace drovik::transport {

struct SendOutcome {
  bool sent = false;
  // What the operator is told; empty when the route tells nothing (a spooled job).
  std::string message;
  // Technical detail of a failure (the spooler's or the port's own words), for diagnostics.
  std::string detail;
};

class SendRoute {
 public:
  virtual ~SendRoute() = default;
  // Sends the whole image. Runs on a worker thread (see BackgroundRun): reports progress to
  // control, stops when control is cancelled, and returns within control's time limit.
  virtual SendOutcome send(std::span<const std::uint8_t> image, RunControl& control) = 0;
};

}  // namespace drovik::transport
