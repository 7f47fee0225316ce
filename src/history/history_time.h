// The records' times: ISO 8601 local time with its offset, so that a reader anywhere knows the
// moment and an operator reads the office's clock.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace drovik::history {

// 2024-04-01T09:30:00+09:00
std::string isoLocalTime(std::time_t moment);

// Seconds since the epoch of YYYY-MM-DD, optionally followed by T (or a space) and HH:MM or
// HH:MM:SS (fractions ignored), optionally followed by Z or an offset ±HH:MM (±HHMM, ±HH).
// Without an offset the time is local; a date alone is its local midnight. Nothing when the
// text is none of these or names no real day or time.
std::optional<std::int64_t> parseTimePoint(std::string_view text);

}  // namespace drovik::history
