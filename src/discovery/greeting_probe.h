// What a printer says on connecting to its FTP server: the greeting (reply 220) names the model.
// One connection, no login: the greeting is read up to a bound, "QUIT" is sent, and the
// connection closed. Nothing is ever sent before the greeting, and no password at all.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "model/profile_store.h"

namespace drovik::discovery {

// A greeting longer than this is cut: a printer's is one or two lines.
inline constexpr std::size_t kMaxGreetingBytes = 4096;

struct Greeting {
  enum class Outcome {
    Greeted,      // a whole reply came (or a cut one, see `note`)
    Refused,      // nothing listens on the port
    Silent,       // no connection, or no word, within the bound
    Unreachable,  // the network says there is no such host
  };
  Outcome outcome = Outcome::Silent;
  std::string code;                // the reply's code, "220" from a printer
  std::vector<std::string> lines;  // the reply's lines as text (UTF-8), code included
  std::string note;                // why it was cut or abandoned, or odd bytes replaced

  bool answered() const { return outcome == Outcome::Greeted; }
  // The lines joined by spaces, for matching the model and for one-line output.
  std::string text() const;
};

// Asks `address`:`port`, connect and greeting together bounded by `timeout`; gives up within
// 100 ms of `cancel` being set (then Silent, with a note).
Greeting probeGreeting(const Ipv4Octets& address, std::uint16_t port,
                       std::chrono::milliseconds timeout, const std::atomic<bool>& cancel);

// The reply in `bytes` as far as it goes: complete once its last line ("CODE text") has come.
// Bytes that are not text are shown as "?" (with a note); the lines are cut at the bound.
struct ReplyReading {
  bool complete = false;
  std::string code;
  std::vector<std::string> lines;
  std::string note;
};
ReplyReading readGreetingReply(std::string_view bytes);

}  // namespace drovik::discovery
