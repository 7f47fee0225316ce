// The plan as the fleet window edits it: bad rows kept and named as the command names them,
// saved whole, never over another program's newer copy unless asked; one run per plan.
#include "fleet/plan_entries.h"

#include <gtest/gtest.h>

#include "fleet/plan_lock.h"
#include "support/temp_dir.h"

namespace drovik::fleet {
namespace {

using test::readFile;
using test::writeFile;

// Each entry the command would refuse carries the command's own reason, and a row the command
// takes is taken here too: the window never runs what drovik-cli fleet would refuse.
TEST(PlanEntries, RowsAreJudgedAsTheCommandJudgesThem) {
  const std::string plan =
      "name,old_printer,new_target\n"
      "本社,10.0.0.1,ftp:10.0.1.1\n"
      "アドレス,10.0.0.256,parallel\n"
      "\n"
      "本社,10.0.0.2,cups:Q\n"
      "項目,10.0.0.3\n"
      "\"閉じない,10.0.0.4,parallel\n"
      "送信先なし,10.0.0.5,\n"
      "同じ先,10.0.0.6,FTP:10.0.1.1\n";
  test::TempDir dir;
  writeFile(dir / "p.csv", plan);
  auto document = readPlanDocument(dir / "p.csv");
  ASSERT_TRUE(document.isOk()) << document.message();
  ASSERT_EQ(document->entries.size(), 7u);
  EXPECT_EQ(document->version, plan);
  const auto checks = checkEntries(document->entries);
  ASSERT_TRUE(checks[0].row.has_value());
  EXPECT_EQ(checks[0].row->line, 1);

  const auto refused = parsePlan(plan);
  ASSERT_FALSE(refused.isOk());
  // The command numbers file lines, the window its rows; the reasons are the same words.
  const int fileLines[] = {2, 3, 5, 6, 7, 8, 9};
  for (std::size_t i = 1; i < checks.size(); ++i) {
    SCOPED_TRACE(i);
    ASSERT_FALSE(checks[i].row.has_value());
    std::string reason = checks[i].problem;
    const std::string window = "1行目";  // the clashes name the first row, line 2 of the file
    if (auto at = reason.find(window); at != std::string::npos)
      reason.replace(at, window.size(), "2行目");
    EXPECT_NE(refused.message().find("計画の" + std::to_string(fileLines[i]) + "行目: " + reason),
              std::string::npos)
        << reason << "\n"
        << refused.message();
  }
  // What a line held is kept for mending.
  EXPECT_EQ(document->entries[3].fields.name, "項目");
  EXPECT_FALSE(document->entries[3].lineProblem.empty());
  EXPECT_EQ(document->entries[4].fields.name, "\"閉じない,10.0.0.4,parallel");
}

TEST(PlanEntries, SavingNeverLosesAnotherProgramsCopy) {
  test::TempDir dir;
  const auto path = dir / "p.csv";
  std::vector<PlanEntry> entries = {{{"倉庫, \"北\"", "10.0.0.1", "cups:Q"}, {}},
                                    {{" 受付", "10.0.0.2", ""}, {}}};
  // A new plan: a file that appeared meanwhile is kept.
  writeFile(path, "theirs\n");
  auto saved = savePlanDocument(path, entries, std::nullopt, false);
  ASSERT_FALSE(saved.isOk());
  EXPECT_EQ(readFile(path), "theirs\n");

  saved = savePlanDocument(path, entries, std::nullopt, true);
  ASSERT_TRUE(saved.isOk()) << saved.message();
  auto reread = readPlanDocument(path);
  ASSERT_TRUE(reread.isOk());
  ASSERT_EQ(reread->entries.size(), 2u);
  EXPECT_EQ(reread->entries[0].fields.name, "倉庫, \"北\"");
  EXPECT_EQ(reread->entries[1].fields.name, " 受付");
  EXPECT_EQ(reread->version, *saved);

  // Saved again from the version read: fine. Changed by another program since: refused,
  // unless the operator says to overwrite.
  entries[1].fields.newTarget = "parallel";
  auto again = savePlanDocument(path, entries, *saved, false);
  ASSERT_TRUE(again.isOk()) << again.message();
  writeFile(path, "name,old_printer,new_target\nよそ,10.0.0.9,parallel\n");
  auto stale = savePlanDocument(path, entries, *again, false);
  ASSERT_FALSE(stale.isOk());
  EXPECT_TRUE(stale.message().starts_with(kPlanChangedElsewhere)) << stale.message();
  EXPECT_NE(readFile(path).find("よそ"), std::string::npos);
  ASSERT_TRUE(savePlanDocument(path, entries, *again, true).isOk());
  EXPECT_EQ(readFile(path).find("よそ"), std::string::npos);
}

TEST(PlanLock, OneRunOfAPlanAtATime) {
  test::TempDir dir;
  const auto plan = dir / "offices.csv";
  EXPECT_EQ(lockPathFor(plan), dir / "offices.lock");
  {
    auto first = PlanLock::take(plan);
    ASSERT_TRUE(first.isOk()) << first.message();
    auto second = PlanLock::take(plan);
    ASSERT_FALSE(second.isOk());
    EXPECT_TRUE(second.message().starts_with(kPlanInUse)) << second.message();
    // Another plan in the same folder is another lock.
    EXPECT_TRUE(PlanLock::take(dir / "branches.csv").isOk());
  }
  EXPECT_TRUE(PlanLock::take(plan).isOk());
  EXPECT_FALSE(PlanLock::take(dir / "missing" / "p.csv").isOk());
}

}  // namespace
}  // namespace drovik::fleet
