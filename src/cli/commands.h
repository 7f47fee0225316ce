// The commands of drovik-cli. Each returns the process exit code; results go to stdout
// (UTF-8), messages to stderr. Each command's file declares what it takes (a Command, see
// cli/command_grammar.h); a new command is its file and its line in allCommands().
#pragma once

#include <span>
#include <string>

#include "cli/cli_args.h"
#include "cli/command_grammar.h"

namespace drovik::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // nothing was done
inline constexpr int kExitUsage = 2;    // bad command line, nothing was done
inline constexpr int kExitPartial = 3;  // the profile files were changed, the output failed

// Reports the message and returns the exit code, for `return fail(...)`.
int fail(const std::string& message, int code = kExitFailure);

extern const Command kListCommand;
extern const Command kGenerateCommand;
extern const Command kReportCommand;
extern const Command kMigrateCommand;
extern const Command kRegisterCommand;
extern const Command kDeleteCommand;
extern const Command kDecodeNvramCommand;
extern const Command kDumpCommand;
extern const Command kPrintersCommand;
extern const Command kSendCommand;
extern const Command kFetchCommand;
// Exit status as diff's: 0 equal, 1 different, 2 trouble.
extern const Command kDiffCommand;
// The change and delivery history, oldest first.
extern const Command kHistoryCommand;
// 0 every row completed (now or before), 1 some row failed, 2 nothing was done (command line,
// plan, result file, password).
extern const Command kFleetCommand;
// 0 the sweep ran (whatever answered), 1 it could not run or was cancelled, 2 command line.
extern const Command kDiscoverCommand;

// Every command, in the order the overview lists them.
std::span<const Command* const> allCommands();

int runList(const Args& args);
int runGenerate(const Args& args);
int runReport(const Args& args);
int runMigrate(const Args& args);
int runRegister(const Args& args);
int runDelete(const Args& args);
int runDump(const Args& args);
int runDecodeNvram(const Args& args);
int runPrinters(const Args& args);
int runSend(const Args& args);
int runFetch(const Args& args);
int runFleet(const Args& args);
int runDiscover(const Args& args);
int runDiff(const Args& args);
int runHistory(const Args& args);

}  // namespace drovik::cli
