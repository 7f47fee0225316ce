#include "model/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

thread_local WriteFault injectedFault = WriteFault::None;

// True (and the fault consumed) when the test seam wants this step to fail.
bool faultInjectedAt(WriteFault step) {
  if (injectedFault != step) return false;
  injectedFault = WriteFault::None;
  return true;
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
    // Only root may give a file away; for others keeping the mode is what matters.
    static_cast<void>(::fchown(fd, old.st_uid, old.st_gid));
  }
  return ::fchmod(fd, old.st_mode & 07777) == 0 ? 0 : errno;
}

std::string temporaryPrefix(const fs::path& target) {
  return "." + target.filename().string() + ".tmp";
}

FileDescriptor createTemporary(const fs::path& target, fs::path& tempPath) {
  static std::atomic<unsigned long> counter{0};
  const fs::path directory = directoryOf(target);
  const std::string prefix = temporaryPrefix(target) + std::to_string(::getpid());
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = directory / (prefix + "-" + std::to_string(counter++));
    if (faultInjectedAt(WriteFault::CreateTemporary)) {
      errno = EACCES;
      return {};
    }
    FileDescriptor file = openFile(tempPath, O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (file.valid() || errno != EEXIST) return file;
  }
  return {};
}

}  // namespace

void injectWriteFaultForTesting(WriteFault fault) { injectedFault = fault; }

void removeStaleTemporaries(const fs::path& target) {
  const std::string prefix = temporaryPrefix(target);
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(directoryOf(target), ec)) {
    const std::string name = entry.path().filename().string();
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
  const int renameError = faultInjectedAt(WriteFault::Rename)                      ? EIO
                          : ::rename(temporary_.c_str(), target_.c_str()) == 0 ? 0
                                                                                 : errno;
  if (renameError != 0) return saveError(target_, "置き換え", renameError);
  temporary_.clear();

  // Makes the rename itself durable. A directory we may not open cannot be synced; that is
  // not worth failing a save that has already happened.
  const FileDescriptor directory = openFile(directoryOf(target_), O_RDONLY | O_DIRECTORY);
  if (directory.valid() && ::fsync(directory.get()) != 0 && errno != EINVAL) {
    return Error{"ファイルは保存しましたが、フォルダーへの反映を確定できません: " +
                 target_.string() + "（" + std::generic_category().message(errno) + "）"};
  }
  return {};
}

Status writeFileAtomically(const fs::path& target, std::string_view bytes) {
  auto pending = PendingReplacement::prepare(target, bytes);
  if (!pending) return pending.error();
  return pending->commit();
}

}  // namespace drovik
