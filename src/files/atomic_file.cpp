#include "files/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <string>
#include <system_error>
#include <utility>

namespace drovik {
namespace fs = std::filesystem;

FileDescriptor::~FileDescriptor() {
  if (fd_ >= 0) ::close(fd_);
}
FileDescriptor::FileDescriptor(FileDescriptor&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)) {}
FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
  std::swap(fd_, other.fd_);
  return *this;
}
int FileDescriptor::close() {
  const int result = ::close(std::exchange(fd_, -1));
  return result == 0 ? 0 : errno;
}

FileDescriptor openFile(const fs::path& path, int flags, mode_t mode) {
  int fd = -1;
  do {
    fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  return FileDescriptor(fd);
}

namespace {

constexpr std::size_t kFaultCount = static_cast<std::size_t>(WriteFault::HardLink) + 1;
// Per step, how many times it may still come before it fails; 0 when not armed.
thread_local std::array<int, kFaultCount> faultCountdown{};

// True (and the fault consumed) when the test seam wants this step to fail.
bool faultInjectedAt(WriteFault step) {
  int& countdown = faultCountdown[static_cast<std::size_t>(step)];
  return countdown > 0 && --countdown == 0;
}

Error saveError(const fs::path& target, const std::string& step, int error) {
  return Error{"ファイルを保存できません: " + target.string() + "（" + step + ": " +
               std::generic_category().message(error) + "）"};
}

fs::path directoryOf(const fs::path& target) {
  return target.has_parent_path() ? target.parent_path() : fs::path(".");
}

// errno of the first failure, 0 when everything was written.
int writeAll(int fd, std::string_view bytes) {
  // The injected fault stops half-way, as a full disk does.
  const bool shortWrite = faultInjectedAt(WriteFault::Write);
  const std::size_t limit = shortWrite ? bytes.size() / 2 : bytes.size();
  std::size_t done = 0;
  while (done < limit) {
    const ssize_t count = ::write(fd, bytes.data() + done, limit - done);
    if (count < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (count == 0) return ENOSPC;
    done += static_cast<std::size_t>(count);
  }
  return shortWrite ? ENOSPC : 0;
}

// Gives the new file the old one's owner and permission bits.
int copyOwnerAndMode(int fd, const struct stat& old) {
  if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
    // Only root may give a file away; for others keeping the mode is what matters, so a
    // refused change of owner is no failure.
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
    }
  }
  return ::fchmod(fd, old.st_mode & 07777) == 0 ? 0 : errno;
}

std::string temporaryPrefix(const fs::path& target) {
  return "." + target.filename().string() + ".tmp";
}
// The old file kept while a commit is under way; never read, only put back.
std::string keptPrefix(const fs::path& target) { return "." + target.filename().string() + ".old"; }

std::atomic<unsigned long> nameCounter{0};

// A private name beside `target`, unique within this process.
fs::path privateName(const fs::path& target, const std::string& prefix) {
  return directoryOf(target) /
         (prefix + std::to_string(::getpid()) + "-" + std::to_string(nameCounter++));
}

FileDescriptor createTemporary(const fs::path& target, fs::path& tempPath) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = privateName(target, temporaryPrefix(target));
    if (faultInjectedAt(WriteFault::CreateTemporary)) {
      errno = EACCES;
      return {};
    }
    FileDescriptor file = openFile(tempPath, O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (file.valid() || errno != EEXIST) return file;
  }
  return {};
}

// errno of rename(2), 0 on success.
int renameOver(const fs::path& from, const fs::path& to) {
  if (faultInjectedAt(WriteFault::Rename)) return EIO;
  return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

// Makes the renames in the target's folder durable; errno when that failed. A folder we may
// not open, or one whose file system cannot sync folders, is not worth failing a save for.
int syncDirectoryOf(const fs::path& target) {
  if (faultInjectedAt(WriteFault::DirectorySync)) return EIO;
  const FileDescriptor directory = openFile(directoryOf(target), O_RDONLY | O_DIRECTORY);
  if (!directory.valid() || ::fsync(directory.get()) == 0 || errno == EINVAL) return 0;
  return errno;
}

}  // namespace

void injectWriteFaultForTesting(WriteFault fault, int occurrence) {
  if (fault == WriteFault::None) {
    faultCountdown.fill(0);
    return;
  }
  faultCountdown[static_cast<std::size_t>(fault)] = occurrence;
}

void removeStaleTemporaries(const fs::path& target) {
  const std::string prefixes[] = {temporaryPrefix(target), keptPrefix(target)};
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(directoryOf(target), ec)) {
    const std::string name = entry.path().filename().string();
    for (const std::string& prefix : prefixes)
      if (name.rfind(prefix, 0) == 0 && entry.is_regular_file(ec)) fs::remove(entry.path(), ec);
  }
}

Result<PendingReplacement> PendingReplacement::prepare(const fs::path& target,
                                                       std::string_view bytes) {
  struct stat old {};
  const bool existed = ::stat(target.c_str(), &old) == 0;
  if (existed && S_ISDIR(old.st_mode))
    return Error{"ファイルの場所にフォルダーがあるため保存できません: " + target.string()};
  fs::path tempPath;
  FileDescriptor file = createTemporary(target, tempPath);
  if (!file.valid()) return saveError(target, "一時ファイルの作成", errno);
  PendingReplacement pending(target, tempPath);

  if (existed && S_ISREG(old.st_mode)) {
    if (const int error = copyOwnerAndMode(file.get(), old)) {
      return saveError(target, "権限の設定", error);
    }
  }
  if (const int error = writeAll(file.get(), bytes)) return saveError(target, "書き込み", error);
  const int syncError = faultInjectedAt(WriteFault::Sync) ? EIO
                        : ::fsync(file.get()) == 0        ? 0
                                                          : errno;
  if (syncError != 0) return saveError(target, "ディスクへの書き出し", syncError);
  if (const int error = file.close()) return saveError(target, "書き込み", error);
  return pending;
}

PendingReplacement::~PendingReplacement() {
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

PendingReplacement::PendingReplacement(PendingReplacement&& other) noexcept
    : target_(std::move(other.target_)), temporary_(std::exchange(other.temporary_, {})) {}

Status PendingReplacement::commit() {
  if (const int error = renameOver(temporary_, target_))
    return saveError(target_, "置き換え", error);
  temporary_.clear();
  if (const int error = syncDirectoryOf(target_)) {
    return Error{"ファイルは保存しましたが、フォルダーへの反映を確定できません: " +
                 target_.string() + "（" + std::generic_category().message(error) + "）"};
  }
  return {};
}

namespace {

// A file replaced by a commit under way, and where its old file waits meanwhile (empty when
// there was none).
struct Replaced {
  fs::path target;
  fs::path kept;
};

// errno of the first failure, 0 when `bytes` holds the whole file.
int readWhole(const fs::path& path, std::string& bytes) {
  const FileDescriptor file = openFile(path, O_RDONLY | O_NOCTTY | O_NONBLOCK);
  if (!file.valid()) return errno;
  char buffer[65536];
  while (true) {
    const ssize_t count = ::read(file.get(), buffer, sizeof buffer);
    if (count < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (count == 0) return 0;
    bytes.append(buffer, static_cast<std::size_t>(count));
  }
}

// Keeps the target's current file under a private name, to put back should the commit fail:
// a second hard link, which keeps the very file with its owner and mode, or where the file
// system has none, a synced copy. An empty path when there is no file to keep.
Result<fs::path> keepOld(const fs::path& target) {
  int error = EEXIST;
  for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
    const fs::path kept = privateName(target, keptPrefix(target));
    error = faultInjectedAt(WriteFault::HardLink)       ? EPERM
            : ::link(target.c_str(), kept.c_str()) == 0 ? 0
                                                        : errno;
    if (error == 0) return kept;
    if (error == ENOENT) return fs::path();
  }
  std::string bytes;
  if (const int readError = readWhole(target, bytes)) {
    if (readError == ENOENT) return fs::path();
    return saveError(target, "元のファイルの退避", readError);
  }
  auto copy = PendingReplacement::prepare(target, bytes);
  if (!copy) return copy.error();
  return copy->release();
}

// Undoes the replacements, the last first, and says so in the error that caused it.
Error putBack(std::vector<Replaced>& replaced, Error cause) {
  std::string failures;
  for (auto it = replaced.rbegin(); it != replaced.rend(); ++it) {
    const int result = it->kept.empty() ? ::unlink(it->target.c_str())
                                        : ::rename(it->kept.c_str(), it->target.c_str());
    if (result == 0) continue;
    const int error = errno;
    failures += "。" + it->target.string() + " を元に戻せません（" +
                std::generic_category().message(error) + "）";
    if (!it->kept.empty()) failures += "。元の内容は " + it->kept.string() + " にあります";
  }
  for (const Replaced& file : replaced) static_cast<void>(syncDirectoryOf(file.target));
  return Error{cause.message + failures};
}

}  // namespace

fs::path PendingReplacement::release() { return std::exchange(temporary_, {}); }

Status commitTogether(std::vector<PendingReplacement>& replacements) {
  std::vector<Replaced> replaced;
  for (PendingReplacement& replacement : replacements) {
    auto kept = keepOld(replacement.target_);
    if (!kept) return putBack(replaced, kept.error());
    if (const int error = renameOver(replacement.temporary_, replacement.target_)) {
      if (!kept->empty()) ::unlink(kept->c_str());
      return putBack(replaced, saveError(replacement.target_, "置き換え", error));
    }
    replacement.temporary_.clear();
    replaced.push_back({replacement.target_, std::move(*kept)});
    // Synced one by one, so that even a power cut never shows a later file without the
    // earlier one.
    if (const int error = syncDirectoryOf(replacement.target_))
      return putBack(replaced, saveError(replacement.target_, "フォルダーへの反映", error));
  }
  for (const Replaced& file : replaced)
    if (!file.kept.empty()) ::unlink(file.kept.c_str());
  return {};
}

Status writeFileAtomically(const fs::path& target, std::string_view bytes) {
  auto pending = PendingReplacement::prepare(target, bytes);
  if (!pending) return pending.error();
  return pending->commit();
}

}  // namespace drovik
