// The folder lock held as another copy of the program holds it during a transaction, and a
// shorter wait limit for the code under test, so that a test of a lock never obtained need not
// wait the full ten seconds.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>

#include "files/folder_lock.h"

namespace drovik::test {

class HeldFolderLock {
 public:
  explicit HeldFolderLock(const std::filesystem::path& folder) {
    if (auto lock = FolderLock::acquire(folder)) lock_.emplace(std::move(*lock));
  }
  bool held() const { return lock_.has_value(); }
  void release() { lock_.reset(); }

 private:
  std::optional<FolderLock> lock_;
};

class ShortLockWait {
 public:
  explicit ShortLockWait(std::chrono::milliseconds limit)
      : previous_(FolderLock::setWaitLimit(limit)) {}
  ~ShortLockWait() { FolderLock::setWaitLimit(previous_); }
  ShortLockWait(const ShortLockWait&) = delete;
  ShortLockWait& operator=(const ShortLockWait&) = delete;

 private:
  std::chrono::milliseconds previous_;
};

}  // namespace drovik::test
