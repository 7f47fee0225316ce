#include "peers/scripted_greeter.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace drovik::test {

ScriptedGreeter::ScriptedGreeter(std::string greeting, After after, const Ipv4Octets& address,
                                 int port)
    : listener_(address, port), greeting_(std::move(greeting)), after_(after) {
  if (::pipe2(wake_, O_CLOEXEC) != 0) return;
  thread_ = std::thread([this] { serve(); });
}

ScriptedGreeter::~ScriptedGreeter() {
  if (wake_[1] >= 0) [[maybe_unused]]
    const ssize_t woken = ::write(wake_[1], "x", 1);
  if (thread_.joinable()) thread_.join();
  for (int fd : wake_)
    if (fd >= 0) ::close(fd);
}

bool ScriptedGreeter::waitForReceived(const std::string& text) const {
  std::unique_lock lock(mutex_);
  return arrived_.wait_for(lock, std::chrono::seconds(10),
                           [&] { return received_.find(text) != std::string::npos; });
}

std::string ScriptedGreeter::received() const {
  std::lock_guard lock(mutex_);
  return received_;
}

void ScriptedGreeter::serve() {
  std::vector<int> callers;
  std::string endless;
  while (!greeting_.empty() && endless.size() < 65536) endless += greeting_;
  while (true) {
    std::vector<pollfd> fds{{wake_[0], POLLIN, 0}, {listener_.fd(), POLLIN, 0}};
    for (int caller : callers)
      fds.push_back(
          {caller, static_cast<short>(POLLIN | (after_ == After::Endless ? POLLOUT : 0)), 0});
    if (::poll(fds.data(), fds.size(), -1) < 0) continue;
    if (fds[0].revents) break;
    if (fds[1].revents & POLLIN) {
      const int caller = ::accept4(listener_.fd(), nullptr, nullptr, SOCK_CLOEXEC);
      if (caller >= 0) {
        [[maybe_unused]] const ssize_t sent =
            ::send(caller, greeting_.data(), greeting_.size(), MSG_NOSIGNAL);
        if (after_ == After::Close)
          ::close(caller);
        else
          callers.push_back(caller);
      }
    }
    std::vector<int> gone;
    for (std::size_t i = 2; i < fds.size(); ++i) {
      bool closed = (fds[i].revents & (POLLERR | POLLHUP)) != 0;
      if (fds[i].revents & POLLIN) {
        char buffer[512];
        const ssize_t got = ::recv(fds[i].fd, buffer, sizeof buffer, 0);
        if (got > 0) {
          std::lock_guard lock(mutex_);
          received_.append(buffer, static_cast<std::size_t>(got));
          arrived_.notify_all();
        } else {
          closed = true;
        }
      }
      if (!closed && (fds[i].revents & POLLOUT) &&
          ::send(fds[i].fd, endless.data(), endless.size(), MSG_NOSIGNAL | MSG_DONTWAIT) < 0 &&
          errno != EAGAIN)
        closed = true;
      if (closed) gone.push_back(fds[i].fd);
    }
    for (int fd : gone) {
      std::erase(callers, fd);
      ::close(fd);
    }
  }
  for (int caller : callers) ::close(caller);
}

}  // namespace drovik::test
