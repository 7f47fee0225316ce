// drovik-cli diff as a whole process: exit statuses as diff's, lines and JSON.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/cli_fixture.h"

using namespace drovik;
using drovik::test::CliRun;
using drovik::test::CliTest;

namespace {

namespace cat = catalogue;

int paperItem(std::string_view name) { return cat::findItem(name)->index; }

void longerFrontForm(ProfileModel& m) { m.setPaperIndex(2, paperItem("FormLenFront"), 14); }

using DiffCliTest = CliTest;

TEST_F(DiffCliTest, ExitStatusTellsEqualFromDifferentFromTrouble) {
  registerProfile(0, "A", "8630-GHJK");
  registerProfile(1, "B", "8630-GHJK");
  registerProfile(2, "C", "8630-GHJK", longerFrontForm);

  const CliRun equal = runIn({"diff", "A", "b"});  // names match regardless of case
  EXPECT_EQ(equal.exitCode, 0) << equal.err;
  EXPECT_EQ(equal.out, "");

  const CliRun differ = runIn({"diff", "A", "C"});
  EXPECT_EQ(differ.exitCode, 1) << differ.err;
  EXPECT_EQ(differ.out, "ユーザー３ フロントトラクタ 用紙長さ: １１インチ → １２インチ\n");
  EXPECT_EQ(differ.err, "");

  for (const auto& args : std::vector<std::vector<std::string>>{
           {"diff", "A", "Missing"}, {"diff", "A"}, {"diff", "A", "B", "C"}, {"diff", "--jsn"}}) {
    const CliRun r = runIn(args);
    EXPECT_EQ(r.exitCode, 2) << args.back();
    EXPECT_NE(r.err.find("drovik-cli: "), std::string::npos);
    EXPECT_EQ(r.out, "");
  }
  EXPECT_NE(runIn({"diff", "A", "Missing"}).err.find("Missing"), std::string::npos);
  EXPECT_EQ(runToFullDisk("diff A C").exitCode, 2);
  EXPECT_EQ(runToFullDisk("diff A C --json").exitCode, 2);
}

TEST_F(DiffCliTest, JsonIsAnEscapedArrayOfBothSides) {
  registerProfile(0, "A", "8630-GHJK");
  registerProfile(1, "B", "8630-GHJK", [](ProfileModel& m) {
    m.setUserName(0, R"(a"b\c)");
    m.flags.state[cat::interfaceItemNode(cat::kIfSel)] = 0;
  });
  const CliRun r = runIn({"diff", "A", "B", "--json"});
  EXPECT_EQ(r.exitCode, 1) << r.err;
  const auto json = nlohmann::json::parse(r.out);  // throws on invalid JSON
  ASSERT_TRUE(json.is_array());
  ASSERT_EQ(json.size(), 2u);
  EXPECT_EQ(json[0], nlohmann::json::parse(R"({"user": "", "group": "ユーザー名登録",
      "item": "ユーザー１の名前", "a": {"value": "U01", "included": true},
      "b": {"value": "a\"b\\c", "included": true}})"));
  EXPECT_EQ(json[1]["group"], "Ｉ／Ｆ設定");
  EXPECT_EQ(json[1]["item"], "Ｉ／Ｆ選択");
  EXPECT_EQ(json[1]["a"]["included"], true);
  EXPECT_EQ(json[1]["b"]["included"], false);
  EXPECT_EQ(json[1]["a"]["value"], json[1]["b"]["value"]);

  const CliRun equal = runIn({"diff", "--json", "A", "A"});
  EXPECT_EQ(equal.exitCode, 0);
  EXPECT_EQ(nlohmann::json::parse(equal.out), nlohmann::json::array());
}

// A GHJK profile and an M copy that differs outside what the M model reads compare equal.
TEST_F(DiffCliTest, AnMProfileComparesAsTheMModelReadsIt) {
  registerProfile(0, "Old", "8630-GHJK", [](ProfileModel& m) { m.setSelectUser(2); });
  registerProfile(1, "New", "8630-M", [](ProfileModel& m) {
    m.setSelectUser(2);
    m.setPaperIndex(0, paperItem("FormLenFront"), 14);  // user 1: not the initial user
    m.setUserName(2, "XYZ");
  });
  registerProfile(2, "Edited", "8630-M", [](ProfileModel& m) {
    m.setSelectUser(2);
    longerFrontForm(m);
  });
  EXPECT_EQ(runIn({"diff", "Old", "New"}).exitCode, 0);
  EXPECT_EQ(runIn({"diff", "New", "Old"}).exitCode, 0);
  const CliRun edited = runIn({"diff", "Old", "Edited"});
  EXPECT_EQ(edited.exitCode, 1);
  EXPECT_EQ(edited.out, "ユーザー３ フロントトラクタ 用紙長さ: １１インチ → １２インチ\n");
}

TEST_F(DiffCliTest, HelpNamesTheCommandAndItsStatuses) {
  const CliRun r = run({"--help"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_NE(r.out.find("diff A B [--json]"), std::string::npos);
  EXPECT_NE(r.out.find("0 違いなし、1 違いあり、2 エラー"), std::string::npos);
}

}  // namespace
