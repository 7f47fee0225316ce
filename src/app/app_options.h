// The command line of the desktop program, read before anything needs a display, so that
// --help and a mistyped option are answered on a terminal without one.
#pragma once

#include <filesystem>
#include <optional>

#include "files/status.h"

namespace drovik {

extern const char* const kAppUsage;

struct AppOptions {
  std::optional<std::filesystem::path> dataDir;    // --data-dir DIR
  bool readOnly = false;                           // --read-only
  std::optional<std::filesystem::path> fleetPlan;  // --fleet PLAN.csv
  bool help = false;                               // --help, -h
};

// Ours are --data-dir DIR (or --data-dir=DIR), --read-only, --fleet PLAN.csv and --help; a folder
// that does not exist is refused. Qt's own options (one dash: "-style fusion") are left to Qt; any
// other argument is refused, so that a mistyped --read-only never opens a folder for changes.
Result<AppOptions> parseAppOptions(int argc, const char* const* argv);

}  // namespace drovik
