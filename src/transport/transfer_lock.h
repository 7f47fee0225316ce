// One transfer at a time in a data folder. The parallel and network sends and the retrieval
// work through files of fixed names in the folder (generated_files.h): two copies running at
// once would send each other's command or decode each other's printer. A transfer holds this
// lock from writing its first file until it has read back what it needs; another one waits.
// It is not the folder lock, so that profile changes never wait for a printer.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>

#include "files/atomic_file.h"
#include "transport/run_control.h"

namespace drovik::transport {

inline constexpr std::string_view kTransferLockName = ".drovik-transfer.lock";

// Another copy's transfer ends within its own limit; the margin covers the reading back and
// the cleaning up after it.
inline constexpr std::chrono::milliseconds kTransferLockWait = kRunLimit + std::chrono::seconds(3);

// Called once when a transfer has to wait for another one.
using WaitNotice = std::function<void()>;

class TransferLock {
 public:
  // Waits for the lock of `folder` up to `wait`; gives up earlier when control is cancelled.
  // An Error says why the transfer cannot run.
  static Result<TransferLock> acquire(const std::filesystem::path& folder,
                                      const RunControl& control, const WaitNotice& notice = {},
                                      std::chrono::milliseconds wait = kTransferLockWait);
  // The lock only when no transfer runs now.
  static std::optional<TransferLock> tryAcquire(const std::filesystem::path& folder);

 private:
  explicit TransferLock(FileDescriptor fd) : fd_(std::move(fd)) {}
  FileDescriptor fd_;  // flock is released when the descriptor closes
};

// "ほかの送信または取得が終わるのを待っています（最長25秒）"
std::string waitingForTransferMessage();

}  // namespace drovik::transport
