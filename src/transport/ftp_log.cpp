#include "transport/ftp_log.h"

#include <fstream>

#include "transport/transport_messages.h"

namespace drovik::transport {

std::optional<std::string> readFtpLog(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string text;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    text += line;
    text += '\n';
  }
  return text;
}

bool logShowsTransfer(std::string_view log) {
  return log.find(kTransferStartedReply) != std::string_view::npos &&
         log.find(kTransferEndedReply) != std::string_view::npos;
}

RetrievalVerdict judgeRetrievalLog(const std::optional<std::string>& log) {
  if (!log) return RetrievalVerdict::Failed;
  if (logShowsTransfer(*log)) {
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
