#include "transport/transfer_lock.h"

#include <string>

#include "files/file_lock.h"

namespace drovik::transport {
namespace {

std::string seconds(std::chrono::milliseconds wait) {
  return std::to_string(std::chrono::ceil<std::chrono::seconds>(wait).count()) + "秒";
}

}  // namespace

Result<TransferLock> TransferLock::acquire(const std::filesystem::path& folder,
                                           const RunControl& control, const WaitNotice& notice,
                                           std::chrono::milliseconds wait) {
  const std::filesystem::path lockPath = folder / kTransferLockName;
  const auto deadline = RunControl::Clock::now() + wait;
  bool waiting = false;
  auto lock = takeFileLock(lockPath, [&]() -> Status {
    if (!waiting && notice) notice();
    waiting = true;
    if (control.cancelled()) return Error{"ほかの送信または取得を待っている間に中断しました"};
    if (RunControl::Clock::now() < deadline) return {};
    return Error{"ほかの送信または取得が終わらないため、実行できませんでした（" + seconds(wait) +
                 "待ちました）: " + lockPath.string()};
  });
  if (!lock) return lock.error();
  return TransferLock(std::move(*lock));
}

std::optional<TransferLock> TransferLock::tryAcquire(const std::filesystem::path& folder) {
  FileDescriptor lock = tryFileLock(folder / kTransferLockName);
  if (!lock.valid()) return std::nullopt;
  return TransferLock(std::move(lock));
}

std::string waitingForTransferMessage() {
  return "ほかの送信または取得が終わるのを待っています（最長" + seconds(kTransferLockWait) + "）";
}

}  // namespace drovik::transport
