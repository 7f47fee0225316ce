// Runs the batch files the program generates, without a shell or a command interpreter. It
// knows their two commands:
//   copy /b FILE lpt1            copies FILE to the first parallel port;
//   ftp -i -s:SCRIPT > LOG       runs the FTP script, its transcript going to LOG.
// Any other line makes it refuse the whole file before anything runs. What runs is what the
// program generated in this run, as it generated it: the batch, the files its lines name and
// the script are taken from memory, never read back from the folder, where another user may
// have replaced them meanwhile.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "files/status.h"
#include "transport/generated_files.h"
#include "transport/parallel_port.h"
#include "transport/run_control.h"

namespace drovik::transport {

struct BatchEnvironment {
  // Candidates for lpt1, the first one present is used.
  std::vector<std::filesystem::path> parallelDevices = defaultParallelDevices();
};

struct BatchRun {
  // Every line ran to its end and, for an FTP line, every step of its script succeeded;
  // otherwise the first failure, naming the line that was refused or the step that failed.
  Status ran;
  // The FTP line's transcript as received (the judgement's text; its file is masked);
  // nullopt when no FTP client ran.
  std::optional<std::string> ftpTranscript;
};

// Runs the batch file `batch` that `files` generated, bounded by control. Relative names in
// it are in the files' folder; files its lines read must be ones `files` generated, and the
// FTP log is made afresh there, readable by its owner only.
BatchRun runGeneratedBatch(const GeneratedFiles& files, const std::filesystem::path& batch,
                           const BatchEnvironment& environment, RunControl& control);

}  // namespace drovik::transport
