// One run of a plan at a time, whichever program runs it: the desktop program and drovik-cli
// take the same lock file beside the plan (`offices.csv` -> `offices.lock`) for the whole run,
// and the second is told the plan is in use and does nothing.
#pragma once

#include <filesystem>
#include <string_view>

#include "files/atomic_file.h"

namespace drovik::fleet {

// The start of the refusal while another run holds the plan.
inline constexpr std::string_view kPlanInUse =
    "この計画はほかのプログラムが実行中です。終わってから実行してください: ";

std::filesystem::path lockPathFor(const std::filesystem::path& plan);

class PlanLock {
 public:
  // Taken at once or refused, naming the plan; never waited for, since a run takes minutes.
  static Result<PlanLock> take(const std::filesystem::path& plan);

 private:
  explicit PlanLock(FileDescriptor fd) : fd_(std::move(fd)) {}
  FileDescriptor fd_;  // the flock goes with the descriptor
};

}  // namespace drovik::fleet
