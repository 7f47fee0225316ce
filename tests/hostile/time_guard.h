// Ends the test program with a message when one case runs far longer than it ever should,
// so that a hang shows up as a failure naming the case instead of a stuck job.
#pragma once

#include <chrono>
#include <string>

namespace drovik::hostile {

class TimeGuard {
 public:
  TimeGuard(const std::string& label, std::chrono::seconds limit);
  ~TimeGuard();
  TimeGuard(const TimeGuard&) = delete;
  TimeGuard& operator=(const TimeGuard&) = delete;
};

// Generous: a case that needs this long has a fault, whatever the build type.
inline constexpr std::chrono::seconds kCaseTimeLimit{60};

}  // namespace drovik::hostile
