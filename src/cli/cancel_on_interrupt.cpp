#include "cli/cancel_on_interrupt.h"

#include <atomic>

namespace drovik::cli {
namespace {

std::atomic<transport::RunControl*> current{nullptr};
static_assert(std::atomic<bool>::is_always_lock_free, "cancel() must be safe in a handler");
static_assert(std::atomic<transport::RunControl*>::is_always_lock_free);

extern "C" void cancelCurrent(int) {
  if (transport::RunControl* control = current.load()) control->cancel();
}

}  // namespace

CancelOnInterrupt::CancelOnInterrupt(transport::RunControl& control) {
  current = &control;
  struct sigaction action {};
  action.sa_handler = cancelCurrent;
  sigemptyset(&action.sa_mask);
  for (std::size_t i = 0; i < kSignals.size(); ++i) sigaction(kSignals[i], &action, &earlier_[i]);
}

CancelOnInterrupt::~CancelOnInterrupt() {
  for (std::size_t i = 0; i < kSignals.size(); ++i) sigaction(kSignals[i], &earlier_[i], nullptr);
  current = nullptr;
}

}  // namespace drovik::cli
