#include "peers/peer_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

namespace drovik::test {

PeerProcess::PeerProcess(const std::vector<std::string>& argv, const std::filesystem::path& errPath,
                         Output output) {
  int pipeFds[2] = {-1, -1};
  if (output == Output::Read && ::pipe2(pipeFds, O_CLOEXEC) != 0) return;
  std::vector<char*> args;
  for (const auto& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  pid_ = ::fork();
  if (pid_ == 0) {
    const int out = output == Output::Read ? pipeFds[1] : ::open("/dev/null", O_WRONLY);
    if (out >= 0) ::dup2(out, STDOUT_FILENO);
    const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (err >= 0) ::dup2(err, STDERR_FILENO);
    ::execv(args[0], args.data());
    ::_exit(127);
  }
  if (output == Output::Read) {
    ::close(pipeFds[1]);
    out_ = pipeFds[0];
  }
}

PeerProcess::~PeerProcess() {
  stop();
  if (out_ >= 0) ::close(out_);
}

bool PeerProcess::waitForLine(const std::string& line, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < deadline && out_ >= 0) {
    if (pending_.find(line + "\n") != std::string::npos) return true;
    pollfd ready{out_, POLLIN, 0};
    if (::poll(&ready, 1, 50) <= 0) continue;
    char buffer[256];
    const ssize_t n = ::read(out_, buffer, sizeof buffer);
    if (n <= 0) break;
    pending_.append(buffer, static_cast<std::size_t>(n));
  }
  return pending_.find(line + "\n") != std::string::npos;
}

std::optional<int> PeerProcess::waitForExit(std::chrono::milliseconds timeout) {
  if (exitCode_ || pid_ <= 0) return exitCode_;
  const auto reaped = [this](int flags) {
    int status = 0;
    if (::waitpid(pid_, &status, flags) != pid_) return false;
    exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return true;
  };
  // A process descriptor becomes readable the moment the process ends: no polling delay, which
  // the benchmarks that time whole drovik-cli runs would otherwise measure.
  if (const int processFd = static_cast<int>(::syscall(SYS_pidfd_open, pid_, 0)); processFd >= 0) {
    pollfd ended{processFd, POLLIN, 0};
    const int ready = ::poll(&ended, 1, static_cast<int>(timeout.count()));
    ::close(processFd);
    if (ready > 0) reaped(0);
    return exitCode_;
  }
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!reaped(WNOHANG) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return exitCode_;
}

void PeerProcess::stop() {
  if (pid_ <= 0 || exitCode_) return;
  ::kill(pid_, SIGTERM);
  if (!waitForExit(std::chrono::seconds(2))) {
    ::kill(pid_, SIGKILL);
    waitForExit(std::chrono::seconds(2));
  }
}

int runToEnd(const std::vector<std::string>& argv, const std::filesystem::path& errPath,
             std::chrono::milliseconds timeout) {
  PeerProcess process(argv, errPath, PeerProcess::Output::Discard);
  return process.waitForExit(timeout).value_or(-1);
}

}  // namespace drovik::test
