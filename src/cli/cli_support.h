// Helpers shared by the commands of drovik-cli.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_args.h"
#include "model/profile_registry.h"
#include "service/profile_service.h"

namespace drovik::cli {

// Prints "drovik-cli: <message>" on stderr.
void reportError(const std::string& message);

// Writes to standard output and flushes; an output that cannot take it (a full disk, a
// closed pipe) is an error, so that a script never takes a cut-off result for a whole one.
Status writeOutput(std::string_view text);

// The data folder: --data-dir, or the program directory.
Result<StorePaths> dataPaths(const Args& args);

// The whole number of the option `name`, 1 to max; `fallback` without the option.
Result<int> numberOption(const Args& args, const std::string& name, int fallback, int max);
// --timeout SECONDS: how long a transfer waits for its printer, the program's bound without it.
Result<std::chrono::seconds> timeoutOption(const Args& args);

// A registration's refusal; the overwrite question becomes a hint at --yes.
std::string registrationFailure(const Error& error, const std::string& name);

// Prints each warning as one line on stderr, its line breaks replaced by spaces.
void printWarnings(const std::vector<std::string>& warnings);

// Says on stderr, in one line, that a transfer waits for another copy's transfer to end.
void reportWaitingForTransfer();

}  // namespace drovik::cli
