// Fetching an older-model printer's two NVRAM images over FTP into the program directory
// (rnvr_all.bin, rnvr_nw.bin), judged from the FTP log. Decoding them into the profile is
// the caller's next step once the images were retrieved (nvram::decodeRetrievedImages).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "model/profile_store.h"
#include "transport/ftp_log.h"
#include "transport/run_control.h"

namespace drovik::transport {

struct RetrievalOutcome {
  RetrievalVerdict verdict = RetrievalVerdict::Failed;
  std::string message;  // for the operator
  std::string detail;   // technical detail of a failure, for diagnostics
  bool retrieved() const { return verdict == RetrievalVerdict::Retrieved; }
};

// Runs the retrieval script for `address` with the typed password and waits for it (bounded
// by control; meant for a worker thread). The script, which holds the
// password, is readable by its owner only and is emptied when the run ends, whatever the
// outcome. Images left by an earlier retrieval are removed first, so that a failed transfer
// never leaves another printer's settings to be decoded; an image larger than the decoders
// accept is never kept. Refuses 0.0.0.0 with "ＩＰアドレスを入力してください", an address with an
// octet outside 0..255, a password the script cannot carry, and a run file's name taken by
// another user's file or by something else than a file, with a message naming it.
RetrievalOutcome retrievePrinterImages(const std::filesystem::path& programDir,
                                       const Ipv4Octets& address, std::string_view password,
                                       RunControl& control);

}  // namespace drovik::transport
