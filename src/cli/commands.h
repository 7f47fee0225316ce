// The commands of drovik-cli. Each returns the process exit code; results go to stdout
// (UTF-8), messages to stderr.
#pragma once

#include "cli/cli_args.h"

namespace drovik::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

int runList(const Args& args);
int runGenerate(const Args& args);
int runReport(const Args& args);
int runMigrate(const Args& args);
int runDump(const Args& args);
int runDecodeNvram(const Args& args);

}  // namespace drovik::cli
