// Opening a file that someone else may have put in place of ours: never through a symbolic
// link, never waiting on a FIFO or a terminal, and only this user's regular file. The checks
// are made on the opened file itself, so that the name cannot be swapped in between.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>

#include "files/atomic_file.h"

namespace drovik {

// Why a file was not opened; each caller words it for its own file.
enum class SafeOpenFailure {
  None,
  Open,        // open(2) failed: `error` says why (ENOENT: no such file)
  Link,        // the name is a symbolic link
  Special,     // open(2) refused a directory, a socket or a FIFO without a reader
  Inspect,     // fstat(2) of the opened file failed: `error` says why
  NotRegular,  // opened, but not a regular file
  OthersFile,  // another user's file
};

struct SafelyOpenedFile {
  FileDescriptor fd;  // valid only when nothing failed
  struct stat info {};
  SafeOpenFailure failure = SafeOpenFailure::None;
  int error = 0;  // the errno of a failed open(2) or fstat(2)

  explicit operator bool() const { return failure == SafeOpenFailure::None; }
};

// openat(2) of `name` relative to `dirFd` (AT_FDCWD: the working folder, or an absolute path)
// with `flags` and O_NOFOLLOW, O_NONBLOCK, O_NOCTTY and O_CLOEXEC added; `mode` for O_CREAT.
SafelyOpenedFile openSafely(int dirFd, const std::filesystem::path& name, int flags,
                            mode_t mode = 0);

inline SafelyOpenedFile openSafely(const std::filesystem::path& path, int flags) {
  return openSafely(AT_FDCWD, path, flags);
}

}  // namespace drovik
