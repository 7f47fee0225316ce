// Which records a reader wants: `drovik-cli history`'s options and the history window's
// filters.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "history/history_record.h"

namespace drovik::history {

struct RecordFilter {
  // As profile names match: ASCII letters regardless of case.
  std::optional<std::string> profile;
  // The whole target, or a queue or an address without its "cups:" or "ftp:".
  std::optional<std::string> target;
  std::optional<std::string> operation;
  // Seconds since the epoch: records of that moment or later (a record whose time cannot be
  // read is left out).
  std::optional<std::int64_t> since;

  bool matches(const Record& record) const;
  // Texts that every line of a matching record contains as encodeLine wrote it (compared
  // ASCII-case-insensitively): a reader may pass over a line without one before decoding it.
  std::vector<std::string> lineTexts() const;
};

}  // namespace drovik::history
