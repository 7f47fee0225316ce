// The bytes of a plan file as the spreadsheets of the offices save them: UTF-8 (with or without
// a byte order mark) or, from a Japanese spreadsheet, Shift-JIS (code page 932).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "files/status.h"

namespace drovik::fleet {

// A plan of a site's printers is a few kilobytes; a larger file is not a plan.
inline constexpr std::size_t kMaxPlanBytes = 1 << 20;

// The plan as UTF-8, without a byte order mark and with its line breaks where they were. A file
// that is not UTF-8 is read as code page 932, unless its byte order mark or another line's
// UTF-8 text says it is UTF-8 (then the damaged lines are named rather than read as garbled
// names). Each line that fits neither is named, one per line of the message.
Result<std::string> planTextAsUtf8(std::string_view bytes);

}  // namespace drovik::fleet
