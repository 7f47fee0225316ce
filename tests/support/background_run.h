// Runs one transfer on a thread of its own, as the programs do, so that a test can watch it,
// cancel it and take its result.
#pragma once

#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <thread>
#include <utility>

#include "transport/run_control.h"

namespace drovik::test {

template <class T>
class BackgroundRun {
 public:
  using Work = std::function<T(transport::RunControl&)>;

  explicit BackgroundRun(Work work, std::chrono::milliseconds limit = transport::kRunLimit)
      : control_(std::make_unique<transport::RunControl>(limit)) {
    std::packaged_task<T(transport::RunControl&)> task(std::move(work));
    result_ = task.get_future();
    thread_ = std::thread(std::move(task), std::ref(*control_));
  }
  // A test that ends early cancels the transfer; the transfer ends within its own bounds.
  ~BackgroundRun() {
    control_->cancel();
    if (thread_.joinable()) thread_.join();
  }
  BackgroundRun(const BackgroundRun&) = delete;
  BackgroundRun& operator=(const BackgroundRun&) = delete;

  bool finished() const { return waitFor(std::chrono::milliseconds{0}); }
  bool waitFor(std::chrono::milliseconds timeout) const {
    return result_.wait_for(timeout) == std::future_status::ready;
  }
  void cancel() { control_->cancel(); }
  transport::Progress progress() const { return control_->progress(); }
  bool handedOver() const { return control_->handedOver(); }

  // Waits for the end of the run; call once.
  T take() {
    T value = result_.get();
    thread_.join();
    return value;
  }

 private:
  std::unique_ptr<transport::RunControl> control_;
  std::future<T> result_;
  std::thread thread_;
};

}  // namespace drovik::test
