// A raw job the spooler accepted is not yet printed: its device may be off, refuse the
// connection or never answer. The spooler route follows the job until it ends or the send's
// time is up, and tells the operator which of the three it came to.
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "transport/cups_library.h"
#include "transport/send_route.h"

namespace drovik::transport {

// How often the spooler is asked about the job.
inline constexpr std::chrono::milliseconds kJobPollInterval{250};

// What the spooler said about a job when last asked.
struct JobStatus {
  ipp_jstate_t state = IPP_JSTATE_PENDING;
  bool printerStopped = false;  // the queue stopped (a failing device, by its error policy)
  std::string message;          // the spooler's own words on the job or its stopped queue
  std::string printerUri;       // the job's queue
};

// Asks about the job at least once, then every kJobPollInterval until it has ended (completed,
// aborted, canceled) or control stops. Nothing when the spooler could not say.
std::optional<JobStatus> followJob(const CupsLibrary& cups, http_t* http, int job,
                                   RunControl& control);

// Completed: delivered. Aborted or canceled: failed, in the spooler's words. Anything else,
// or a state the spooler could not say (`unknown` is why): queued.
SendOutcome spooledJobOutcome(int job, const std::optional<JobStatus>& status,
                              const std::string& unknown);

// "Handed to the spooler, not printed yet (job N)".
std::string spoolQueuedMessage(int job);

}  // namespace drovik::transport
