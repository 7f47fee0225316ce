// Ctrl-C, Ctrl-\, a closed terminal or pipe, or a termination request during a transfer
// cancels it instead of killing the program, so that the transfer ends its own way: a password
// script is still emptied and a fleet's work folders are still removed.
#pragma once

#include <signal.h>

#include <array>

#include "transport/run_control.h"

namespace drovik::cli {

class CancelOnInterrupt {
 public:
  explicit CancelOnInterrupt(transport::RunControl& control);
  ~CancelOnInterrupt();  // the earlier handling of the signals again
  CancelOnInterrupt(const CancelOnInterrupt&) = delete;
  CancelOnInterrupt& operator=(const CancelOnInterrupt&) = delete;

  // SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE.
  static constexpr std::array<int, 5> kSignals{SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE};

 private:
  std::array<struct sigaction, kSignals.size()> earlier_{};
};

}  // namespace drovik::cli
