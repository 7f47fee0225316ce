// A send route for dialog tests: records what it was asked to send and answers with a
// scripted outcome, optionally only after the test lets it go (to watch a dialog wait).
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

#include "transport/send_route.h"

namespace drovik::test {

class FakeSendRoute : public transport::SendRoute {
 public:
  explicit FakeSendRoute(transport::SendOutcome outcome, bool holdUntilReleased = false)
      : outcome_(std::move(outcome)), held_(holdUntilReleased) {}

  transport::SendOutcome send(std::span<const std::uint8_t> image,
                              transport::RunControl& control) override {
    sent_.emplace_back(image.begin(), image.end());
    control.reportProgress(0, image.size());
    // Like a real route: a cancel request or the time limit ends the wait.
    while (held_ && !control.shouldStop())
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (control.shouldStop()) return transport::SendOutcome::failed(outcome_.message, "cancelled");
    control.reportProgress(image.size(), image.size());
    return outcome_;
  }

  void release() { held_ = false; }
  // The images it was given, one per send.
  const std::vector<std::vector<std::uint8_t>>& sent() const { return sent_; }

 private:
  transport::SendOutcome outcome_;
  std::atomic<bool> held_;
  std::vector<std::vector<std::uint8_t>> sent_;
};

}  // namespace drovik::test
