// The program folder as the transfers use it. The folder may be shared with other users, so
// every file is made afresh under a private temporary name (created exclusively, never through
// a link) and renamed onto its fixed name; an entry of that name that belongs to another user
// or is not a regular file is refused instead of being replaced or written through.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "files/status.h"

namespace drovik::transport {

class TransferFolder;

// Writes all of bytes to fd, retrying after interruptions; false (errno set) when the file
// could not take them.
bool writeAllBytes(int fd, std::string_view bytes);

// A file being made under a private temporary name: removed unless it is published. Its
// folder must outlive it.
class PrivateFile {
 public:
  PrivateFile(PrivateFile&& other) noexcept;
  PrivateFile& operator=(PrivateFile&&) = delete;
  ~PrivateFile();

  int fd() const { return fd_; }
  bool writeAll(std::string_view bytes) { return writeAllBytes(fd_, bytes); }
  // Closes the file; a failure means the content may not all have reached it.
  Status close(std::string_view name);
  // Renames the file onto `name` in its folder; it may still be written while it is open.
  Status publish(std::string_view name);

 private:
  friend class TransferFolder;
  PrivateFile(int dirFd, std::filesystem::path dir, int fd, std::string temporaryName);
  void discard();

  int dirFd_;
  std::filesystem::path dir_;
  int fd_;
  std::string temporaryName_;
};

class TransferFolder {
 public:
  static Result<TransferFolder> open(const std::filesystem::path& dir);
  TransferFolder(TransferFolder&& other) noexcept;
  TransferFolder& operator=(TransferFolder&&) = delete;
  ~TransferFolder();

  // The folder's absolute path, and that of a file in it.
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path pathOf(std::string_view name) const { return path_ / name; }

  // Succeeds when `name` is absent or a regular file of this user: one that may be replaced.
  Status checkReplaceable(std::string_view name) const;
  // A new private file (mode, narrowed by the umask) for what will become `name`.
  Result<PrivateFile> createPrivate(std::string_view name, mode_t mode) const;
  // `name` afresh with exactly `bytes`.
  Status replace(std::string_view name, std::string_view bytes, mode_t mode) const;
  // Empties this user's regular file `name` in place, so that no other name of the same file
  // keeps the content; an absent file stays absent.
  Status truncate(std::string_view name) const;
  // Removes this user's file `name`; an absent file is no error.
  Status remove(std::string_view name) const;

 private:
  TransferFolder(int fd, std::filesystem::path path) : fd_(fd), path_(std::move(path)) {}

  int fd_;
  std::filesystem::path path_;
};

}  // namespace drovik::transport
