// drovik-cli as a whole process, on profile files written through the store.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "cli/cli_fixture.h"
#include "support/store_writes.h"

using namespace drovik;
using drovik::test::readFile;
using drovik::test::TempDir;
using drovik::test::writeFile;

namespace {

namespace fs = std::filesystem;
using drovik::test::CliRun;
using drovik::test::CliTest;
using drovik::test::excludeEverything;

}  // namespace

TEST_F(CliTest, ListPrintsOneTabSeparatedLinePerProfile) {
  registerProfile(0, "帳票Ａ", "8630-GHJK", [](ProfileModel& m) { m.setSelectUser(2); });
  registerProfile(1, "新機種", "8630-M");
  const CliRun r = runIn({"list"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "帳票Ａ\tユーザー３\tU03\t8630-GHJK\n新機種\t\t\t8630-M\n");
}

TEST_F(CliTest, BadArgumentsFailWithAMessage) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"frobnicate"}, {}, {"list", "extra"}, {"list", "--nope"}, {"--data-dir"}}) {
    const CliRun r = run(args);
    EXPECT_EQ(r.exitCode, 2) << args.size();
    EXPECT_NE(r.err.find("drovik-cli: "), std::string::npos);
  }
  const CliRun missing = run({"--data-dir", (dir / "absent").string(), "list"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("absent"), std::string::npos);
}

TEST_F(CliTest, GenerateWritesTheImageOfEachModel) {
  registerProfile(0, "G", "8630-GHJK");
  registerProfile(1, "M", "8630-M");
  registerProfile(2, "None", "8630-GHJK", excludeEverything);
  registerProfile(3, "Odd", "", excludeEverything);  // unknown model types are M
  const std::pair<const char*, std::size_t> cases[] = {
      {"G", 2955}, {"M", 195}, {"None", 15}, {"Odd", 15}};
  for (const auto& [name, size] : cases) {
    const auto out = dir / (std::string(name) + ".sib");
    const CliRun r = runIn({"generate", name, "-o", out.string()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(readFile(out).size(), size) << name;
  }
  // Names match as the INI matches sections: "g" is "G".
  EXPECT_EQ(runIn({"generate", "g", "-o", (dir / "x.sib").string()}).exitCode, 0);
  const CliRun unwritable = runIn({"generate", "G", "-o", (dir / "no" / "x.sib").string()});
  EXPECT_EQ(unwritable.exitCode, 1);
  EXPECT_NE(unwritable.err.find("ファイルを保存できません"), std::string::npos);
}

TEST_F(CliTest, GenerateWarnsAboutValuesOutsideTheirTables) {
  registerProfile(0, "G", "8630-GHJK", [](ProfileModel& m) { m.setPaperIndex(0, 0, 99); });
  const CliRun r = runIn({"generate", "G", "-o", (dir / "g.sib").string()});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_NE(r.err.find("警告"), std::string::npos);
  EXPECT_NE(r.err.find("99"), std::string::npos);
}

TEST_F(CliTest, ReportIsTheCrLfTextWithoutAFinalLineEnd) {
  registerProfile(0, "G", "8630-GHJK");
  const CliRun r = runIn({"report", "G"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("\r\n"), std::string::npos);
  EXPECT_EQ(r.out.find("\r\n\r\n\r\n"), std::string::npos);
  EXPECT_NE(r.out.back(), '\n');
}

TEST_F(CliTest, MigrateCopiesTheSectionAndPrintsTheMReport) {
  registerProfile(0, "A", "8630-GHJK", [](ProfileModel& m) { m.setSelectUser(4); });
  writeFile(dir / "extra.txt", "");
  const CliRun r = runIn({"migrate", "A", "B"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out.rfind("8630-Mモデルへの移行設定", 0), 0u);
  auto a = store.readSection("A");
  auto b = store.readSection("B");
  ASSERT_TRUE(a && b);
  EXPECT_EQ(*a, *b);
  EXPECT_EQ(runIn({"list"}).out, "A\tユーザー５\tU05\t8630-GHJK\nB\t\t\t8630-M\n");

  // Onto an existing name only with --yes; an M profile cannot be migrated again.
  const CliRun refused = runIn({"migrate", "A", "B"});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_NE(refused.err.find("登録名「B」はすでにあります。上書きしますか？"), std::string::npos);
  EXPECT_EQ(runIn({"migrate", "A", "B", "--yes"}).exitCode, 0);
  EXPECT_EQ(runIn({"migrate", "B", "C"}).exitCode, 1);
  EXPECT_EQ(runIn({"migrate", "A", std::string(61, 'x')}).exitCode, 2);
}

TEST_F(CliTest, MigrateRespectsTheLimitOfTwentyProfiles) {
  for (int i = 0; i < 20; ++i)
    ASSERT_TRUE(test::writeIndexEntry(store, i, "P" + std::to_string(i), "8630-GHJK"));
  const CliRun r = runIn({"migrate", "P0", "New"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("20個以上は登録できません"), std::string::npos);
}

TEST_F(CliTest, DumpListsAGoodImageAndFlagsADamagedOne) {
  registerProfile(0, "G", "8630-GHJK");
  const auto sib = dir / "g.sib";
  ASSERT_EQ(runIn({"generate", "G", "-o", sib.string()}).exitCode, 0);
  const CliRun good = run({"dump", sib.string()});
  EXPECT_EQ(good.exitCode, 0) << good.err;
  EXPECT_NE(good.out.find("用紙長さ：１１インチ"), std::string::npos);

  std::string bytes = readFile(sib);
  writeFile(dir / "cut.sib", bytes.substr(0, 100));
  EXPECT_EQ(run({"dump", (dir / "cut.sib").string()}).exitCode, 1);
  EXPECT_EQ(run({"dump", (dir / "absent.sib").string()}).exitCode, 1);
}

TEST_F(CliTest, DecodeNvramRefusesShortImagesAndSavesIntoANewProfile) {
  writeFile(dir / "short.bin", std::string(1757, '\0'));
  std::string all(1758, '\0');
  all[1] = 30;  // interface switch time
  writeFile(dir / "all.bin", all);
  writeFile(dir / "nw.bin", std::string(13, '\0'));
  const CliRun shortRun = run(
      {"decode-nvram", "--all", (dir / "short.bin").string(), "--nw", (dir / "nw.bin").string()});
  EXPECT_EQ(shortRun.exitCode, 1);
  EXPECT_EQ(shortRun.out, "");

  const CliRun r = runIn({"decode-nvram", "--all", (dir / "all.bin").string(), "--nw",
                          (dir / "nw.bin").string(), "--into", "取得"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out.rfind("SelectUser=0\nUser1=", 0), 0u);
  EXPECT_NE(r.out.find("\nIfChgTime=30\n"), std::string::npos);
  EXPECT_NE(r.out.find("\nErrDisp="), std::string::npos);
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 698);
  EXPECT_EQ(runIn({"list"}).out.rfind("取得\t", 0), 0u);
  auto section = store.readSection("取得");
  ASSERT_TRUE(section);
  EXPECT_EQ(section->size(), 1461u);
}

TEST_F(CliTest, ReadingCommandsLeaveNothingInTheDataFolder) {
  registerProfile(0, "G", "8630-GHJK");
  fs::remove(dir / ".drovik.lock");
  const auto before = folderListing();
  const auto sib = dir.path().parent_path() / (dir.path().filename().string() + ".sib");
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"list"}, {"report", "G"}, {"diff", "G", "G"}, {"history"}})
    EXPECT_EQ(runIn(args).exitCode, 0) << args[0];
  EXPECT_EQ(folderListing(), before);
  // A command file written is a delivery: it leaves its history record, and nothing else.
  EXPECT_EQ(runIn({"generate", "G", "-o", sib.string()}).exitCode, 0);
  fs::remove(sib);
  auto withHistory = before;
  withHistory.insert({".drovik.lock", "drovik-history.jsonl"});
  EXPECT_EQ(folderListing(), withHistory);
}

TEST_F(CliTest, OutputThatCannotBeWrittenFails) {
  registerProfile(0, "A", "8630-GHJK");
  const CliRun report = runToFullDisk("report A");
  EXPECT_EQ(report.exitCode, 1);
  EXPECT_NE(report.err.find("標準出力に書き込めません"), std::string::npos) << report.err;
  EXPECT_EQ(runToFullDisk("list").exitCode, 1);
  // The copy is registered, only its list is lost: a status of its own says so.
  const CliRun migrate = runToFullDisk("migrate A B");
  EXPECT_EQ(migrate.exitCode, 3);
  EXPECT_NE(migrate.err.find("「B」は８６３０－Ｍの設定として登録しました"), std::string::npos);
  EXPECT_EQ(runIn({"list"}).out, "A\tユーザー１\tU01\t8630-GHJK\nB\t\t\t8630-M\n");
}
