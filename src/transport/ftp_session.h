// Executes a parsed FTP script with libcurl, as the console FTP client would: one control
// connection, files fetched into and sent from the working directory, and a transcript of
// the session with every reply line of the server (the log the outcome is judged by).
#pragma once

#include <cstdio>
#include <filesystem>
#include <vector>

#include "model/status.h"
#include "transport/ftp_script.h"
#include "transport/run_control.h"

namespace drovik::transport {

// Longest wait for the server to accept the connection, and for any one reply.
inline constexpr long kFtpConnectTimeoutMs = 5000;
inline constexpr long kFtpReplyTimeoutSeconds = 10;

// Runs the commands in order, writing the transcript (CR LF line ends) to `transcript`. The
// password never appears in it. Every step is bounded by control's remaining time and ends
// early when control is cancelled. A failed step is written to the transcript and the script
// goes on, as the console client does; the result names the first failure, for diagnostics.
Status runFtpCommands(const std::vector<FtpCommand>& commands, const std::filesystem::path& workDir,
                      std::FILE* transcript, RunControl& control);

}  // namespace drovik::transport
