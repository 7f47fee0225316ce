// Assembles the printer command binary ("VAD Command") from the coded records: the fixed
// header, the included records in the order of the GHJK or M layout, and the terminator.
#pragma once

#include <cstdint>
#include <vector>

#include "command/value_codes.h"
#include "model/profile.h"

namespace drovik {

struct CommandImage {
  std::vector<std::uint8_t> bytes;  // at most layout::kMaxImageSize
};

// The command for the included items. Its length field counts the records actually written,
// so it equals codes.length whenever both come from the same flags and initial user. An M
// command for an initial user outside 1..10 carries no records.
CommandImage BuildCommandImage(const ValueCodes& codes, const CheckFlagSet& flags,
                               std::int32_t selectUser, CommandVariant variant);

}  // namespace drovik
