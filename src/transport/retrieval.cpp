#include "transport/retrieval.h"

#include <algorithm>

#include "model/text_codec.h"
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
  for (std::string_view image : {nvram::kAllImageFileName, nvram::kNetworkImageFileName}) {
    std::error_code ec;
    std::filesystem::remove(programDir / image, ec);
  }
  const FtpBatchRun run = runFtpBatch(programDir, *script, ScriptAfterRun::Empty, control);
  outcome.verdict = judgeRetrievalLog(run.log);
  outcome.message = retrievalMessage(outcome.verdict);
  if (!run.ran) outcome.detail = run.ran.message();
  return outcome;
}

}  // namespace drovik::transport
