// The history file of a data folder, drovik-history.jsonl, and its previous generation
// drovik-history.jsonl.1. Several copies of the program append to it at once: each record is
// one write of one whole line under the folder's write lock (the lock of the profile
// transactions), synced before the lock is let go, so that records never interleave and one
// that was reported written survives a crash. Readers take no lock.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "files/status.h"
#include "history/history_record.h"
#include "history/record_filter.h"

namespace drovik::history {

struct HistoryContents {
  std::vector<Record> records;  // oldest first
  // Lines passed over (a crash cut the last one off, a hand edit broke one), one note each.
  std::vector<std::string> notes;
};

// The records of one generation's text that `filter` accepts, appended oldest first, with a note
// for each line passed over (`path` names the file in it): what read() makes of each file.
void collectRecords(std::string_view text, const std::filesystem::path& path,
                    const RecordFilter& filter, HistoryContents& contents);

class HistoryFile {
 public:
  // The file moves to the previous generation when a record would take it past this size.
  static constexpr std::uint64_t kRotationSize = 10 * 1024 * 1024;

  explicit HistoryFile(std::filesystem::path folder, std::uint64_t rotationSize = kRotationSize);

  std::filesystem::path path() const;
  std::filesystem::path previousPath() const;

  // Appends the record under the folder's write lock. Refuses a file that is a link, no
  // regular file, or another user's.
  Status append(const Record& record) const;
  // The same for a caller that holds the folder's write lock.
  Status appendHoldingLock(const Record& record) const;

  // The records of both generations that `filter` accepts, oldest first. A missing file has
  // no records; a line that is no record is passed over with a note (a line that cannot match
  // the filter is passed over unread).
  Result<HistoryContents> read(const RecordFilter& filter = {}) const;

 private:
  std::filesystem::path folder_;
  std::uint64_t rotationSize_;
};

}  // namespace drovik::history
