#include "transport/retrieval.h"

#include <algorithm>

#include "ini/text_codec.h"
#include "nvram/nvram_decoder.h"
#include "transport/ftp_batch.h"
#include "transport/generated_files.h"
#include "transport/ipv4_address.h"
#include "transport/transport_messages.h"

namespace drovik::transport {
namespace {

// A line break would end the password line of the script and start a command of its own.
bool passwordFitsScript(std::string_view password) {
  const bool oneLine = std::none_of(password.begin(), password.end(), [](char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
  });
  return oneLine && ini::utf8ToCp932(password).isOk();
}

}  // namespace

RetrievalOutcome retrievePrinterImages(const std::filesystem::path& programDir,
                                       const Ipv4Octets& address, std::string_view password,
                                       RunControl& control) {
  RetrievalOutcome outcome;
  if (isEmptyAddress(address)) {
    outcome.message = kEnterAddressMessage;
    return outcome;
  }
  if (!passwordFitsScript(password)) {
    outcome.message = "パスワードに使用できない文字が含まれています";
    return outcome;
  }
  const auto script = retrievalScriptText(address, password);
  if (!script) {
    outcome.message = script.message();
    return outcome;
  }
  auto folder = TransferFolder::open(programDir);
  if (!folder) {
    outcome.message = kRetrievalFailedMessage;
    outcome.detail = folder.message();
    return outcome;
  }
  // Nothing is written or asked of the printer while one of the run's files cannot be made
  // afresh.
  if (Status free =
          checkTransferFiles(*folder, {kFtpBatchName, kFtpScriptName, kFtpLogName,
                                       nvram::kAllImageFileName, nvram::kNetworkImageFileName});
      !free) {
    outcome.message = free.message();
    return outcome;
  }
  for (std::string_view image : {nvram::kAllImageFileName, nvram::kNetworkImageFileName}) {
    if (Status removed = folder->remove(image); !removed) {
      outcome.message = kRetrievalFailedMessage;
      outcome.detail = removed.message();
      return outcome;
    }
  }
  GeneratedFiles files(*folder);
  const FtpBatchRun run =
      runFtpBatch(files, *script, ScriptAfterRun::Empty, control);
  outcome.verdict = judgeRetrievalLog(run.ran.isOk(), run.log);
  outcome.message = retrievalMessage(outcome.verdict);
  outcome.detail = !run.ran ? run.ran.message() : run.emptied.message();
  return outcome;
}

}  // namespace drovik::transport
