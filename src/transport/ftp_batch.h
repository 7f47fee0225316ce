// One run of the FTP client the way the network send and the retrieval drive it: write
// rftpcmd.bat and the script rftpcmd.ftp, run the batch, read back rftpcmd.log.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "model/status.h"
#include "transport/run_control.h"

namespace drovik::transport {

enum class ScriptAfterRun {
  Keep,
  Empty,  // the script holds a password: emptied once the run is over, whatever its outcome
};

struct FtpBatchRun {
  Status ran;                      // the batch itself: files written, client run (diagnostics)
  std::optional<std::string> log;  // the log as the judgement reads it; nullopt if none
};

// Waits for the client to finish (bounded by control) before reading the log. The log of an
// earlier run is removed first, so that it can never be judged in place of this one.
FtpBatchRun runFtpBatch(const std::filesystem::path& programDir, std::string_view scriptText,
                        ScriptAfterRun after, RunControl& control);

}  // namespace drovik::transport
