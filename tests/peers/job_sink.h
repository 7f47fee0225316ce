// A printer's socket that takes every job: it accepts one connection after another, reads each
// to its end and closes it, as a printer does once a job is printed. A spooler queue pointed at
// it completes its jobs, so that a send can be followed to its end.
#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

#include "peers/loopback_listener.h"

namespace drovik::test {

class JobSink {
 public:
  JobSink();
  ~JobSink();
  JobSink(const JobSink&) = delete;
  JobSink& operator=(const JobSink&) = delete;

  bool listening() const { return listener_.listening() && wake_[1] >= 0; }
  int port() const { return listener_.port(); }
  // Connections read to their end, and the bytes they brought.
  int jobs() const { return jobs_; }
  std::uint64_t bytes() const { return bytes_; }

 private:
  void serve();
  // Waits until fd is readable; false once the sink is closing.
  bool waitFor(int fd) const;

  LoopbackListener listener_;
  int wake_[2] = {-1, -1};  // a pipe: written on destruction, to end every wait
  std::atomic<int> jobs_{0};
  std::atomic<std::uint64_t> bytes_{0};
  std::thread thread_;
};

}  // namespace drovik::test
