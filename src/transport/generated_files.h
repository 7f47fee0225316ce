// The files through which the parallel and network routes and the retrieval work, all in the
// program directory: the command binary, the batch files, the FTP script and the FTP log.
// Their names and contents are what the printer tools of the operators expect to find there.
#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/profile_store.h"
#include "transport/transfer_folder.h"

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

// The files one run generates in the program folder. Each is written afresh for the record
// and for the operators' tools, and kept in memory: what the run executes is what the program
// generated, never what the folder holds when it would be read back.
class GeneratedFiles {
 public:
  explicit GeneratedFiles(const TransferFolder& folder) : folder_(folder) {}

  // Writes a generated text file: `content` is UTF-8 with "\n" between lines and none after
  // the last; the file gets Shift-JIS (code page 932) with CR LF between lines. Returns the
  // file's full path.
  Result<std::filesystem::path> writeText(std::string_view fileName, std::string_view content,
                                          FileAccess access = FileAccess::Shared);
  // Writes the whole command image as rsic_cmd.bin; returns its full path.
  Result<std::filesystem::path> writeCommandFile(std::span<const std::uint8_t> image);

  // The bytes this run wrote to the file `reference` names (a full path, or a name relative
  // to the folder); nullptr for any other file.
  const std::string* find(const std::filesystem::path& reference) const;
  // The name in the folder of the file `reference` names; nullopt for a file elsewhere.
  std::optional<std::string> nameInFolder(const std::filesystem::path& reference) const;
  const TransferFolder& folder() const { return folder_; }

 private:
  Status write(std::string_view fileName, std::string bytes, FileAccess access);

  const TransferFolder& folder_;
  std::map<std::string, std::string, std::less<>> written_;  // by file name
};

// Refuses, before a run writes anything, when one of its files' names is taken by something
// it may not replace (see TransferFolder::checkReplaceable).
Status checkTransferFiles(const TransferFolder& folder,
                          std::initializer_list<std::string_view> names);

// Empties this user's file in place (the FTP script after a retrieval); a missing file stays
// missing, and one of another user or not a regular file is refused and left as it is.
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
