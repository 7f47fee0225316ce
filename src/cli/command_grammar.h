// What each drovik-cli command takes: its operands and options, declared once beside the
// command's code. The parser, the command's --help and the overview of --help are all read
// from these declarations, so that what the tool accepts and what it says it accepts agree.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_args.h"

namespace drovik::cli {

enum class Presence {
  Optional,
  Required,
  // One of the options so marked, and only one (send's routes); the command checks it.
  OneOf,
};

struct OptionSpec {
  std::string_view name = {};   // "--json", "-o"
  std::string_view value = {};  // "FILE"; empty for a switch
  std::string_view help = {};   // one line of the command's --help
  Presence presence = Presence::Optional;

  bool takesValue() const { return !value.empty(); }
};

// An operand that an option stands in for: diff compares A with B, or with the printer of --ip.
struct ReplacedOperand {
  std::string_view operand = {};
  std::string_view byOption = {};
};

struct Command {
  std::string_view name = {};
  // All required, in order; the last, written "NAME...", may be given more than once.
  std::vector<std::string_view> operands = {};
  std::vector<OptionSpec> options = {};  // besides --data-dir and --help
  bool usesDataFolder = true;            // takes --data-dir
  ReplacedOperand replaced = {};
  std::string_view notes = {};               // lines under the synopsis, already indented
  std::string_view exitStatuses = {};        // the command's own lines; empty: the common ones
  std::string_view overviewExitStatus = {};  // what the overview adds for it
  int (*run)(const Args&) = nullptr;
};

// --data-dir, declared once for every command that uses the data folder.
extern const OptionSpec kDataDirOption;

// The synopsis lines, each "drovik-cli ..." without indentation.
std::vector<std::string> synopsisOf(const Command& command);

// `drovik-cli COMMAND --help`: the synopsis, the options and the exit statuses.
std::string commandHelp(const Command& command);

// `drovik-cli --help`: every command's synopsis and notes, and the exit statuses.
std::string overviewHelp(std::span<const Command* const> commands);

// What the command line asks for.
struct Invocation {
  enum class Kind { Run, Overview, CommandHelp, Version };
  Kind kind = Kind::Run;
  const Command* command = nullptr;  // for Run and CommandHelp
  Args args;
};

// Reads the command line against the declarations. A mistake is one line naming the option or
// operand and the command, ending in the hint at the command's --help.
Result<Invocation> parseCommandLine(std::span<const Command* const> commands,
                                    const std::vector<std::string>& words);

}  // namespace drovik::cli
