// --json of list, report and decode-nvram as whole processes: each output parsed and held
// against the profile files, the text output of the same command and the exit statuses.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/cli_fixture.h"

using namespace drovik;
using drovik::test::CliRun;
using drovik::test::CliTest;
using drovik::test::excludeEverything;
using drovik::test::readFile;
using drovik::test::writeFile;
using nlohmann::json;

namespace {

namespace cat = catalogue;

using JsonCliTest = CliTest;

const std::string kAllImage = DROVIK_TEST_DATA_DIR "/corpus/nvram/rnvr_all_1758.bin";
const std::string kNwImage = DROVIK_TEST_DATA_DIR "/corpus/nvram/rnvr_nw_13.bin";

int paperItem(std::string_view name) { return cat::findItem(name)->index; }

// The lines of a text output, without their ends (CR LF or LF).
std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// The lines of a settings list that show a setting: its label ends in tabs.
std::size_t settingLines(const std::string& report) {
  std::size_t count = 0;
  for (const std::string& line : linesOf(report)) count += line.find('\t') != std::string::npos;
  return count;
}

// The records whose stored keys include `key`.
std::vector<json> withKey(const json& records, const std::string& key) {
  std::vector<json> found;
  for (const json& record : records)
    if (record.at("stored").contains(key)) found.push_back(record);
  return found;
}

TEST_F(JsonCliTest, ListGivesEverySlotAndNoUserWhereTheLinesLeaveItEmpty) {
  EXPECT_EQ(json::parse(runIn({"list", "--json"}).out), json::array());
  registerProfile(0, R"(帳票"Ａ\)", "8630-GHJK", [](ProfileModel& m) { m.setSelectUser(2); });
  // A hand-edited index with a gap, and an initial user outside the ten.
  registerProfile(2, "新機種", "8630-M");
  registerProfile(3, "Odd", "8630-GHJK", [](ProfileModel& m) { m.setSelectUser(12); });

  const CliRun r = runIn({"list", "--json"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const json list = json::parse(r.out);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0], json::parse(R"({"slot": 0, "name": "帳票\"Ａ\\", "initial_user": "ユーザー３",
                                     "user_name": "U03", "model_type": "8630-GHJK"})"));
  EXPECT_EQ(list[1]["slot"], 2);
  EXPECT_EQ(list[1]["name"], "新機種");
  EXPECT_TRUE(list[1]["initial_user"].is_null());
  EXPECT_TRUE(list[1]["user_name"].is_null());
  EXPECT_EQ(list[1]["model_type"], "8630-M");
  EXPECT_TRUE(list[2]["initial_user"].is_null());
  EXPECT_TRUE(list[2]["user_name"].is_null());
  // The lines are as before.
  EXPECT_EQ(runIn({"list"}).out,
            "帳票\"Ａ\\\tユーザー３\tU03\t8630-GHJK\n新機種\t\t\t8630-M\nOdd\t\t\t8630-GHJK\n");

  const CliRun missing = run({"--data-dir", (dir / "absent").string(), "list", "--json"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.out, "");
  EXPECT_NE(missing.err.find("drovik-cli: データフォルダがありません"), std::string::npos);
  EXPECT_EQ(runIn({"list", "extra", "--json"}).exitCode, 2);
  EXPECT_EQ(runToFullDisk("list --json").exitCode, 1);
}

TEST_F(JsonCliTest, ReportHasOneRecordPerSettingTheListShows) {
  registerProfile(0, "G", "8630-GHJK", [](ProfileModel& m) {
    m.setPaperIndex(2, paperItem("FormLenFront"), 14);
    m.setPaperIndex(4, paperItem("LinePitchFront"), 99);  // outside its list
    m.setOctet(cat::kIpAddress, 0, 192);
    m.setOctet(cat::kIpAddress, 3, 7);
    m.flags.state[cat::paperItemNode(0, paperItem("FormLenFront"))] = 0;
  });
  const CliRun r = runIn({"report", "G", "--json"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const json records = json::parse(r.out);
  EXPECT_EQ(records.size(), settingLines(runIn({"report", "G"}).out));

  EXPECT_EQ(records[0], json::parse(R"({"user": null, "group": "ユーザー設定",
      "item": "初期ユーザー選択", "value": "ユーザー１", "stored": {"SelectUser": "0"}})"));
  const auto formLen = withKey(records, "User03_FormLenFront");
  ASSERT_EQ(formLen.size(), 1u);
  EXPECT_EQ(formLen[0], json::parse(R"({"user": "ユーザー３", "group": "フロントトラクタ",
      "item": "用紙長さ", "value": "１２インチ", "stored": {"User03_FormLenFront": "14"}})"));
  EXPECT_TRUE(withKey(records, "User01_FormLenFront").empty());  // excluded
  const auto pitch = withKey(records, "User05_LinePitchFront");
  ASSERT_EQ(pitch.size(), 1u);
  EXPECT_EQ(pitch[0]["value"], "範囲外の値 99");
  EXPECT_EQ(pitch[0]["stored"]["User05_LinePitchFront"], "99");
  const auto address = withKey(records, "IPAddress1");
  ASSERT_EQ(address.size(), 1u);
  EXPECT_TRUE(address[0]["user"].is_null());
  EXPECT_EQ(address[0]["value"], "192.0.0.7");
  EXPECT_EQ(address[0]["stored"], json::parse(R"({"IPAddress1": "192", "IPAddress2": "0",
      "IPAddress3": "0", "IPAddress4": "7"})"));

  registerProfile(1, "None", "8630-GHJK", excludeEverything);
  EXPECT_EQ(json::parse(runIn({"report", "None", "--json"}).out), json::array());
}

// An M profile's records are its initial user's, as the M list shows them; a profile the M
// list cannot be made for fails the same way in both outputs.
TEST_F(JsonCliTest, ReportOfAnMProfileReadsAsTheMModelReadsIt) {
  registerProfile(0, "M", "8630-M", [](ProfileModel& m) {
    m.setSelectUser(3);
    m.setPaperIndex(3, paperItem("FormLenFront"), 14);
  });
  registerProfile(1, "Bad", "8630-M", [](ProfileModel& m) { m.setSelectUser(12); });
  const CliRun r = runIn({"report", "m", "--json"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const json records = json::parse(r.out);
  // The M list shows the sheet feeders' eject direction twice, front and rear.
  EXPECT_EQ(records.size() + 1, settingLines(runIn({"report", "M"}).out));
  for (const json& record : records) EXPECT_EQ(record["user"], "ユーザー４") << record.dump();
  const auto formLen = withKey(records, "User04_FormLenFront");
  ASSERT_EQ(formLen.size(), 1u);
  EXPECT_EQ(formLen[0]["value"], "１２インチ");

  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"report", "Bad"}, {"report", "Bad", "--json"}}) {
    const CliRun bad = runIn(args);
    EXPECT_EQ(bad.exitCode, 1) << args.size();
    EXPECT_EQ(bad.out, "");
    EXPECT_NE(bad.err.find("初期ユーザーの値 12"), std::string::npos);
  }
  const CliRun missing = runIn({"report", "Absent", "--json"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.out, "");
  EXPECT_NE(missing.err.find("Absent"), std::string::npos);
  EXPECT_EQ(runToFullDisk("report M --json").exitCode, 1);
}

TEST_F(JsonCliTest, DecodeNvramGivesEveryKeyOfTheLinesWithItsName) {
  const CliRun text = run({"decode-nvram", "--all", kAllImage, "--nw", kNwImage});
  const CliRun r = run({"decode-nvram", "--json", "--all", kAllImage, "--nw", kNwImage});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const json decoded = json::parse(r.out);
  EXPECT_EQ(decoded["warnings"], json::array());
  const json& values = decoded["values"];
  const std::vector<std::string> lines = linesOf(text.out);
  ASSERT_EQ(values.size(), lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i)
    EXPECT_EQ(values[i]["key"].get<std::string>() + "=" + values[i]["value"].get<std::string>(),
              lines[i]);
  EXPECT_EQ(values[0], json::parse(R"({"key": "SelectUser", "value": "0", "user": null,
      "group": "ユーザー設定", "item": "初期ユーザー選択"})"));
  for (const json& value : values) {
    if (value["key"] == "User2") {
      EXPECT_TRUE(value["user"].is_null());
      EXPECT_EQ(value["item"], "ユーザー２の名前");
    } else if (value["key"] == "User10_AgaCut") {
      EXPECT_EQ(value["user"], "ユーザー１０");
      EXPECT_EQ(value["group"], "単票");
      EXPECT_EQ(value["item"], "紙厚設定");
    } else if (value["key"] == "SubnetMask3") {
      EXPECT_TRUE(value["user"].is_null());
      EXPECT_EQ(value["item"], "サブネットマスク");
    }
  }
}

// A printer byte beyond the table warns on stderr as before, and the JSON carries the warning;
// --into saves what it prints, and a lost output after the save has its own status.
TEST_F(JsonCliTest, DecodeNvramCarriesTheWarningsAndSavesWithInto) {
  std::string all = readFile(kAllImage);
  all.at(212 + 156 + 105) = 16;  // user 2's front form length: no such length
  writeFile(dir / "all.bin", all);
  const std::string allPath = (dir / "all.bin").string();

  const CliRun r =
      runIn({"decode-nvram", "--all", allPath, "--nw", kNwImage, "--into", "取得", "--json"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const json decoded = json::parse(r.out);
  ASSERT_EQ(decoded["warnings"].size(), 1u);
  const std::string warning = decoded["warnings"][0];
  EXPECT_EQ(warning.rfind("ユーザー２：フロントトラクタ用紙長さ", 0), 0u) << warning;
  EXPECT_NE(r.err.find("drovik-cli: 警告: ユーザー２：フロントトラクタ用紙長さ"),
            std::string::npos);
  ProfileModel stored;
  ASSERT_TRUE(store.loadSection(stored, "取得"));
  const auto keys = cat::valueKeysInSaveOrder();
  ASSERT_EQ(decoded["values"].size(), keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) {
    EXPECT_EQ(decoded["values"][i]["key"], keys[i].key);
    EXPECT_EQ(decoded["values"][i]["value"], stored.text.at(keys[i])) << keys[i].key;
  }

  const CliRun shortRun = run({"decode-nvram", "--all", kNwImage, "--nw", kNwImage, "--json"});
  EXPECT_EQ(shortRun.exitCode, 1);
  EXPECT_EQ(shortRun.out, "");
  EXPECT_EQ(run({"decode-nvram", "--all", allPath, "--json"}).exitCode, 2);
  EXPECT_EQ(runToFullDisk("decode-nvram --json --all " + test::quote(allPath) + " --nw " +
                          test::quote(kNwImage) + " --into 取得")
                .exitCode,
            3);
}

}  // namespace
