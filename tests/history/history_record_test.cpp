// The record's line, its time and the filters: what another tool reads must be plain UTF-8
// JSON, a time is the same moment however it is written, and a filtered read finds exactly the
// records the filter accepts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <nlohmann/json.hpp>

#include "history/history_file.h"
#include "history/history_time.h"
#include "history/record_filter.h"
#include "history/recorder.h"
#include "support/temp_dir.h"

namespace drovik::history {
namespace {

Record sample() {
  Record record;
  record.time = "2024-04-01T09:30:00+09:00";
  record.user = "sato";
  record.host = "office-pc";
  record.program = "drovik 0.1.0";
  record.operation = "command-file";
  record.profile = "本社 \"経理\" \\ 1";
  record.model = "8630-M";
  record.target = "/home/sato/\xff\xfe.sib";  // a file name that is no UTF-8
  record.bytes = 195;
  record.sha256 = std::string(64, 'a');
  record.outcome = "failed";
  record.message = "書き込めません\n（容量不足）";
  return record;
}

TEST(HistoryRecord, LineIsOneUtf8JsonObjectThatReadsBack) {
  const std::string line = encodeLine(sample());
  ASSERT_EQ(line.back(), '\n');
  EXPECT_EQ(line.find('\n'), line.size() - 1);    // a line break inside stays escaped
  const auto json = nlohmann::json::parse(line);  // throws on bytes that are no UTF-8
  EXPECT_EQ(json["target"], "/home/sato/\xEF\xBF\xBD\xEF\xBF\xBD.sib");
  EXPECT_EQ(json["bytes"], 195);

  auto decoded = decodeLine(std::string_view(line).substr(0, line.size() - 1));
  ASSERT_TRUE(decoded);
  Record expected = sample();
  expected.target = json["target"];
  EXPECT_EQ(encodeLine(*decoded), encodeLine(expected));

  Record change = sample();
  change.bytes.reset();
  change.sha256.clear();
  const auto plain = nlohmann::json::parse(encodeLine(change));
  EXPECT_TRUE(plain["bytes"].is_null());
  EXPECT_TRUE(plain["sha256"].is_null());
}

TEST(HistoryRecord, LinesThatAreNoRecordAreRefused) {
  for (const std::string_view line :
       {"", "[]", "{}", "not json", "{\"time\":\"2024-04-01T09:30:00Z\"}",
        "{\"time\":\"2024-04-01T09:30:00Z\",\"operation\":\"send\",\"bytes\":-1}",
        "{\"time\":\"2024-04-01T09:30:00Z\",\"operation\":\"send\",\"bytes\":\"9\"}",
        "{\"time\":\"2024-04-01T09:30:00Z\",\"operation\":\"send\",\"profile\":7}",
        "{\"time\":\"2024-04-01T09:30:00Z\",\"operation\":\"send\""})
    EXPECT_FALSE(decodeLine(line)) << line;
  EXPECT_TRUE(decodeLine("{\"time\":\"2024-04-01T09:30:00Z\",\"operation\":\"send\"}"));
}

TEST(HistoryTime, EveryWritingOfAMomentGivesTheSameSeconds) {
  constexpr std::int64_t kMoment = 1711931400;  // 2024-04-01 00:30:00 UTC
  for (const char* text :
       {"2024-04-01T09:30:00+09:00", "2024-04-01T00:30:00Z", "2024-04-01 09:30:00+0900",
        "2024-04-01T09:30+09", "2024-03-31T19:30:00.250-05:00"})
    EXPECT_EQ(parseTimePoint(text), kMoment) << text;
  for (const char* text :
       {"2024-02-30", "2024-13-01", "2024-04-01T24:00", "2024-04-01T09:60", "2024/04/01",
        "2024-04-01x", "2024-04-01T09:30:00+25:00", "2024-4-1", "", "2024-04-01T09:30:00."})
    EXPECT_FALSE(parseTimePoint(text)) << text;
}

TEST(HistoryTime, LocalTimeCarriesTheOffsetOfItsZone) {
  const char* saved = std::getenv("TZ");
  const std::string previous = saved ? saved : "";
  ::setenv("TZ", "Asia/Tokyo", 1);
  ::tzset();
  const std::string tokyo = isoLocalTime(1711931400);
  const auto midnight = parseTimePoint("2024-04-01");  // a date alone: local midnight
  ::setenv("TZ", "America/New_York", 1);
  ::tzset();
  const std::string newYork = isoLocalTime(1711931400);
  if (saved)
    ::setenv("TZ", previous.c_str(), 1);
  else
    ::unsetenv("TZ");
  ::tzset();
  EXPECT_EQ(tokyo, "2024-04-01T09:30:00+09:00");
  EXPECT_EQ(newYork, "2024-03-31T20:30:00-04:00");
  EXPECT_EQ(midnight, 1711897200);  // 2024-03-31 15:00 UTC
  EXPECT_EQ(parseTimePoint(newYork), 1711931400);
}

Record made(const std::string& profile, const std::string& target, std::string_view operation,
            const std::string& time = "2024-04-01T09:30:00+09:00") {
  Record record = change(operation, profile, "8630-M");
  record.target = target;
  record.time = time;
  return record;
}

TEST(RecordFilter, MatchesAsProfileNamesAndTargetsAreWritten) {
  RecordFilter filter;
  filter.profile = "Honsha";
  EXPECT_TRUE(filter.matches(made("HONSHA", "", operation::kSave)));
  EXPECT_FALSE(filter.matches(made("ＨＯＮＳＨＡ", "", operation::kSave)));  // only ASCII folds
  EXPECT_FALSE(filter.matches(made("Honsha-M", "", operation::kSave)));

  filter = {};
  filter.target = "192.168.0.10";
  EXPECT_TRUE(filter.matches(made("a", "ftp:192.168.0.10", operation::kSend)));
  EXPECT_FALSE(filter.matches(made("a", "ftp:192.168.0.100", operation::kSend)));
  filter.target = "KEIRI";
  EXPECT_TRUE(filter.matches(made("a", "cups:KEIRI", operation::kSend)));
  EXPECT_FALSE(filter.matches(made("a", "cups:keiri", operation::kSend)));  // queues are exact

  filter = {};
  filter.since = parseTimePoint("2024-04-01T09:30:00+09:00");
  EXPECT_TRUE(filter.matches(made("a", "", operation::kSave, "2024-04-01T00:30:00Z")));
  EXPECT_FALSE(filter.matches(made("a", "", operation::kSave, "2024-04-01T00:29:59Z")));
  EXPECT_FALSE(filter.matches(made("a", "", operation::kSave, "yesterday")));
}

// The filtered read passes over lines before decoding them: it must find what filtering every
// record finds, whatever the names hold.
TEST(RecordFilter, FilteredReadFindsWhatFilteringAllRecordsFinds) {
  test::TempDir dir;
  const HistoryFile file(dir.path());
  const std::vector<std::string> names = {"abc", "ABC", "a\"b", "a\\b", "経理", "abcd", "x:abc"};
  const std::vector<std::string> targets = {"cups:abc", "ftp:10.0.0.1", "parallel", "/tmp/abc"};
  int n = 0;
  for (const std::string& name : names)
    for (const std::string& target : targets) {
      const auto op = operation::kAll[n++ % operation::kAll.size()];
      ASSERT_TRUE(file.append(made(name, target, op)));
    }
  const auto all = file.read();
  ASSERT_TRUE(all);
  std::vector<RecordFilter> filters;
  for (const std::string& name : names) filters.push_back({name, {}, {}, {}});
  for (const std::string target : {"abc", "10.0.0.1", "parallel", "/tmp/abc", "ABC"})
    filters.push_back({{}, target, {}, {}});
  filters.push_back({"abc", "abc", std::string(operation::kRegister), {}});
  for (const RecordFilter& filter : filters) {
    const auto filtered = file.read(filter);
    ASSERT_TRUE(filtered);
    std::vector<std::string> expected;
    for (const Record& record : all->records)
      if (filter.matches(record)) expected.push_back(encodeLine(record));
    std::vector<std::string> found;
    for (const Record& record : filtered->records) found.push_back(encodeLine(record));
    EXPECT_EQ(found, expected) << filter.profile.value_or("") << " " << filter.target.value_or("");
    // Queues and addresses match exactly: "ABC" passes the case-blind look at the lines only.
    EXPECT_EQ(found.empty(), filter.target == "ABC");
  }
}

}  // namespace
}  // namespace drovik::history
