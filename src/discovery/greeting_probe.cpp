#include "discovery/greeting_probe.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "files/atomic_file.h"
#include "ini/text_codec.h"

namespace drovik::discovery {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD from the lossy decoding

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool startsWithCode(std::string_view line) {
  return line.size() >= 3 && isDigit(line[0]) && isDigit(line[1]) && isDigit(line[2]);
}

// The line as text: UTF-8 as it is, anything else read as code page 932; control bytes, and
// what neither reading makes a character of, become "?".
std::string lineText(std::string_view raw, bool& replaced) {
  std::string text = ini::isValidUtf8(raw) ? std::string(raw) : ini::cp932ToUtf8Lossy(raw);
  for (std::size_t at = text.find(kReplacement); at != std::string::npos;
       at = text.find(kReplacement, at)) {
    text.replace(at, kReplacement.size(), "?");
    replaced = true;
  }
  for (char& c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte < 0x20 && c != '\t') || byte == 0x7F) {
      c = '?';
      replaced = true;
    }
  }
  return text;
}

// Waits up to `until` (in slices that look at `cancel`) for `events` on `fd`; the events that
// came, 0 on time out or cancel.
short waitFor(int fd, short events, Clock::time_point until, const std::atomic<bool>& cancel) {
  constexpr auto kSlice = std::chrono::milliseconds(100);
  while (!cancel.load()) {
    const auto left = until - Clock::now();
    if (left <= Clock::duration::zero()) return 0;
    const auto slice = std::min<Clock::duration>(left, kSlice);
    pollfd entry{fd, events, 0};
    const int ready = ::poll(
        &entry, 1, static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(slice).count()));
    if (ready > 0) return entry.revents;
    if (ready < 0 && errno != EINTR) return POLLERR;
  }
  return 0;
}

Greeting failed(Greeting::Outcome outcome, std::string note) {
  Greeting greeting;
  greeting.outcome = outcome;
  greeting.note = std::move(note);
  return greeting;
}

Greeting::Outcome outcomeOfConnectError(int error) {
  switch (error) {
    case ECONNREFUSED:
      return Greeting::Outcome::Refused;
    case EHOSTUNREACH:
    case ENETUNREACH:
      return Greeting::Outcome::Unreachable;
    default:
      return Greeting::Outcome::Silent;
  }
}

}  // namespace

std::string Greeting::text() const {
  std::string joined;
  for (const std::string& line : lines) joined += (joined.empty() ? "" : " ") + line;
  return joined;
}

ReplyReading readGreetingReply(std::string_view bytes) {
  ReplyReading reading;
  bool replaced = false;
  const bool cut = bytes.size() > kMaxGreetingBytes;
  bytes = bytes.substr(0, kMaxGreetingBytes);
  std::string_view rest = bytes;
  while (!rest.empty() && !reading.complete) {
    const auto newline = rest.find('\n');
    if (newline == std::string_view::npos) {
      // A line still coming: shown as far as it came, the reply not complete.
      reading.lines.push_back(lineText(rest, replaced));
      break;
    }
    std::string_view line = rest.substr(0, newline);
    rest.remove_prefix(newline + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (reading.lines.empty()) {
      // The first line decides: "220-" opens a reply of several lines, which the line
      // "220 " ends; a first line without a code is no FTP reply, but all there is to read.
      if (startsWithCode(line)) reading.code = std::string(line.substr(0, 3));
      reading.complete = reading.code.empty() || line.size() < 4 || line[3] != '-';
    } else {
      reading.complete = line.size() >= 4 && line.substr(0, 3) == reading.code && line[3] == ' ';
    }
    reading.lines.push_back(lineText(line, replaced));
  }
  if (cut && !reading.complete)
    reading.note =
        "挨拶が " + std::to_string(kMaxGreetingBytes) + " バイトを超えたため打ち切りました";
  if (replaced)
    reading.note +=
        std::string(reading.note.empty() ? "" : "。") + "文字でないバイトを「?」に置き換えました";
  return reading;
}

Greeting probeGreeting(const Ipv4Octets& address, std::uint16_t port,
                       std::chrono::milliseconds timeout, const std::atomic<bool>& cancel) {
  const auto deadline = Clock::now() + timeout;
  FileDescriptor socket(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!socket.valid()) return failed(Greeting::Outcome::Silent, "ソケットを作れません");
  sockaddr_in peer{};
  peer.sin_family = AF_INET;
  peer.sin_port = htons(port);
  peer.sin_addr.s_addr = htonl(
      static_cast<std::uint32_t>(address[0]) << 24 | static_cast<std::uint32_t>(address[1]) << 16 |
      static_cast<std::uint32_t>(address[2]) << 8 | static_cast<std::uint32_t>(address[3]));
  if (::connect(socket.get(), reinterpret_cast<const sockaddr*>(&peer), sizeof peer) != 0) {
    if (errno != EINPROGRESS) return failed(outcomeOfConnectError(errno), "");
    if (!(waitFor(socket.get(), POLLOUT, deadline, cancel) & (POLLOUT | POLLERR | POLLHUP)))
      return failed(Greeting::Outcome::Silent, cancel.load() ? "中止しました" : "");
    int error = 0;
    socklen_t length = sizeof error;
    ::getsockopt(socket.get(), SOL_SOCKET, SO_ERROR, &error, &length);
    if (error != 0) return failed(outcomeOfConnectError(error), "");
  }

  std::string bytes;
  ReplyReading reading;
  bool closed = false;
  while (!reading.complete && bytes.size() <= kMaxGreetingBytes) {
    if (!(waitFor(socket.get(), POLLIN, deadline, cancel) & (POLLIN | POLLERR | POLLHUP))) break;
    char buffer[1024];
    const ssize_t got = ::recv(socket.get(), buffer, sizeof buffer, 0);
    if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (got <= 0) {
      closed = true;
      break;
    }
    bytes.append(buffer, static_cast<std::size_t>(got));
    reading = readGreetingReply(bytes);
  }
  if (reading.complete) {
    // Polite, not awaited: the printer closes on its own when the reply is lost.
    [[maybe_unused]] const ssize_t sent = ::send(socket.get(), "QUIT\r\n", 6, MSG_NOSIGNAL);
  }
  if (bytes.empty())
    return failed(Greeting::Outcome::Silent, cancel.load() ? "中止しました"
                                             : closed ? "挨拶の前に接続が閉じられました"
                                                      : "接続しましたが挨拶がありません");
  Greeting greeting;
  greeting.outcome = Greeting::Outcome::Greeted;
  greeting.code = reading.code;
  greeting.lines = std::move(reading.lines);
  greeting.note = reading.note;
  if (!reading.complete && bytes.size() <= kMaxGreetingBytes) {
    const std::string stalled =
        closed ? "挨拶の途中で接続が閉じられました" : "挨拶が途中で止まりました";
    greeting.note = greeting.note.empty() ? stalled : stalled + "。" + greeting.note;
  }
  return greeting;
}

}  // namespace drovik::discovery
