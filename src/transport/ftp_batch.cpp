#include "transport/ftp_batch.h"

#include "transport/batch_runner.h"
#include "transport/ftp_log.h"
#include "transport/generated_files.h"

namespace drovik::transport {
namespace {

Status runBatch(const std::filesystem::path& programDir, std::string_view scriptText,
                RunControl& control) {
  auto batch = writeGeneratedText(programDir, kFtpBatchName, ftpBatchText());
  if (!batch) return batch.status();
  // Owner-only from the first byte: the retrieval script carries the typed password.
  auto script = writeGeneratedText(programDir, kFtpScriptName, scriptText, FileAccess::OwnerOnly);
  if (!script) return script.status();
  return runBatchFile(*batch, {.workDir = programDir}, control);
}

}  // namespace

FtpBatchRun runFtpBatch(const std::filesystem::path& programDir, std::string_view scriptText,
                        ScriptAfterRun after, RunControl& control) {
  const std::filesystem::path logPath = programDir / kFtpLogName;
  std::error_code ec;
  std::filesystem::remove(logPath, ec);
  FtpBatchRun run;
  run.ran = runBatch(programDir, scriptText, control);
  if (after == ScriptAfterRun::Empty) {
    if (Status emptied = emptyFile(programDir / kFtpScriptName); !emptied && run.ran)
      run.ran = emptied;
  }
  run.log = readFtpLog(logPath);
  return run;
}

}  // namespace drovik::transport
