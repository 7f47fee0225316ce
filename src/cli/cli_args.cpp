#include "cli/cli_args.h"

#include <string_view>

namespace drovik::cli {

namespace {
const std::set<std::string> kValueOptions = {
    "--data-dir", "--all",    "--nw",    "--base",          "--into", "-o",
    "--printer",  "--ftp",    "--ip",    "--password-file", "--jobs", "--timeout",
    "--profile",  "--target", "--since", "--operation"};
const std::set<std::string> kSwitches = {"--yes",      "--json",    "--help",    "-h",
                                         "--parallel", "--dry-run", "--register", "--version"};
}  // namespace

std::optional<std::string> Args::option(const std::string& name) const {
  auto it = options.find(name);
  if (it == options.end()) return std::nullopt;
  return it->second;
}

Result<Args> parseArgs(int argc, char** argv) {
  Args args;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg.size() > 1 && arg[0] == '-') {
      std::string value;
      bool hasValue = false;
      if (auto eq = arg.find('='); eq != std::string::npos && arg.rfind("--", 0) == 0) {
        value = arg.substr(eq + 1);
        arg.resize(eq);
        hasValue = true;
      }
      if (kSwitches.count(arg) && !hasValue) {
        args.switches.insert(arg);
      } else if (kValueOptions.count(arg)) {
        if (!hasValue) {
          if (i + 1 >= argc) return Error{"オプション " + arg + " には値が必要です。"};
          value = argv[++i];
        }
        if (args.options.count(arg)) return Error{"オプション " + arg + " が重複しています。"};
        args.options[arg] = value;
      } else {
        return Error{"不明なオプションです: " + std::string(argv[i])};
      }
    } else if (args.command.empty()) {
      args.command = arg;
    } else {
      args.operands.push_back(arg);
    }
  }
  return args;
}

}  // namespace drovik::cli
