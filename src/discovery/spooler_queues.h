// The spooler's queues as a sweep names them by `cups`: each queue with its device URI, read
// through the transport's listing, so that every program sweeps the same queues.
#pragma once

#include <vector>

#include "discovery/sweep_targets.h"
#include "transport/run_control.h"

namespace drovik::discovery {

// Fails, saying why, when the spooler cannot be asked, does not answer within the control's
// limit or the control is cancelled.
Result<std::vector<QueueDevice>> spoolerQueues(transport::RunControl& control);
// The same within the transport's limit on listing.
Result<std::vector<QueueDevice>> spoolerQueues();

}  // namespace drovik::discovery
