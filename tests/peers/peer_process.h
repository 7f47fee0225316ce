// A peer program for the transport tests (printer simulator, print spooler), started without
// a shell and stopped by its process id.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace drovik::test {

class PeerProcess {
 public:
  // stdout is read by waitForLine; stderr goes to errPath.
  PeerProcess(const std::vector<std::string>& argv, const std::filesystem::path& errPath);
  ~PeerProcess();
  PeerProcess(const PeerProcess&) = delete;
  PeerProcess& operator=(const PeerProcess&) = delete;

  pid_t pid() const { return pid_; }
  // True once the peer printed `line`; false when it ended or the time ran out first.
  bool waitForLine(const std::string& line, std::chrono::milliseconds timeout);
  // The exit code once the peer ended within the time, else nullopt.
  std::optional<int> waitForExit(std::chrono::milliseconds timeout);
  // SIGTERM, then SIGKILL when it has not ended within two seconds; reaps it.
  void stop();

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  std::string pending_;
  std::optional<int> exitCode_;
};

// Runs a program to its end (at most `timeout`); its exit code, or -1.
int runToEnd(const std::vector<std::string>& argv, const std::filesystem::path& errPath,
             std::chrono::milliseconds timeout = std::chrono::seconds(20));

}  // namespace drovik::test
