// New connections at most so many per second, shared by every probe of a sweep, so that a sweep
// never floods a site's network. Thread-safe.
#pragma once

#include <atomic>
#include <chrono>
#include <mutex>

namespace drovik::discovery {

class RateLimiter {
 public:
  using Clock = std::chrono::steady_clock;

  // `perSecond` of at least 1.
  explicit RateLimiter(int perSecond);

  // The time the caller may start its connection; each call takes the next free turn, so that
  // turns are spaced evenly from the first one on.
  Clock::time_point takeTurn();

  // Takes a turn and waits for it; false (the turn given up) when `cancel` was set meanwhile.
  // The wait looks at `cancel` at least every 100 ms.
  bool waitTurn(const std::atomic<bool>& cancel);

 private:
  std::mutex mutex_;
  Clock::duration spacing_;
  Clock::time_point next_{};
};

// Sleeps until `when` or until `cancel` is set, looking at it at least every 100 ms; false when
// cancelled.
bool sleepUntil(RateLimiter::Clock::time_point when, const std::atomic<bool>& cancel);

}  // namespace drovik::discovery
