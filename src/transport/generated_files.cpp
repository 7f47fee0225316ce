#include "transport/generated_files.h"

#include "ini/text_codec.h"
#include "transport/ipv4_address.h"

namespace drovik::transport {
namespace {

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

Status GeneratedFiles::write(std::string_view fileName, std::string bytes, FileAccess access) {
  // Batches and the command file keep the usual permissions; the script may hold a password.
  const mode_t mode = access == FileAccess::OwnerOnly ? 0600 : 0666;
  if (Status s = folder_.replace(fileName, bytes, mode); !s) return s;
  written_.insert_or_assign(std::string(fileName), std::move(bytes));
  return {};
}

Result<std::filesystem::path> GeneratedFiles::writeText(std::string_view fileName,
                                                        std::string_view content,
                                                        FileAccess access) {
  const std::filesystem::path path = folder_.pathOf(fileName);
  auto encoded = ini::utf8ToCp932(content);
  if (!encoded)
    return Error{"ファイル「" + path.string() + "」を書き込めません: " + encoded.message()};
  std::string bytes;
  bytes.reserve(encoded->size() + 16);
  for (char c : *encoded) {
    if (c == '\n') bytes += '\r';
    bytes += c;
  }
  if (Status s = write(fileName, std::move(bytes), access); !s) return s.error();
  return path;
}

Result<std::filesystem::path> GeneratedFiles::writeCommandFile(
    std::span<const std::uint8_t> image) {
  std::string bytes(reinterpret_cast<const char*>(image.data()), image.size());
  if (Status s = write(kCommandFileName, std::move(bytes), FileAccess::Shared); !s)
    return s.error();
  return folder_.pathOf(kCommandFileName);
}

std::optional<std::string> GeneratedFiles::nameInFolder(
    const std::filesystem::path& reference) const {
  const std::filesystem::path full = (folder_.path() / reference).lexically_normal();
  if (!full.has_filename() || full.parent_path() != folder_.path()) return std::nullopt;
  return full.filename().string();
}

const std::string* GeneratedFiles::find(const std::filesystem::path& reference) const {
  const auto name = nameInFolder(reference);
  if (!name) return nullptr;
  const auto it = written_.find(*name);
  return it == written_.end() ? nullptr : &it->second;
}

Status checkTransferFiles(const TransferFolder& folder,
                          std::initializer_list<std::string_view> names) {
  for (std::string_view name : names)
    if (Status s = folder.checkReplaceable(name); !s) return s;
  return {};
}

Status emptyFile(const std::filesystem::path& path) {
  auto folder = TransferFolder::open(path.parent_path());
  if (!folder) return folder.status();
  return folder->truncate(path.filename().string());
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
