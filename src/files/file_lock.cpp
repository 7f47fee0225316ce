#include "files/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <system_error>
#include <thread>

namespace drovik {

namespace {

constexpr auto kLockRetryInterval = std::chrono::milliseconds(5);

std::string withCause(const std::string& what, const std::filesystem::path& path, int error) {
  return what + ": " + path.string() + "（" + std::generic_category().message(error) + "）";
}

FileDescriptor openLockFile(const std::filesystem::path& lockPath) {
  FileDescriptor lock = openFile(lockPath, O_RDWR | O_CREAT | O_NOFOLLOW, 0666);
  // flock works on read-only descriptors too, which helps when another user created the file.
  if (!lock.valid() && errno == EACCES) lock = openFile(lockPath, O_RDONLY | O_NOFOLLOW);
  return lock;
}

}  // namespace

Result<FileDescriptor> takeFileLock(const std::filesystem::path& lockPath,
                                    const std::function<Status()>& whileBusy) {
  FileDescriptor lock = openLockFile(lockPath);
  if (!lock.valid()) return Error{withCause("ロックファイルを作成できません", lockPath, errno)};
  while (::flock(lock.get(), LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK)
      return Error{withCause("ファイルをロックできません", lockPath, errno)};
    if (Status verdict = whileBusy(); !verdict) return verdict.error();
    std::this_thread::sleep_for(kLockRetryInterval);
  }
  return lock;
}

FileDescriptor tryFileLock(const std::filesystem::path& lockPath) {
  FileDescriptor lock = openLockFile(lockPath);
  if (!lock.valid()) return lock;
  while (::flock(lock.get(), LOCK_EX | LOCK_NB) != 0) {
    if (errno != EINTR) return FileDescriptor();
  }
  return lock;
}

}  // namespace drovik
