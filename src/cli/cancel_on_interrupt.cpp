#include "cli/cancel_on_interrupt.h"

#include <signal.h>

#include <atomic>

namespace drovik::cli {
namespace {

std::atomic<transport::RunControl*> current{nullptr};
static_assert(std::atomic<bool>::is_always_lock_free, "cancel() must be safe in a handler");

extern "C" void cancelCurrent(int) {
  if (transport::RunControl* control = current.load()) control->cancel();
}

}  // namespace

CancelOnInterrupt::CancelOnInterrupt(transport::RunControl& control) {
  current = &control;
  struct sigaction action {};
  action.sa_handler = cancelCurrent;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

CancelOnInterrupt::~CancelOnInterrupt() {
  signal(SIGINT, SIG_DFL);
  signal(SIGTERM, SIG_DFL);
  current = nullptr;
}

}  // namespace drovik::cli
