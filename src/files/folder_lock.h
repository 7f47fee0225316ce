// The write lock of a data folder. Every change to the profile files happens while holding
// it, from reading the files afresh to replacing them; readers need no lock because files are
// only ever replaced whole. One hidden file serves both profile files, so that an operation
// touching both takes one lock and two copies can never take them in opposite orders.
#pragma once

#include <chrono>
#include <filesystem>

#include "files/atomic_file.h"

namespace drovik {

inline constexpr const char* kFolderLockName = ".drovik.lock";

class FolderLock {
 public:
  // Waits up to the wait limit (ten seconds) for the lock of `folder`; an Error names the
  // lock file.
  static Result<FolderLock> acquire(const std::filesystem::path& folder);
  // Changes the wait limit of every later acquire in this process and returns the previous
  // one: tests of a held lock need not wait the full ten seconds.
  static std::chrono::milliseconds setWaitLimit(std::chrono::milliseconds limit);

 private:
  explicit FolderLock(FileDescriptor fd) : fd_(std::move(fd)) {}
  FileDescriptor fd_;  // flock is released when the descriptor closes
};

}  // namespace drovik
