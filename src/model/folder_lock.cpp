#include "model/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <string>
#include <system_error>
#include <thread>

namespace drovik {

namespace {

// Transactions on worker threads read it while a test may change it.
std::atomic<std::chrono::milliseconds::rep> waitLimitMs{10'000};
constexpr auto kLockRetryInterval = std::chrono::milliseconds(5);

std::string withCause(const std::string& what, const std::filesystem::path& path, int error) {
  return what + ": " + path.string() + "（" + std::generic_category().message(error) + "）";
}

}  // namespace

Result<FolderLock> FolderLock::acquire(const std::filesystem::path& folder) {
  const std::filesystem::path lockPath = folder / kFolderLockName;
  FileDescriptor lock = openFile(lockPath, O_RDWR | O_CREAT | O_NOFOLLOW, 0666);
  // flock works on read-only descriptors too, which helps when another user created the file.
  if (!lock.valid() && errno == EACCES) lock = openFile(lockPath, O_RDONLY | O_NOFOLLOW);
  if (!lock.valid()) return Error{withCause("ロックファイルを作成できません", lockPath, errno)};

  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(waitLimitMs.load());
  while (::flock(lock.get(), LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK)
      return Error{withCause("ファイルをロックできません", lockPath, errno)};
    if (std::chrono::steady_clock::now() >= deadline)
      return Error{"ほかの処理がファイルを使用中のため、ロックを取得できません: " +
                   lockPath.string()};
    std::this_thread::sleep_for(kLockRetryInterval);
  }
  return FolderLock(std::move(lock));
}

std::chrono::milliseconds FolderLock::setWaitLimit(std::chrono::milliseconds limit) {
  return std::chrono::milliseconds(waitLimitMs.exchange(limit.count()));
}

}  // namespace drovik
