#include "transport/ftp_log.h"

#include "transport/transport_messages.h"

namespace drovik::transport {

bool logShowsTransfer(std::string_view log) {
  return log.find(kTransferStartedReply) != std::string_view::npos &&
         log.find(kTransferEndedReply) != std::string_view::npos;
}

RetrievalVerdict judgeRetrievalLog(bool transferred, const std::optional<std::string>& log) {
  if (!log) return RetrievalVerdict::Failed;
  if (transferred && logShowsTransfer(*log)) {
    for (std::string_view model : kSupportedModels)
      if (log->find(model) != std::string::npos) return RetrievalVerdict::Retrieved;
    return RetrievalVerdict::UnsupportedModel;
  }
  if (log->find(kLoginIncorrectReply) != std::string::npos) return RetrievalVerdict::LoginIncorrect;
  return RetrievalVerdict::Failed;
}

std::string_view retrievalMessage(RetrievalVerdict verdict) {
  switch (verdict) {
    case RetrievalVerdict::Retrieved:
      return kRetrievedMessage;
    case RetrievalVerdict::UnsupportedModel:
      return kUnsupportedModelMessage;
    case RetrievalVerdict::LoginIncorrect:
      return kLoginIncorrectMessage;
    case RetrievalVerdict::Failed:
      break;
  }
  return kRetrievalFailedMessage;
}

}  // namespace drovik::transport
