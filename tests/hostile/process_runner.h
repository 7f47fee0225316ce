// Helper programs run as separate processes, so that a crash, a hang or a kill of theirs
// ends only them and is reported as a test failure.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace drovik::hostile {

struct ProcessResult {
  bool timedOut = false;
  int exitCode = -1;  // -1 when ended by a signal or killed on time-out
  int signal = 0;     // the signal that ended it, 0 when it exited
  std::string out;
  std::string err;
};

// Runs argv[0] with argv (no shell) and waits for it; killed once `timeout` has passed.
ProcessResult runProcess(const std::vector<std::string>& argv, std::chrono::milliseconds timeout);

// A process that reports its progress one byte at a time on its standard output. Killed
// and reaped on destruction if still running.
class SignallingChild {
 public:
  // stderr goes to errPath, for the child's own complaints.
  SignallingChild(const std::vector<std::string>& argv, const std::filesystem::path& errPath);
  ~SignallingChild();
  SignallingChild(const SignallingChild&) = delete;
  SignallingChild& operator=(const SignallingChild&) = delete;

  bool started() const { return pid_ > 0; }
  // The next byte, or 0 when none came within the time (the child died or hangs).
  char nextByte(std::chrono::milliseconds timeout);
  // SIGKILL, then the wait status.
  int killAndWait();
  // After the child has ended: the bytes it wrote that were not read yet.
  std::string remainingOutput();

 private:
  pid_t pid_ = -1;
  int readyFd_ = -1;
};

}  // namespace drovik::hostile
