#include "transport/generated_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "model/text_codec.h"
#include "transport/ipv4_address.h"

namespace drovik::transport {
namespace {

Error notWritten(const std::filesystem::path& path, int error) {
  return Error{"ファイル「" + path.string() + "」を書き込めませんでした（" + std::strerror(error) +
               "）"};
}

// Replaces the file's content. O_NOFOLLOW: a link planted in the program directory must not
// redirect the password elsewhere.
Status writeBytes(const std::filesystem::path& path, std::string_view bytes, FileAccess access) {
  const mode_t mode = access == FileAccess::OwnerOnly ? 0600 : 0666;
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, mode);
  if (fd < 0) return notWritten(path, errno);
  // An older file keeps its permissions through O_CREAT; narrow them before the content lands.
  if (access == FileAccess::OwnerOnly && ::fchmod(fd, 0600) != 0) {
    const int error = errno;
    ::close(fd);
    return notWritten(path, error);
  }
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const int error = n < 0 ? errno : EIO;
      ::close(fd);
      return notWritten(path, error);
    }
    written += static_cast<std::size_t>(n);
  }
  if (::close(fd) != 0) return notWritten(path, errno);
  return {};
}

std::string joinLines(std::initializer_list<std::string_view> lines) {
  std::string text;
  bool first = true;
  for (std::string_view line : lines) {
    if (!first) text += '\n';
    text += line;
    first = false;
  }
  return text;
}

}  // namespace

Result<std::filesystem::path> writeGeneratedText(const std::filesystem::path& programDir,
                                                 std::string_view fileName,
                                                 std::string_view content, FileAccess access) {
  // The full path: batch files name their companions by it.
  std::error_code ec;
  const std::filesystem::path path = std::filesystem::absolute(programDir / fileName, ec);
  auto encoded = ini::utf8ToCp932(content);
  if (!encoded)
    return Error{"ファイル「" + path.string() + "」を書き込めません: " + encoded.message()};
  std::string bytes;
  bytes.reserve(encoded->size() + 16);
  for (char c : *encoded) {
    if (c == '\n') bytes += '\r';
    bytes += c;
  }
  if (Status s = writeBytes(path, bytes, access); !s) return s.error();
  return path;
}

Result<std::filesystem::path> writeCommandFile(const std::filesystem::path& programDir,
                                               std::span<const std::uint8_t> image) {
  std::error_code ec;
  const std::filesystem::path path = std::filesystem::absolute(programDir / kCommandFileName, ec);
  const std::string_view bytes(reinterpret_cast<const char*>(image.data()), image.size());
  if (Status s = writeBytes(path, bytes, FileAccess::Shared); !s) return s.error();
  return path;
}

Status emptyFile(const std::filesystem::path& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return errno == ENOENT ? Status{} : notWritten(path, errno);
  if (::close(fd) != 0) return notWritten(path, errno);
  return {};
}

std::string parallelBatchText(const std::filesystem::path& commandFile) {
  return "copy /b \"" + commandFile.string() + "\" lpt1";
}

std::string ftpBatchText() {
  return "ftp -i -s:" + std::string(kFtpScriptName) + " > " + std::string(kFtpLogName);
}

Result<std::string> sendScriptText(const Ipv4Octets& address) {
  const auto host = addressText(address);
  if (!host) return host.error();
  const std::string open = "open " + *host;
  const std::string put = "put " + std::string(kCommandFileName);
  return joinLines({open, "root", "", "bin", put, "bye"});
}

Result<std::string> retrievalScriptText(const Ipv4Octets& address, std::string_view password) {
  const auto host = addressText(address);
  if (!host) return host.error();
  const std::string open = "open " + *host;
  return joinLines({open, "root", password, "bin", "cd pr_setup", "get nvr_all.bin rnvr_all.bin",
                    "get nvr_nw.bin rnvr_nw.bin", "bye"});
}

}  // namespace drovik::transport
