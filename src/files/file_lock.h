// The waiting part of the folder's locks: an exclusive flock on a hidden file, taken again and
// again while another copy of the program holds it. Each lock decides for itself how long it
// waits, what it says meanwhile and what it says when it gives up.
#pragma once

#include <filesystem>
#include <functional>

#include "files/atomic_file.h"

namespace drovik {

// Opens (creating it when missing) the lock file and takes its exclusive flock. While another
// holder has it, `whileBusy` is asked before each retry: an Error gives up with that error.
// The lock is released when the returned descriptor closes.
Result<FileDescriptor> takeFileLock(const std::filesystem::path& lockPath,
                                    const std::function<Status()>& whileBusy);

// The lock only when nobody holds it now; an invalid descriptor otherwise or on any error.
FileDescriptor tryFileLock(const std::filesystem::path& lockPath);

}  // namespace drovik
