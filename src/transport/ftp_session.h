// Executes a parsed FTP script with libcurl, as the console FTP client would: one control
// connection, files fetched into and sent from the program folder, and a transcript of the
// session with every reply line of the server (the log the outcome is judged by).
#pragma once

#include <cstdint>
#include <vector>

#include "files/status.h"
#include "nvram/nvram_decoder.h"
#include "transport/ftp_script.h"
#include "transport/ftp_transcript.h"
#include "transport/generated_files.h"
#include "transport/run_control.h"

namespace drovik::transport {

// Longest wait for the server to accept the connection, and for any one reply.
inline constexpr long kFtpConnectTimeoutMs = 5000;
inline constexpr long kFtpReplyTimeoutSeconds = 10;
// The largest file a "get" keeps: the largest image the decoders accept. A download that
// grows past it is stopped there, and nothing of it is kept.
inline constexpr std::uint64_t kMaxDownloadBytes = nvram::kMaxImageSize;

// Runs the commands in order, writing the transcript. A "put" sends what this run generated
// under that name (files), never what the folder holds by then; a "get" lands in a private
// file of the folder and takes its name only once complete. The password never appears in
// the transcript's file. Every step is bounded by control's remaining time and ends early
// when control is cancelled. A failed step is written to the transcript and the script goes
// on, as the console client does; the result names the first failure.
Status runFtpCommands(const std::vector<FtpCommand>& commands, const GeneratedFiles& files,
                      FtpTranscript& transcript, RunControl& control);

}  // namespace drovik::transport
