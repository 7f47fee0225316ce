// drovik-cli history: both generations in the order written, each filter, JSON Lines another
// tool can parse, a damaged line noted without failing, and the commands' own records,
// including a warning (not a failure) when the history cannot be written.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/cli_fixture.h"
#include "history/history_file.h"
#include "history/recorder.h"
#include "history/sha256.h"

namespace drovik::test {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

class HistoryCliTest : public CliTest {
 protected:
  void add(const fs::path& file, const std::string& time, std::string_view operation,
           const std::string& profile, const std::string& target) {
    history::Record record = history::change(operation, profile, "8630-M", "メモ\tタブ");
    record.time = time;
    record.user = "sato";
    record.target = target;
    std::ofstream(file, std::ios::app) << history::encodeLine(record);
  }
  // A history of two generations: the older in the previous file.
  void addSampleHistory() {
    const history::HistoryFile file(dir.path());
    add(file.previousPath(), "2024-03-01T10:00:00+09:00", history::operation::kRegister, "本社",
        "");
    add(file.previousPath(), "2024-03-02T10:00:00+09:00", history::operation::kSend, "本社",
        "cups:KEIRI");
    add(file.path(), "2024-04-01T10:00:00+09:00", history::operation::kSend, "Shiten",
        "ftp:192.168.0.10");
    add(file.path(), "2024-04-02T10:00:00+09:00", history::operation::kSend, "本社",
        "ftp:192.168.0.100");
    add(file.path(), "2024-04-03T10:00:00+09:00", history::operation::kDelete, "shiten", "");
  }
  // Time and profile of each JSON line of the output, every line parsed.
  static std::vector<std::string> jsonRows(const std::string& out) {
    std::vector<std::string> rows;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
      const json record = json::parse(line);
      rows.push_back(record.at("time").get<std::string>().substr(0, 10) + " " +
                     record.at("profile").get<std::string>());
    }
    return rows;
  }
  std::vector<std::string> jsonRun(std::vector<std::string> args) {
    args.insert(args.begin(), "history");
    args.push_back("--json");
    const CliRun r = runIn(args);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    return jsonRows(r.out);
  }
};

TEST_F(HistoryCliTest, FiltersSelectFromBothGenerationsOldestFirst) {
  addSampleHistory();
  EXPECT_EQ(jsonRun({}),
            (std::vector<std::string>{"2024-03-01 本社", "2024-03-02 本社", "2024-04-01 Shiten",
                                      "2024-04-02 本社", "2024-04-03 shiten"}));
  EXPECT_EQ(jsonRun({"--profile", "SHITEN"}),
            (std::vector<std::string>{"2024-04-01 Shiten", "2024-04-03 shiten"}));
  EXPECT_EQ(jsonRun({"--target", "192.168.0.10"}), std::vector<std::string>{"2024-04-01 Shiten"});
  EXPECT_EQ(jsonRun({"--target", "cups:KEIRI"}), std::vector<std::string>{"2024-03-02 本社"});
  EXPECT_EQ(jsonRun({"--operation", "send", "--profile", "本社"}),
            (std::vector<std::string>{"2024-03-02 本社", "2024-04-02 本社"}));
  // The start of a day in Tokyo is the evening before in UTC.
  EXPECT_EQ(jsonRun({"--since", "2024-04-01T15:00:00Z"}),
            (std::vector<std::string>{"2024-04-02 本社", "2024-04-03 shiten"}));
  EXPECT_EQ(jsonRun({"--since", "2024-04-02T10:00+09:00", "--profile", "本社"}),
            std::vector<std::string>{"2024-04-02 本社"});
  EXPECT_EQ(jsonRun({"--profile", "支店"}), std::vector<std::string>{});
}

TEST_F(HistoryCliTest, TableHasTwelveColumnsPerRecordWithoutStrayTabs) {
  addSampleHistory();
  const CliRun r = runIn({"history", "--profile", "本社"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::istringstream lines(r.out);
  std::vector<std::vector<std::string>> rows;
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> cells;
    std::istringstream fields(line);
    for (std::string cell; std::getline(fields, cell, '\t');) cells.push_back(cell);
    rows.push_back(cells);
  }
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1],
            (std::vector<std::string>{"2024-03-02T10:00:00+09:00", "sato", "", "", "send", "本社",
                                      "8630-M", "cups:KEIRI", "", "", "ok", "メモ タブ"}));
}

TEST_F(HistoryCliTest, DamagedLinesAreNotedAndTheRestIsShown) {
  addSampleHistory();
  const history::HistoryFile file(dir.path());
  writeFile(file.path(), readFile(file.path()) + "{\"time\":\"2024-04-0");  // cut off by a crash
  const CliRun r = runIn({"history", "--json"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(jsonRows(r.out).size(), 5u);
  EXPECT_NE(r.err.find("注意: 履歴ファイル「" + file.path().string() + "」の最後の行（4行目）"),
            std::string::npos)
      << r.err;
}

TEST_F(HistoryCliTest, BadOptionsAreUsageErrors) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"history", "--since", "2024-02-30"},
                                             {"history", "--since", "yesterday"},
                                             {"history", "--operation", "print"},
                                             {"history", "extra"}}) {
    const CliRun r = runIn(args);
    EXPECT_EQ(r.exitCode, 2) << args[1];
    EXPECT_EQ(r.out, "");
  }
  EXPECT_NE(runIn({"history", "--operation", "print"}).err.find("fleet-send"), std::string::npos);
}

TEST_F(HistoryCliTest, CommandsRecordWhatTheyChangedAndDelivered) {
  ASSERT_EQ(runIn({"register", "Office"}).exitCode, 0);
  ASSERT_EQ(runIn({"migrate", "office", "Office-M"}).exitCode, 0);
  const fs::path sib = dir / "out.sib";
  ASSERT_EQ(runIn({"generate", "office-m", "-o", sib.string()}).exitCode, 0);
  // No parallel port here: the send fails, and the attempt is recorded as such.
  EXPECT_EQ(runIn({"send", "OFFICE-M", "--parallel"}).exitCode, 1);
  ASSERT_EQ(runIn({"delete", "Office"}).exitCode, 0);

  const CliRun r = runIn({"history", "--json"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::vector<json> records;
  std::istringstream lines(r.out);
  for (std::string line; std::getline(lines, line);) records.push_back(json::parse(line));
  ASSERT_EQ(records.size(), 5u);
  const std::string command = readFile(sib);
  const std::string digest = history::sha256Hex(std::span<const std::uint8_t>(
      reinterpret_cast<const std::uint8_t*>(command.data()), command.size()));
  EXPECT_EQ(records[2]["operation"], "command-file");
  EXPECT_EQ(records[2]["target"], sib.string());
  EXPECT_EQ(records[2]["sha256"], digest);
  EXPECT_EQ(records[3]["operation"], "send");
  EXPECT_EQ(records[3]["profile"], "Office-M");  // as the files name it
  EXPECT_EQ(records[3]["model"], "8630-M");
  EXPECT_EQ(records[3]["target"], "parallel");
  EXPECT_EQ(records[3]["bytes"], command.size());
  EXPECT_EQ(records[3]["sha256"], digest);
  EXPECT_EQ(records[3]["outcome"], "failed");
  EXPECT_EQ(records[4]["operation"], "delete");
  for (const json& record : records)
    EXPECT_EQ(record["program"].get<std::string>().rfind("drovik-cli ", 0), 0u);
}

TEST_F(HistoryCliTest, UnwritableHistoryIsAWarningAndTheChangeStands) {
  fs::create_directory(dir / history::kHistoryFileName);
  const CliRun registered = runIn({"register", "Office"});
  EXPECT_EQ(registered.exitCode, 0);
  EXPECT_NE(registered.err.find("drovik-cli: 警告: 操作の履歴を記録できませんでした"),
            std::string::npos)
      << registered.err;
  EXPECT_EQ(runIn({"list"}).out.rfind("Office\t", 0), 0u);
  // Reading a history that is no file is a failure of its own.
  EXPECT_EQ(runIn({"history"}).exitCode, 1);
}

}  // namespace
}  // namespace drovik::test
