#include "files/folder_lock.h"

#include <atomic>
#include <chrono>

#include "files/file_lock.h"

namespace drovik {

namespace {

// Transactions on worker threads read it while a test may change it.
std::atomic<std::chrono::milliseconds::rep> waitLimitMs{10'000};

}  // namespace

Result<FolderLock> FolderLock::acquire(const std::filesystem::path& folder) {
  const std::filesystem::path lockPath = folder / kFolderLockName;
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(waitLimitMs.load());
  auto lock = takeFileLock(lockPath, [&]() -> Status {
    if (std::chrono::steady_clock::now() < deadline) return {};
    return Error{"ほかの処理がファイルを使用中のため、ロックを取得できません: " +
                 lockPath.string()};
  });
  if (!lock) return lock.error();
  return FolderLock(std::move(*lock));
}

std::chrono::milliseconds FolderLock::setWaitLimit(std::chrono::milliseconds limit) {
  return std::chrono::milliseconds(waitLimitMs.exchange(limit.count()));
}

}  // namespace drovik
