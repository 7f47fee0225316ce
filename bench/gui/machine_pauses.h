// Pauses of the whole machine (a virtual machine whose processors the host takes away), which
// stop every thread alike and are no stall of the program's own. A thread of the highest
// real-time priority wakes every millisecond and notes each time it woke late: nothing in this
// machine keeps it from running, so a late wake is the machine's. Where the system refuses the
// priority, a busy machine would delay the thread too: then it notes nothing.
#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

namespace drovik::bench {

class MachinePauses {
 public:
  using Clock = std::chrono::steady_clock;

  MachinePauses();
  ~MachinePauses();
  MachinePauses(const MachinePauses&) = delete;
  MachinePauses& operator=(const MachinePauses&) = delete;

  // How much of [from, to] the machine was paused.
  Clock::duration within(Clock::time_point from, Clock::time_point to) const;

 private:
  struct Pause {
    Clock::time_point from, to;
  };
  void watch();

  mutable std::mutex mutex_;
  std::vector<Pause> pauses_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace drovik::bench
