// drovik-cli as a separate process, under the per-case time limit.
#pragma once

#include <string>
#include <vector>

#include "hostile/process_runner.h"
#include "hostile/time_guard.h"

namespace drovik::hostile {

inline ProcessResult runCli(std::vector<std::string> args) {
  args.insert(args.begin(), DROVIK_CLI_PATH);
  return runProcess(args, kCaseTimeLimit);
}

// Ended by itself with an exit status, neither crashed nor killed on time-out.
inline bool endedNormally(const ProcessResult& r) { return !r.timedOut && r.signal == 0; }

}  // namespace drovik::hostile
