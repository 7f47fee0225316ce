// Ctrl-C or a termination request during a transfer cancels it instead of killing the
// program, so that the transfer ends its own way (a password script is still emptied).
#pragma once

#include "transport/run_control.h"

namespace drovik::cli {

class CancelOnInterrupt {
 public:
  explicit CancelOnInterrupt(transport::RunControl& control);
  ~CancelOnInterrupt();
  CancelOnInterrupt(const CancelOnInterrupt&) = delete;
  CancelOnInterrupt& operator=(const CancelOnInterrupt&) = delete;
};

}  // namespace drovik::cli
