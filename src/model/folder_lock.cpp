#include "model/folder_lock.h"

#include <chrono>

#include "model/file_lock.h"

namespace drovik {

namespace {

constexpr auto kLockTimeout = std::chrono::seconds(10);

}  // namespace

Result<FolderLock> FolderLock::acquire(const std::filesystem::path& folder) {
  const std::filesystem::path lockPath = folder / kFolderLockName;
  const auto deadline = std::chrono::steady_clock::now() + kLockTimeout;
  auto lock = takeFileLock(lockPath, [&]() -> Status {
    if (std::chrono::steady_clock::now() < deadline) return {};
    return Error{"ほかの処理がファイルを使用中のため、ロックを取得できません: " +
                 lockPath.string()};
  });
  if (!lock) return lock.error();
  return FolderLock(std::move(*lock));
}

}  // namespace drovik
