// Writing a file all or nothing, and the descriptors that do it. Profile files and command
// files are replaced this way, so a reader sees either the old or the new file, never a part.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string_view>
#include <vector>

#include "files/status.h"

namespace drovik {

// A POSIX file descriptor that closes itself.
class FileDescriptor {
 public:
  FileDescriptor() = default;
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor();
  FileDescriptor(FileDescriptor&& other) noexcept;
  FileDescriptor& operator=(FileDescriptor&& other) noexcept;

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // The errno of close(), which can carry a write error deferred by the filesystem.
  int close();

 private:
  int fd_ = -1;
};

// open(2) with O_CLOEXEC, retried on EINTR; errno tells why an invalid descriptor failed.
FileDescriptor openFile(const std::filesystem::path& path, int flags, mode_t mode = 0);

// A new content for a file, written and synced to a temporary file beside it, waiting to be
// renamed over the file. Dropped without commit, it removes the temporary file. Preparing
// every file of a change first lets a failure (full disk) leave all of them untouched.
class PendingReplacement {
 public:
  // The old file's permission bits and owner carry over to the new one.
  static Result<PendingReplacement> prepare(const std::filesystem::path& target,
                                            std::string_view bytes);
  ~PendingReplacement();
  PendingReplacement(PendingReplacement&& other) noexcept;
  PendingReplacement& operator=(PendingReplacement&&) = delete;

  // Renames the temporary file over the target and syncs the folder.
  Status commit();
  // Hands the temporary file over to the caller, who then removes or renames it.
  std::filesystem::path release();

 private:
  friend Status commitTogether(std::vector<PendingReplacement>& replacements);
  PendingReplacement(std::filesystem::path target, std::filesystem::path temporary)
      : target_(std::move(target)), temporary_(std::move(temporary)) {}
  std::filesystem::path target_;
  std::filesystem::path temporary_;  // empty once committed
};

// Commits the replacements in order as one change. Each replaced file is kept under a private
// name beside it until every rename and folder sync has succeeded, and put back (a file that
// did not exist removed again) should any of them fail: a failure leaves every file as it was.
Status commitTogether(std::vector<PendingReplacement>& replacements);

// prepare and commit in one: readers see either the old or the new file.
Status writeFileAtomically(const std::filesystem::path& target, std::string_view bytes);

// Removes the temporary files and kept old files that a writer killed mid-write left beside
// `target`. Only safe while holding the folder's write lock, when no other writer can be
// half-way.
void removeStaleTemporaries(const std::filesystem::path& target);

// Test seam: makes the calling thread's atomic writes fail at the given step, the way a full
// disk or a failing device would: the `occurrence`th time the step comes from now on. Steps
// armed at once fail independently; None disarms all. HardLink is a file system without hard
// links, where the old file is kept as a copy instead.
enum class WriteFault { None, CreateTemporary, Write, Sync, Rename, DirectorySync, HardLink };
void injectWriteFaultForTesting(WriteFault fault, int occurrence = 1);

}  // namespace drovik
