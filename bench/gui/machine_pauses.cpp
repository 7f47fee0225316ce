#include "machine_pauses.h"

#include <pthread.h>
#include <sched.h>

#include <algorithm>

namespace drovik::bench {
namespace {

constexpr auto kPeriod = std::chrono::milliseconds(1);
// A wake this much later than asked counts as a pause (timer slack stays well below it).
constexpr auto kLate = std::chrono::milliseconds(4);

}  // namespace

MachinePauses::MachinePauses() : thread_([this] { watch(); }) {}

MachinePauses::~MachinePauses() {
  stop_ = true;
  thread_.join();
}

void MachinePauses::watch() {
  sched_param priority{};
  priority.sched_priority = sched_get_priority_max(SCHED_FIFO);
  if (pthread_setschedparam(pthread_self(), SCHED_FIFO, &priority) != 0) return;
  Clock::time_point last = Clock::now();
  while (!stop_) {
    std::this_thread::sleep_for(kPeriod);
    const Clock::time_point now = Clock::now();
    if (now - last > kPeriod + kLate) {
      const std::lock_guard<std::mutex> hold(mutex_);
      pauses_.push_back({last + kPeriod, now});
    }
    last = now;
  }
}

MachinePauses::Clock::duration MachinePauses::within(Clock::time_point from,
                                                     Clock::time_point to) const {
  const std::lock_guard<std::mutex> hold(mutex_);
  Clock::duration total{};
  for (const Pause& pause : pauses_) {
    const Clock::time_point start = std::max(from, pause.from);
    const Clock::time_point end = std::min(to, pause.to);
    if (end > start) total += end - start;
  }
  return total;
}

}  // namespace drovik::bench
