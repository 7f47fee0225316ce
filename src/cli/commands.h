// The commands of drovik-cli. Each returns the process exit code; results go to stdout
// (UTF-8), messages to stderr.
#pragma once

#include "cli/cli_args.h"

namespace drovik::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

int runList(const Args& args);

}  // namespace drovik::cli
