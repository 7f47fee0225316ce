#include "hostile/time_guard.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace drovik::hostile {
namespace {

// Filled before the alarm is set; the handler may only use async-signal-safe calls.
char timedOutMessage[512];
std::size_t timedOutLength = 0;

void onAlarm(int) {
  // Nothing is left to do about a message that could not be written: the exit says it all.
  [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, timedOutMessage, timedOutLength);
  ::_exit(124);
}

}  // namespace

TimeGuard::TimeGuard(const std::string& label, std::chrono::seconds limit) {
  const std::string message = "\n*** time limit exceeded: " + label + "\n";
  timedOutLength = std::min(message.size(), sizeof timedOutMessage);
  std::memcpy(timedOutMessage, message.data(), timedOutLength);
  struct sigaction action {};
  action.sa_handler = onAlarm;
  ::sigaction(SIGALRM, &action, nullptr);
  ::alarm(static_cast<unsigned>(limit.count()));
}

TimeGuard::~TimeGuard() { ::alarm(0); }

}  // namespace drovik::hostile
