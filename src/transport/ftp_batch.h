// One run of the FTP client the way the network send and the retrieval drive it: write
// rftpcmd.bat and the script rftpcmd.ftp, run the batch, judge by the client's own account.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "files/status.h"
#include "transport/generated_files.h"
#include "transport/run_control.h"

namespace drovik::transport {

enum class ScriptAfterRun {
  Keep,
  Empty,  // the script holds a password: emptied once the run is over, whatever its outcome
};

struct FtpBatchRun {
  // The files were written, the client ran and every step of the script succeeded; otherwise
  // the first failure. A run with a failed step is a failed run whatever the log says.
  Status ran;
  // The log as the judgement reads it (as this run produced it, not as the folder holds it
  // afterwards); nullopt if the client never ran.
  std::optional<std::string> log;
  // Emptying the script (ScriptAfterRun::Empty); for diagnostics.
  Status emptied;
};

// Waits for the client to finish (bounded by control). The log of an earlier run is removed
// first; the run's files are written through `files`, beside what the caller put there.
FtpBatchRun runFtpBatch(GeneratedFiles& files, std::string_view scriptText, ScriptAfterRun after,
                        RunControl& control);

}  // namespace drovik::transport
