#include "discovery/rate_limiter.h"

#include <algorithm>
#include <thread>

namespace drovik::discovery {

RateLimiter::RateLimiter(int perSecond)
    : spacing_(std::chrono::duration_cast<Clock::duration>(std::chrono::seconds(1)) /
               std::max(perSecond, 1)) {}

RateLimiter::Clock::time_point RateLimiter::takeTurn() {
  std::lock_guard lock(mutex_);
  const auto now = Clock::now();
  // A pause in demand does not bank turns for a burst later.
  const auto turn = std::max(now, next_);
  next_ = turn + spacing_;
  return turn;
}

bool RateLimiter::waitTurn(const std::atomic<bool>& cancel) {
  return sleepUntil(takeTurn(), cancel);
}

bool sleepUntil(RateLimiter::Clock::time_point when, const std::atomic<bool>& cancel) {
  constexpr auto kLookEvery = std::chrono::milliseconds(100);
  while (!cancel.load()) {
    const auto now = RateLimiter::Clock::now();
    if (now >= when) return true;
    std::this_thread::sleep_for(std::min<RateLimiter::Clock::duration>(when - now, kLookEvery));
  }
  return false;
}

}  // namespace drovik::discovery
