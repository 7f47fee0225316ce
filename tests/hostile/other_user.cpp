#include "hostile/other_user.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace drovik::hostile {
namespace {

constexpr int kCannotBecomeOtherUser = 125;

}  // namespace

OtherUser::OtherUser(std::function<int()> round) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return;
  pid_ = ::fork();
  if (pid_ == 0) {
    ::close(fds[1]);
    if (::setgroups(0, nullptr) != 0 || ::setgid(kOtherUserId) != 0 || ::setuid(kOtherUserId) != 0)
      ::_exit(kCannotBecomeOtherUser);
    long total = 0;
    // The parent closing its end of the pipe is the signal to stop.
    for (pollfd stop{fds[0], POLLIN, 0}; ::poll(&stop, 1, 0) == 0;) total += round();
    ::_exit(total > 100 ? 100 : static_cast<int>(total));
  }
  ::close(fds[0]);
  if (pid_ < 0) {
    ::close(fds[1]);
    return;
  }
  stopFd_ = fds[1];
}

OtherUser::~OtherUser() { stop(); }

int OtherUser::stop() {
  if (pid_ <= 0) return -1;
  ::close(stopFd_);
  int status = 0;
  const pid_t ended = ::waitpid(pid_, &status, 0);
  pid_ = -1;
  if (ended < 0 || !WIFEXITED(status) || WEXITSTATUS(status) == kCannotBecomeOtherUser) return -1;
  return WEXITSTATUS(status);
}

}  // namespace drovik::hostile
