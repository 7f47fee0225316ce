#include "ini/ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "files/folder_lock.h"

namespace drovik::ini {
namespace fs = std::filesystem;
namespace {

constexpr std::size_t kMaxFileSize = std::size_t{256} * 1024 * 1024;
constexpr int kMaxLinkHops = 40;

std::string withCause(const std::string& what, const fs::path& path, int error) {
  return what + ": " + path.string() + "（" + std::generic_category().message(error) + "）";
}

// Follows symbolic links so that the link itself survives the rename over its target.
Result<fs::path> resolveLinks(const fs::path& path) {
  fs::path current = path;
  for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(current, error);
    if (error || !fs::is_symlink(status)) return current;
    const fs::path target = fs::read_symlink(current, error);
    if (error)
      return Error{withCause("シンボリックリンクを読み取れません", current, error.value())};
    current = target.is_absolute() ? target : current.parent_path() / target;
  }
  return Error{"シンボリックリンクをたどりきれません（循環しています）: " + path.string()};
}

fs::path directoryOf(const fs::path& target) {
  return target.has_parent_path() ? target.parent_path() : fs::path(".");
}

Error tooLarge(const fs::path& target) {
  return Error{"ファイルが大きすぎるため読み込めません（上限 256 MiB）: " + target.string()};
}

Result<IniDocument> readDocument(const fs::path& target) {
  // O_NONBLOCK keeps a FIFO in place of the file from blocking the open.
  const FileDescriptor file = openFile(target, O_RDONLY | O_NOCTTY | O_NONBLOCK);
  if (!file.valid()) {
    if (errno == ENOENT) return IniDocument();
    return Error{withCause("ファイルを読み込めません", target, errno)};
  }
  struct stat info {};
  if (::fstat(file.get(), &info) != 0) {
    return Error{withCause("ファイルを読み込めません", target, errno)};
  }
  if (S_ISDIR(info.st_mode)) {
    return Error{"ファイルの場所にフォルダーがあるため読み込めません: " + target.string()};
  }
  if (!S_ISREG(info.st_mode)) {
    return Error{"通常のファイルではないため読み込めません: " + target.string()};
  }
  const auto reported = static_cast<std::size_t>(info.st_size);
  if (reported > kMaxFileSize) return tooLarge(target);
  // One spare byte reveals a file that grew since fstat.
  std::string bytes(reported + 1, '\0');
  std::size_t filled = 0;
  while (true) {
    if (filled == bytes.size()) {
      if (filled > kMaxFileSize) return tooLarge(target);
      bytes.resize(std::min(bytes.size() * 2, kMaxFileSize + 1));
    }
    const ssize_t count = ::read(file.get(), bytes.data() + filled, bytes.size() - filled);
    if (count < 0) {
      if (errno == EINTR) continue;
      return Error{withCause("ファイルを読み込めません", target, errno)};
    }
    if (count == 0) break;
    filled += static_cast<std::size_t>(count);
  }
  bytes.resize(filled);
  return IniDocument::parse(std::move(bytes));
}

}  // namespace

IniFile::IniFile(fs::path path) : path_(std::move(path)) {}

Result<IniDocument> IniFile::read() const {
  Result<fs::path> target = resolveLinks(path_);
  if (!target) return target.error();
  return readDocument(*target);
}

Status IniFile::write(const IniDocument& document) const {
  auto pending = prepareWrite(document);
  if (!pending) return pending.error();
  std::vector<PendingReplacement> replacement;
  replacement.push_back(std::move(*pending));
  return commitTogether(replacement);
}

Result<PendingReplacement> IniFile::prepareWrite(const IniDocument& document) const {
  Result<fs::path> target = resolveLinks(path_);
  if (!target) return target.error();
  removeStaleTemporaries(*target);
  return PendingReplacement::prepare(*target, document.serialize());
}

Status IniFile::update(const std::function<Status(IniDocument&)>& edit) const {
  auto lock = FolderLock::acquire(directoryOf(path_));
  if (!lock) return lock.error();
  Result<IniDocument> document = read();
  if (!document) return document.error();
  // The document does not know its file; name it for the operator.
  if (Status edited = edit(*document); !edited)
    return Error{path_.string() + ": " + edited.message()};
  if (!document->modified()) return {};
  return write(*document);
}

}  // namespace drovik::ini
