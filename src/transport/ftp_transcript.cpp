#include "transport/ftp_transcript.h"

#include <cerrno>

#include "transport/transfer_folder.h"

namespace drovik::transport {
namespace {

constexpr std::string_view kMask = "****";

// "226 " or "230-": the reply code a server line starts with, which is no echo.
std::size_t replyCodeLength(std::string_view text) {
  if (text.size() < 4 || (text[3] != ' ' && text[3] != '-')) return 0;
  for (std::size_t i = 0; i < 3; ++i)
    if (text[i] < '0' || text[i] > '9') return 0;
  return 4;
}

}  // namespace

void FtpTranscript::line(std::string_view text) {
  text_.append(text);
  text_ += '\n';
  write(text);
}

void FtpTranscript::reply(std::string_view text) {
  text_.append(text);
  text_ += '\n';
  write(masked(text));
}

void FtpTranscript::addSecret(std::string_view secret) {
  if (secret.empty()) return;
  for (const std::string& known : secrets_)
    if (known == secret) return;
  secrets_.emplace_back(secret);
}

std::string FtpTranscript::masked(std::string_view text) const {
  const std::size_t code = replyCodeLength(text);
  std::string result(text.substr(0, code));
  std::string rest(text.substr(code));
  for (const std::string& secret : secrets_) {
    std::string replaced;
    std::size_t from = 0;
    for (std::size_t at = rest.find(secret); at != std::string::npos;
         at = rest.find(secret, from)) {
      replaced.append(rest, from, at - from);
      replaced += kMask;
      from = at + secret.size();
    }
    replaced.append(rest, from);
    rest = std::move(replaced);
  }
  return result + rest;
}

void FtpTranscript::write(std::string_view text) {
  if (fd_ < 0 || writeError_ != 0) return;
  if (!writeAllBytes(fd_, std::string(text) + "\r\n")) writeError_ = errno;
}

}  // namespace drovik::transport
