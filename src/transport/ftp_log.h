// Judging an FTP run from its log: the printer's reply lines for a completed transfer and a
// refused login, and the model name in its greeting.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace drovik::transport {

inline constexpr std::string_view kTransferStartedReply = "150 Open data connection.";
inline constexpr std::string_view kTransferEndedReply = "226 Data connection closed.";
inline constexpr std::string_view kLoginIncorrectReply = "530 Login incorrect.";
// The older models whose images the decoders understand, in the order they are looked for.
inline constexpr std::array<std::string_view, 4> kSupportedModels = {"8630-H05", "8630-G05",
                                                                     "8630-K05", "8630-J05"};

// Both transfer replies appear somewhere in the log.
bool logShowsTransfer(std::string_view log);

enum class RetrievalVerdict {
  Retrieved,
  UnsupportedModel,  // transferred, but the greeting names no supported model
  LoginIncorrect,
  Failed,  // no log, or neither a transfer nor a refused login
};

// The log is the second condition: a run whose transfers failed (transferred false) is never
// retrieved, whatever text the server put in the log (a greeting may carry the transfer
// replies). Otherwise a transfer counts before a refused login (a log may show both).
RetrievalVerdict judgeRetrievalLog(bool transferred, const std::optional<std::string>& log);

// The operator's message for a verdict.
std::string_view retrievalMessage(RetrievalVerdict verdict);

}  // namespace drovik::transport
