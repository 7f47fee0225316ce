// Runs the batch files the program generates, without a shell or a command interpreter. It
// knows their two commands:
//   copy /b FILE lpt1            copies FILE to the first parallel port;
//   ftp -i -s:SCRIPT > LOG       runs the FTP script, its transcript going to LOG.
// Any other line makes it refuse the whole file before anything runs.
#pragma once

#include <filesystem>
#include <vector>

#include "model/status.h"
#include "transport/parallel_port.h"
#include "transport/run_control.h"

namespace drovik::transport {

struct BatchEnvironment {
  // The working directory of the batch: relative names and the FTP client's files live here.
  std::filesystem::path workDir;
  // Candidates for lpt1, the first one present is used.
  std::vector<std::filesystem::path> parallelDevices = defaultParallelDevices();
};

// Runs the batch file to its end, bounded by control. Fails with a message naming the line
// that was refused or the step that failed. For an FTP line the log is what tells how the
// transfers went; the result only names the first failed step, for diagnostics.
Status runBatchFile(const std::filesystem::path& batchFile, const BatchEnvironment& environment,
                    RunControl& control);

}  // namespace drovik::transport
