#include "peers/job_sink.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace drovik::test {

JobSink::JobSink() {
  if (::pipe2(wake_, O_CLOEXEC) != 0) wake_[0] = wake_[1] = -1;
  if (listening()) thread_ = std::thread([this] { serve(); });
}

JobSink::~JobSink() {
  if (wake_[1] >= 0) {
    // One byte into an empty pipe: it cannot block or fall short.
    [[maybe_unused]] const ssize_t woken = ::write(wake_[1], "x", 1);
  }
  if (thread_.joinable()) thread_.join();
  for (int fd : wake_)
    if (fd >= 0) ::close(fd);
}

bool JobSink::waitFor(int fd) const {
  pollfd ready[] = {{fd, POLLIN, 0}, {wake_[0], POLLIN, 0}};
  while (::poll(ready, 2, -1) < 0) {
  }
  return ready[1].revents == 0;
}

void JobSink::serve() {
  while (waitFor(listener_.fd())) {
    const int connection = ::accept4(listener_.fd(), nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) continue;
    char buffer[8192];
    // Counted once read to its end; a job cut off by the sink's own end is no job.
    while (waitFor(connection)) {
      const ssize_t n = ::read(connection, buffer, sizeof buffer);
      if (n <= 0) {
        if (n == 0) ++jobs_;
        break;
      }
      bytes_ += static_cast<std::uint64_t>(n);
    }
    ::close(connection);
  }
}

}  // namespace drovik::test
