// A program the tests and benchmarks start without a shell (printer simulator, print spooler,
// drovik-cli itself) and wait for or stop by its process id.
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
  enum class Output {
    Read,     // read by waitForLine
    Discard,  // to /dev/null, for a program whose output nobody reads (it could fill a pipe)
  };
  // stderr goes to errPath.
  PeerProcess(const std::vector<std::string>& argv, const std::filesystem::path& errPath,
              Output output = Output::Read);
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

// Runs a program to its end (at most `timeout`), its output discarded; its exit code, or -1.
int runToEnd(const std::vector<std::string>& argv, const std::filesystem::path& errPath,
             std::chrono::milliseconds timeout = std::chrono::seconds(20));

}  // namespace drovik::test
