#include "transport/parallel_port.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace drovik::transport {
namespace {

// Short enough for a cancel request to take effect at once for the operator.
constexpr int kPollSliceMs = 100;

// A port whose reader went away answers a write with SIGPIPE, which would end the whole
// program; on this thread it is held back and the write fails with EPIPE instead.
class SigpipeHeld {
 public:
  SigpipeHeld() {
    sigemptyset(&pipe_);
    sigaddset(&pipe_, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe_, &previous_);
  }
  ~SigpipeHeld() {
    const timespec none{0, 0};
    while (sigtimedwait(&pipe_, nullptr, &none) > 0) {
    }
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
  }
  SigpipeHeld(const SigpipeHeld&) = delete;
  SigpipeHeld& operator=(const SigpipeHeld&) = delete;

 private:
  sigset_t pipe_;
  sigset_t previous_;
};

Error notCopied(const std::filesystem::path& device, const std::string& why) {
  return Error{"パラレルポート " + device.string() + " に送信できません（" + why + "）"};
}

}  // namespace

std::vector<std::filesystem::path> defaultParallelDevices() { return {"/dev/lp0", "/dev/usb/lp0"}; }

Result<std::filesystem::path> findParallelPort(
    const std::vector<std::filesystem::path>& candidates) {
  for (const auto& candidate : candidates) {
    std::error_code ec;
    if (std::filesystem::exists(candidate, ec)) return candidate;
  }
  return Error{"パラレルポートが見つかりません"};
}

Status copyToDevice(std::span<const std::uint8_t> bytes, const std::filesystem::path& device,
                    RunControl& control) {
  // Non-blocking: opening a port nobody reads must fail instead of waiting for ever.
  const int fd = ::open(device.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return notCopied(device, std::strerror(errno));
  SigpipeHeld sigpipeHeld;
  std::size_t written = 0;
  control.reportProgress(0, bytes.size());
  while (written < bytes.size()) {
    if (control.shouldStop()) {
      ::close(fd);
      return notCopied(device, control.cancelled() ? "中止しました" : "時間切れ");
    }
    pollfd ready{fd, POLLOUT, 0};
    const int slice = static_cast<int>(
        std::min<long long>(kPollSliceMs, std::max<long long>(1, control.remaining().count())));
    if (::poll(&ready, 1, slice) <= 0) continue;
    const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      // Some port drivers report ready and then refuse; wait a slice and try again.
      if (errno == EAGAIN) {
        ::poll(nullptr, 0, slice);
        continue;
      }
      const int error = errno;
      ::close(fd);
      return notCopied(device, std::strerror(error));
    }
    written += static_cast<std::size_t>(n);
    control.reportProgress(written, bytes.size());
  }
  if (::close(fd) != 0) return notCopied(device, std::strerror(errno));
  return {};
}

}  // namespace drovik::transport
