// Arbitrary bytes as what a printer's FTP server says: the first byte says whether the
// transfers succeeded, the bytes up to the first line end are the login password, the rest
// the server's replies as the client library hands them over (chunks split at NUL bytes).
// The password never reaches the transcript's file; the judgement never calls a run whose
// transfers failed retrieved. The same replies read as a greeting give bounded lines of text.
#include <algorithm>
#include <cstdint>
#include <string>

#include "discovery/greeting_probe.h"
#include "fuzz_support.h"
#include "ini/text_codec.h"
#include "transport/ftp_log.h"
#include "transport/ftp_transcript.h"
#include "transport/script_words.h"

namespace {

// "226 " or "230-": kept when masked, as no echo of the password.
std::size_t replyCodeLength(std::string_view line) {
  if (line.size() < 4 || (line[3] != ' ' && line[3] != '-')) return 0;
  for (std::size_t i = 0; i < 3; ++i)
    if (line[i] < '0' || line[i] > '9') return 0;
  return 4;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace drovik::transport;
  if (size == 0) return 0;
  const bool transferred = data[0] & 1;
  std::string_view rest = drovik::fuzz::asText({data + 1, size - 1});
  const std::size_t end = std::min(rest.find('\n'), rest.size());
  const std::string_view password = rest.substr(0, end);
  rest.remove_prefix(std::min(end + 1, rest.size()));

  const auto greeting = drovik::discovery::readGreetingReply(rest);
  std::size_t greetingBytes = 0;
  for (const std::string& line : greeting.lines) {
    FUZZ_CHECK(drovik::ini::isValidUtf8(line), line);
    FUZZ_CHECK(std::none_of(line.begin(), line.end(),
                            [](char c) {
                              return (static_cast<unsigned char>(c) < 0x20 && c != '\t') ||
                                     c == 0x7F;
                            }),
               line);
    greetingBytes += line.size();
  }
  // Code page 932 read as UTF-8 grows three times at most (a half-width katakana).
  FUZZ_CHECK(greetingBytes <= drovik::discovery::kMaxGreetingBytes * 3, greeting.note);
  FUZZ_CHECK(!greeting.complete || greeting.code.empty() ||
                 greeting.lines.back().starts_with(greeting.code),
             greeting.note);

  FtpTranscript transcript(-1);
  transcript.addSecret(password);
  // A mask next to the password's own letters could spell it again: such passwords are left
  // out of the check.
  const bool checkMask = !password.empty() && password.find('*') == std::string_view::npos;
  std::size_t lines = 0;
  while (!rest.empty()) {
    const std::size_t cut = std::min(rest.find('\0'), rest.size());
    for (std::string_view line : splitLines(rest.substr(0, cut))) {
      FUZZ_CHECK(line.find('\n') == std::string_view::npos, line);
      transcript.reply(line);
      ++lines;
      if (!checkMask) continue;
      const std::string masked = transcript.masked(line);
      const std::size_t code = replyCodeLength(line);
      FUZZ_CHECK(masked.compare(0, code, line.substr(0, code)) == 0 &&
                     masked.find(password, code) == std::string::npos,
                 masked);
    }
    rest.remove_prefix(std::min(cut + 1, rest.size()));
  }
  FUZZ_CHECK(static_cast<std::size_t>(
                 std::count(transcript.text().begin(), transcript.text().end(), '\n')) == lines,
             transcript.text());

  const RetrievalVerdict verdict = judgeRetrievalLog(transferred, transcript.text());
  const bool retrieved =
      verdict == RetrievalVerdict::Retrieved || verdict == RetrievalVerdict::UnsupportedModel;
  FUZZ_CHECK(!retrieved || (transferred && logShowsTransfer(transcript.text())), transcript.text());
  FUZZ_CHECK(judgeRetrievalLog(transferred, std::nullopt) == RetrievalVerdict::Failed, "no log");
  const std::string_view message = retrievalMessage(verdict);
  FUZZ_CHECK(!message.empty() && drovik::ini::isValidUtf8(message), message);
  return 0;
}
