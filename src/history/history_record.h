// One event of the change and delivery history: a change to the profile files or a command
// delivered, as one JSON object on one line of the history file (JSON Lines, UTF-8).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace drovik::history {

inline constexpr const char* kHistoryFileName = "drovik-history.jsonl";

// The operations, as the records name them (and `history --operation` selects them).
namespace operation {
inline constexpr std::string_view kRegister = "register";    // a new profile
inline constexpr std::string_view kOverwrite = "overwrite";  // registered over an existing one
inline constexpr std::string_view kSave = "save";            // changed settings saved
inline constexpr std::string_view kDelete = "delete";
inline constexpr std::string_view kMigrate = "migrate";  // an 8630-M copy registered
inline constexpr std::string_view kDecode = "decode";    // a printer's images saved as a profile
inline constexpr std::string_view kCommandFile = "command-file";  // a command written to a file
inline constexpr std::string_view kSend = "send";                 // spooler, parallel port, FTP
inline constexpr std::string_view kFleetSend = "fleet-send";      // a fleet row's send
inline constexpr std::array<std::string_view, 9> kAll = {
    kRegister, kOverwrite, kSave, kDelete, kMigrate, kDecode, kCommandFile, kSend, kFleetSend};
}  // namespace operation

// Targets name the route first: "cups:QUEUE", "ftp:A.B.C.D", "parallel".
inline constexpr std::string_view kSpoolerTargetPrefix = "cups:";
inline constexpr std::string_view kNetworkTargetPrefix = "ftp:";
inline constexpr std::string_view kParallelTarget = "parallel";

inline constexpr std::string_view kOutcomeOk = "ok";
inline constexpr std::string_view kOutcomeFailed = "failed";
// The spooler took the job but had not printed it when the send ended.
inline constexpr std::string_view kOutcomeQueued = "queued";

struct Record {
  std::string time;     // ISO 8601 local time with its offset: 2024-04-01T09:30:00+09:00
  std::string user;     // login name
  std::string host;     // host name
  std::string program;  // "drovik-cli 0.1.0"
  std::string operation;
  std::string profile;
  std::string model;   // model type of the profile, or of the command delivered
  std::string target;  // "cups:QUEUE", "parallel", "ftp:A.B.C.D", a command file's path
  std::optional<std::uint64_t> bytes;  // of the command delivered
  std::string sha256;                  // of the command delivered
  std::string outcome;                 // kOutcomeOk, kOutcomeFailed or kOutcomeQueued
  std::string message;
};

// The record as one JSON object and the line end. Bytes that are no UTF-8 (a file name) become
// U+FFFD, so that the file stays UTF-8.
std::string encodeLine(const Record& record);

// The record of one line (without its line end); nothing when the line is no record (cut off by
// a crash, edited by hand).
std::optional<Record> decodeLine(std::string_view line);

// How a string field appears inside a line that encodeLine wrote, without the quotes: what
// a reader may look for before it decodes the line.
std::string encodedText(std::string_view text);

}  // namespace drovik::history
