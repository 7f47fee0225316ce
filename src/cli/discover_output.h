// What drovik-cli discover prints: one line per printer that answered, or one JSON document.
#pragma once

#include <string>

#include "discovery/sweep.h"

namespace drovik::cli {

// "ADDRESS\tMODEL\tNAME\tLOCATION\tSERIAL\tANSWERED_BY", "-" for what is not known.
std::string discoveryLines(const discovery::SweepReport& report);
std::string discoveryJson(const discovery::SweepReport& report);

}  // namespace drovik::cli
