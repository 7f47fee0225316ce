// Where a command image goes, in the forms the operator types: `cups:QUEUE` (a queue of the
// local spooler), `ftp:A.B.C.D` (the printer's FTP server), `parallel` (the first parallel
// port), or a file path (the command file, "VAD Command Binary"). The same words name the
// delivery in the history and in the fleet's plan and results.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "model/profile_store.h"

namespace drovik::transport {

// The spooler takes queue names of at most this many bytes.
inline constexpr std::size_t kMaxQueueName = 127;

struct Target {
  enum class Kind { Spooler, Network, Parallel, CommandFile };
  Kind kind = Kind::Parallel;
  std::string queue;           // Spooler
  Ipv4Octets address{};        // Network
  std::filesystem::path file;  // CommandFile

  static Target spooler(std::string queue);
  static Target network(const Ipv4Octets& address);
  static Target parallel();
  static Target commandFile(std::filesystem::path file);

  // The port and the network routes work through files of fixed names in a folder (see
  // transfer_lock.h); the spooler and the command file do not.
  bool usesTransferFiles() const { return kind == Kind::Parallel || kind == Kind::Network; }

  // "cups:QUEUE", "ftp:A.B.C.D", "parallel", or the file's path; a path that would read as
  // one of the others is written "./parallel", so that parseTarget gives this target back.
  std::string text() const;

  bool operator==(const Target&) const = default;
};

// What was wrong with a text parseTarget refused.
enum class TargetFault { None, Empty, Address, QueueName };

// The forms of Target::text, the words "parallel", "ftp:" and "cups:" in any case. Refused:
// an empty text, an address that is not four octets 0..255 or is 0.0.0.0, and a queue name the
// spooler cannot have (empty, too long, a space, a control character, "/" or "#"). `fault`
// receives which of these it was, so that a caller can say it in its own words.
Result<Target> parseTarget(std::string_view text, TargetFault* fault = nullptr);

// A printer's address as typed: parseAddress, and 0.0.0.0 refused (it names no printer).
Result<Ipv4Octets> parsePrinterAddress(std::string_view text);

bool validQueueName(std::string_view queue);

}  // namespace drovik::transport
