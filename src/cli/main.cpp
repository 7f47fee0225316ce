// drovik-cli: the profile store, command generation, reports, NVRAM decoding and
// migration without the GUI, for scripts and tests.
#include <iostream>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "history/recorder.h"
#include "program_version.h"

namespace drovik::cli {

std::span<const Command* const> allCommands() {
  static const Command* const kCommands[] = {
      &kListCommand,   &kGenerateCommand,    &kReportCommand,  &kMigrateCommand,  &kRegisterCommand,
      &kDeleteCommand, &kDecodeNvramCommand, &kDumpCommand,    &kPrintersCommand, &kSendCommand,
      &kFetchCommand,  &kDiffCommand,        &kHistoryCommand, &kDiscoverCommand, &kFleetCommand,
  };
  return kCommands;
}

}  // namespace drovik::cli

int main(int argc, char** argv) {
  using namespace drovik::cli;
  auto invocation =
      parseCommandLine(allCommands(), std::vector<std::string>(argv + 1, argv + argc));
  if (!invocation) return fail(invocation.message(), kExitUsage);
  std::string shown;
  switch (invocation->kind) {
    case Invocation::Kind::Overview:
      shown = overviewHelp(allCommands());
      break;
    case Invocation::Kind::CommandHelp:
      shown = commandHelp(*invocation->command);
      break;
    case Invocation::Kind::Version:
      shown = std::string("drovik-cli ") + drovik::kProgramVersion + "\n";
      break;
    case Invocation::Kind::Run: {
      const int status = invocation->command->run(invocation->args);
      // A change or delivery stands whether or not its history could be written.
      printWarnings(drovik::history::takeWarnings());
      return status;
    }
  }
  if (drovik::Status s = writeOutput(shown); !s) return fail(s.message());
  return kExitOk;
}
