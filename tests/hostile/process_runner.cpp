#include "hostile/process_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <thread>

#include "support/temp_dir.h"

extern char** environ;

namespace drovik::hostile {
namespace {

std::vector<char*> argvPointers(const std::vector<std::string>& argv) {
  std::vector<char*> pointers;
  for (const std::string& arg : argv) pointers.push_back(const_cast<char*>(arg.c_str()));
  pointers.push_back(nullptr);
  return pointers;
}

// Spawns with stdout and stderr on the given descriptors; -1 on failure.
pid_t spawn(const std::vector<std::string>& argv, int outFd, int errFd) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, outFd, STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, errFd, STDERR_FILENO);
  pid_t pid = -1;
  std::vector<char*> pointers = argvPointers(argv);
  const int error =
      ::posix_spawn(&pid, argv[0].c_str(), &actions, nullptr, pointers.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return error == 0 ? pid : -1;
}

int waitBlocking(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return status;
}

}  // namespace

ProcessResult runProcess(const std::vector<std::string>& argv, std::chrono::milliseconds timeout) {
  const test::TempDir scratch;
  const auto outPath = scratch / "stdout";
  const auto errPath = scratch / "stderr";
  const int outFd = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  const int errFd = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  ProcessResult result;
  const pid_t pid = outFd >= 0 && errFd >= 0 ? spawn(argv, outFd, errFd) : -1;
  if (outFd >= 0) ::close(outFd);
  if (errFd >= 0) ::close(errFd);
  if (pid < 0) {
    result.err = "cannot start " + argv[0];
    return result;
  }

  const auto deadline = std::chrono::steady_clock::now() + timeout;
  int status = 0;
  while (true) {
    const pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid) break;
    if (std::chrono::steady_clock::now() >= deadline) {
      ::kill(pid, SIGKILL);
      status = waitBlocking(pid);
      result.timedOut = true;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  if (WIFEXITED(status) && !result.timedOut) result.exitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  result.out = test::readFile(outPath);
  result.err = test::readFile(errPath);
  return result;
}

SignallingChild::SignallingChild(const std::vector<std::string>& argv,
                                 const std::filesystem::path& errPath) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return;
  const int errFd = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
  if (errFd >= 0) pid_ = spawn(argv, fds[1], errFd);
  if (errFd >= 0) ::close(errFd);
  ::close(fds[1]);
  readyFd_ = fds[0];
}

SignallingChild::~SignallingChild() {
  if (pid_ > 0) killAndWait();
  if (readyFd_ >= 0) ::close(readyFd_);
}

char SignallingChild::nextByte(std::chrono::milliseconds timeout) {
  pollfd ready{readyFd_, POLLIN, 0};
  int polled = 0;
  do {
    polled = ::poll(&ready, 1, static_cast<int>(timeout.count()));
  } while (polled < 0 && errno == EINTR);
  char byte = 0;
  return polled == 1 && ::read(readyFd_, &byte, 1) == 1 ? byte : '\0';
}

std::string SignallingChild::remainingOutput() {
  std::string bytes;
  char buffer[256];
  ssize_t count = 0;
  while ((count = ::read(readyFd_, buffer, sizeof buffer)) > 0 || (count < 0 && errno == EINTR))
    if (count > 0) bytes.append(buffer, static_cast<std::size_t>(count));
  return bytes;
}

int SignallingChild::killAndWait() {
  if (pid_ <= 0) return 0;
  ::kill(pid_, SIGKILL);
  const int status = waitBlocking(pid_);
  pid_ = -1;
  return status;
}

}  // namespace drovik::hostile
