#include "transport/ftp_batch.h"

#include "transport/batch_runner.h"

namespace drovik::transport {
namespace {

BatchRun runBatch(GeneratedFiles& files, std::string_view scriptText, RunControl& control) {
  auto batch = files.writeText(kFtpBatchName, ftpBatchText());
  if (!batch) return {batch.status(), {}};
  // Owner-only from the first byte: the retrieval script carries the typed password.
  auto script = files.writeText(kFtpScriptName, scriptText, FileAccess::OwnerOnly);
  if (!script) return {script.status(), {}};
  return runGeneratedBatch(files, *batch, {}, control);
}

}  // namespace

FtpBatchRun runFtpBatch(GeneratedFiles& files, std::string_view scriptText, ScriptAfterRun after,
                        RunControl& control) {
  FtpBatchRun run;
  // A log left by an earlier run must not pass for this run's record.
  run.ran = files.folder().remove(kFtpLogName);
  if (run.ran) {
    BatchRun batch = runBatch(files, scriptText, control);
    run.ran = std::move(batch.ran);
    run.log = std::move(batch.ftpTranscript);
  }
  if (after == ScriptAfterRun::Empty) run.emptied = files.folder().truncate(kFtpScriptName);
  return run;
}

}  // namespace drovik::transport
