// Arbitrary bytes as a history file, which any copy of the program (or a hand edit) may have
// written: the first byte picks a filter, the rest is the file. Every record read is written
// again as the same line; over lines as the program writes them, a filtered read gives exactly
// the records the filter accepts (the line sieve never passes over one); over any lines, it
// gives only records the filter accepts.
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "history/history_file.h"

namespace {

using namespace drovik::history;

const std::filesystem::path kPath = "drovik-history.jsonl";

std::string encoded(const std::vector<Record>& records) {
  std::string text;
  for (const Record& record : records) text += encodeLine(record);
  return text;
}

HistoryContents collected(std::string_view text, const RecordFilter& filter) {
  HistoryContents contents;
  collectRecords(text, kPath, filter, contents);
  return contents;
}

// Letters in the other case: profile names match regardless of it.
std::string otherCase(std::string text) {
  for (char& c : text)
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) c = static_cast<char>(c ^ 0x20);
  return text;
}

// A filter that the record `like` passes, for each field the choice's bits name.
RecordFilter filterLike(const Record& like, std::uint8_t choice) {
  RecordFilter filter;
  if (choice & 1) filter.profile = choice & 16 ? otherCase(like.profile) : like.profile;
  if (choice & 2) {
    std::string target = like.target;
    if (choice & 32)
      for (std::string_view prefix : {kSpoolerTargetPrefix, kNetworkTargetPrefix})
        if (target.starts_with(prefix)) target.erase(0, prefix.size());
    filter.target = target;
  }
  if (choice & 4) filter.operation = like.operation;
  if (choice & 8) filter.since = 1'700'000'000 + (choice >> 6) * 100'000'000LL;
  return filter;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view text = drovik::fuzz::asText({data + 1, size - 1});
  const HistoryContents all = collected(text, {});
  const std::string canonical = encoded(all.records);
  const HistoryContents again = collected(canonical, {});
  FUZZ_CHECK(again.notes.empty() && encoded(again.records) == canonical, canonical);
  if (all.records.empty()) return 0;

  const RecordFilter filter = filterLike(all.records[size % all.records.size()], data[0]);
  std::vector<Record> accepted;
  for (const Record& record : all.records)
    if (filter.matches(record)) accepted.push_back(record);
  FUZZ_CHECK(encoded(collected(canonical, filter).records) == encoded(accepted), canonical);
  for (const Record& record : collected(text, filter).records)
    FUZZ_CHECK(filter.matches(record), encodeLine(record));
  return 0;
}
