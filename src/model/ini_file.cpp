#include "model/ini_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <string>
#include <system_error>
#include <thread>
#include <utility>

namespace drovik::ini {
namespace fs = std::filesystem;
namespace {

constexpr std::size_t kMaxFileSize = std::size_t{256} * 1024 * 1024;
constexpr auto kLockTimeout = std::chrono::seconds(10);
constexpr auto kLockRetryInterval = std::chrono::milliseconds(10);
constexpr int kMaxLinkHops = 40;

thread_local WriteFault injectedFault = WriteFault::None;

// True (and the fault consumed) when the test seam wants this step to fail.
bool faultInjectedAt(WriteFault step) {
  if (injectedFault != step) return false;
  injectedFault = WriteFault::None;
  return true;
}

std::string withCause(const std::string& what, const fs::path& path, int error) {
  return what + ": " + path.string() + "（" + std::generic_category().message(error) + "）";
}

Error saveError(const fs::path& target, const std::string& step, int error) {
  return Error{"ファイルを保存できません: " + target.string() + "（" + step + ": " +
               std::generic_category().message(error) + "）"};
}

class FileDescriptor {
 public:
  FileDescriptor() = default;
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  FileDescriptor& operator=(FileDescriptor&& other) noexcept {
    std::swap(fd_, other.fd_);
    return *this;
  }

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }

  // Returns the errno of close(), which can carry a write error deferred by the filesystem.
  int close() {
    const int result = ::close(std::exchange(fd_, -1));
    return result == 0 ? 0 : errno;
  }

 private:
  int fd_ = -1;
};

FileDescriptor openFile(const fs::path& path, int flags, mode_t mode = 0) {
  int fd = -1;
  do {
    fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  return FileDescriptor(fd);
}

// Removes the temporary file unless it was renamed into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(fs::path path) : path_(std::move(path)) {}
  ~TemporaryFile() {
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  void keep() { path_.clear(); }

 private:
  fs::path path_;
};

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

fs::path lockPathOf(const fs::path& target) {
  fs::path lock = target;
  lock += ".lock";
  return lock;
}

// flock works on read-only descriptors too, which helps when another user created the file.
FileDescriptor openLockFile(const fs::path& lockPath) {
  FileDescriptor lock = openFile(lockPath, O_RDWR | O_CREAT, 0666);
  if (!lock.valid() && errno == EACCES) lock = openFile(lockPath, O_RDONLY);
  return lock;
}

Status acquireLock(const FileDescriptor& lock, int operation, const fs::path& lockPath) {
  const auto deadline = std::chrono::steady_clock::now() + kLockTimeout;
  while (::flock(lock.get(), operation | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK)
      return Error{withCause("ファイルをロックできません", lockPath, errno)};
    if (std::chrono::steady_clock::now() >= deadline) {
      return Error{"ほかの処理がファイルを使用中のため、ロックを取得できません: " +
                   lockPath.string()};
    }
    std::this_thread::sleep_for(kLockRetryInterval);
  }
  return {};
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

// Temporary files are only made under the exclusive lock, so any found while holding it
// were left by a writer that was killed mid-save.
void removeStaleTemporaries(const fs::path& target) {
  const std::string prefix = temporaryPrefix(target);
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(directoryOf(target), ec)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind(prefix, 0) == 0 && entry.is_regular_file(ec)) fs::remove(entry.path(), ec);
  }
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

// Temporary file in the same directory, fsync, rename over the target, fsync the directory:
// readers see either the old or the new file, never a partial one.
Status writeAtomically(const fs::path& target, std::string_view bytes) {
  struct stat old {};
  const bool existed = ::stat(target.c_str(), &old) == 0;
  fs::path tempPath;
  FileDescriptor file = createTemporary(target, tempPath);
  if (!file.valid()) return saveError(target, "一時ファイルの作成", errno);
  TemporaryFile temporary(tempPath);

  if (existed) {
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
  const int renameError = faultInjectedAt(WriteFault::Rename)               ? EIO
                          : ::rename(tempPath.c_str(), target.c_str()) == 0 ? 0
                                                                            : errno;
  if (renameError != 0) return saveError(target, "置き換え", renameError);
  temporary.keep();

  // Makes the rename itself durable. A directory we may not open cannot be synced; that is
  // not worth failing a save that has already happened.
  const FileDescriptor directory = openFile(directoryOf(target), O_RDONLY | O_DIRECTORY);
  if (directory.valid() && ::fsync(directory.get()) != 0 && errno != EINVAL) {
    return Error{
        withCause("ファイルは保存しましたが、フォルダーへの反映を確定できません", target, errno)};
  }
  return {};
}

}  // namespace

void injectWriteFaultForTesting(WriteFault fault) { injectedFault = fault; }

IniFile::IniFile(fs::path path) : path_(std::move(path)) {}

Result<IniDocument> IniFile::read() const {
  Result<fs::path> target = resolveLinks(path_);
  if (!target) return target.error();
  // Readers lock when they can; a read-only folder must not make the file unreadable.
  const fs::path lockPath = lockPathOf(*target);
  const FileDescriptor lock = openLockFile(lockPath);
  if (lock.valid()) {
    if (Status locked = acquireLock(lock, LOCK_SH, lockPath); !locked) return locked.error();
  }
  return readDocument(*target);
}

Status IniFile::update(const std::function<Status(IniDocument&)>& edit) const {
  Result<fs::path> target = resolveLinks(path_);
  if (!target) return target.error();
  const fs::path lockPath = lockPathOf(*target);
  const FileDescriptor lock = openLockFile(lockPath);
  if (!lock.valid()) return Error{withCause("ロックファイルを作成できません", lockPath, errno)};
  if (Status locked = acquireLock(lock, LOCK_EX, lockPath); !locked) return locked;

  Result<IniDocument> document = readDocument(*target);
  if (!document) return document.error();
  // The document does not know its file; name it for the operator.
  if (Status edited = edit(*document); !edited)
    return Error{path_.string() + ": " + edited.message()};
  if (!document->modified()) return {};
  removeStaleTemporaries(*target);
  return writeAtomically(*target, document->serialize());
}

}  // namespace drovik::ini
