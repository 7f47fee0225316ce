// What a transfer running off the caller's thread shares with the caller: the time limit,
// the operator's cancel request and the progress so far. The caller (a dialog's timer, the
// command-line tool) polls progress() and may cancel(); the transfer checks shouldStop()
// between blocking steps and bounds every wait by remaining().
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

namespace drovik::transport {

// How long the program waits for the printer: the waiting box is shown for at most this.
inline constexpr std::chrono::milliseconds kRunLimit{22000};

struct Progress {
  std::uint64_t done = 0;
  std::uint64_t total = 0;  // 0 while unknown
};

class RunControl {
 public:
  using Clock = std::chrono::steady_clock;

  explicit RunControl(std::chrono::milliseconds limit = kRunLimit)
      : deadline_(Clock::now() + limit) {}
  // A step of a longer run: its own limit, cancelled with the run as well (the run outlives it).
  RunControl(std::chrono::milliseconds limit, const RunControl& run)
      : deadline_(Clock::now() + limit), run_(&run) {}

  void cancel() { cancelled_ = true; }
  bool cancelled() const { return cancelled_ || (run_ && run_->cancelled()); }
  bool expired() const { return Clock::now() >= deadline_; }
  bool shouldStop() const { return cancelled() || expired(); }
  // Time left until the limit, never negative.
  std::chrono::milliseconds remaining() const {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now());
    return left.count() > 0 ? left : std::chrono::milliseconds{0};
  }

  void reportProgress(std::uint64_t done, std::uint64_t total) {
    total_ = total;
    done_ = done;
  }
  Progress progress() const { return {done_, total_}; }
  // The spooler has the whole job: what is left of the run is asking how it goes.
  void reportHandedOver() { handedOver_ = true; }
  bool handedOver() const { return handedOver_; }

 private:
  Clock::time_point deadline_;
  const RunControl* run_ = nullptr;
  std::atomic<bool> cancelled_{false};
  std::atomic<std::uint64_t> done_{0};
  std::atomic<std::uint64_t> total_{0};
  std::atomic<bool> handedOver_{false};
};

}  // namespace drovik::transport
