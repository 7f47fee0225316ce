#include "cli/cli_args.h"

namespace drovik::cli {

std::optional<std::string> Args::option(const std::string& name) const {
  auto it = options.find(name);
  if (it == options.end()) return std::nullopt;
  return it->second;
}

}  // namespace drovik::cli
