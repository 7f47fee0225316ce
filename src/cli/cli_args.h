// Command line of drovik-cli as a command reads it: its command word, operands and options,
// checked against the command's declaration (cli/command_grammar.h).
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "files/status.h"

namespace drovik::cli {

struct Args {
  std::string command;
  std::vector<std::string> operands;
  std::map<std::string, std::string> options;  // "--data-dir" -> "DIR"
  std::set<std::string> switches;              // "--yes"

  std::optional<std::string> option(const std::string& name) const;
  bool has(const std::string& name) const { return switches.count(name) > 0; }
};

}  // namespace drovik::cli
