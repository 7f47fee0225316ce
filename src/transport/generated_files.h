// The files through which the parallel and network routes and the retrieval work, all in the
// program directory: the command binary, the batch files, the FTP script and the FTP log.
// Their names and contents are what the printer tools of the operators expect to find there.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "model/profile_store.h"

namespace drovik::transport {

inline constexpr std::string_view kCommandFileName = "rsic_cmd.bin";
inline constexpr std::string_view kParallelBatchName = "rsendcen.bat";
inline constexpr std::string_view kFtpBatchName = "rftpcmd.bat";
inline constexpr std::string_view kFtpScriptName = "rftpcmd.ftp";
inline constexpr std::string_view kFtpLogName = "rftpcmd.log";

enum class FileAccess {
  Shared,     // the usual permissions
  OwnerOnly,  // holds a password: readable and writable by the owner only
};

// Writes a generated text file: `content` is UTF-8 with "\n" between lines and none after
// the last; the file gets Shift-JIS (code page 932) with CR LF between lines. Truncates an
// existing file. Returns the file's full path.
Result<std::filesystem::path> writeGeneratedText(const std::filesystem::path& programDir,
                                                 std::string_view fileName,
                                                 std::string_view content,
                                                 FileAccess access = FileAccess::Shared);

// Writes the whole command image as rsic_cmd.bin; returns its full path.
Result<std::filesystem::path> writeCommandFile(const std::filesystem::path& programDir,
                                               std::span<const std::uint8_t> image);

// Truncates a file to nothing (the FTP script after a retrieval); a missing file stays missing.
Status emptyFile(const std::filesystem::path& path);

// "copy /b "<command file>" lpt1": quoted, so that a program directory with blanks works.
std::string parallelBatchText(const std::filesystem::path& commandFile);
// "ftp -i -s:rftpcmd.ftp > rftpcmd.log"
std::string ftpBatchText();
// open, user root, empty password, bin, put rsic_cmd.bin, bye. Refused for an address with
// an octet outside 0..255 (addressText).
Result<std::string> sendScriptText(const Ipv4Octets& address);
// open, user root, the password, bin, cd pr_setup, both NVRAM gets, bye; refused as above.
Result<std::string> retrievalScriptText(const Ipv4Octets& address, std::string_view password);

}  // namespace drovik::transport
