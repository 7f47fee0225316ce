#include "discovery/plan_draft.h"

#include <gtest/gtest.h>

#include "fleet/fleet_plan.h"
#include "support/temp_dir.h"

namespace drovik::discovery {
namespace {

FoundPrinter printer(Ipv4Octets address, PrinterModel::Kind kind, std::optional<std::string> name,
                     std::optional<std::string> location, std::optional<std::string> serial = {}) {
  FoundPrinter found;
  found.address = address;
  found.model = {kind, kind == PrinterModel::Kind::Old ? "8630-H05" : "8630-M"};
  found.snmp = SnmpValues{};
  found.snmp->sysName = std::move(name);
  found.snmp->sysLocation = std::move(location);
  found.snmp->serialNumber = std::move(serial);
  return found;
}

constexpr auto kOld = PrinterModel::Kind::Old;
constexpr auto kNew = PrinterModel::Kind::New;

TEST(SafeRowName, KeepsWhatAProfileAndAFolderCanHold) {
  EXPECT_EQ(safeRowName("3F/東\\01"), "3F_東_01");
  EXPECT_EQ(safeRowName(" [経理] "), "_経理_");
  EXPECT_EQ(safeRowName("印刷😀"), "印刷_");  // not in code page 932
  EXPECT_EQ(safeRowName(std::string("a\x01\xFF", 3)), "a__");
  EXPECT_EQ(safeRowName(std::string(70, 'n')), std::string(58, 'n'));  // room for "-M"
  EXPECT_EQ(safeRowName(".."), "");
  EXPECT_EQ(safeRowName("   "), "");
  EXPECT_TRUE(fleet::checkRowName(safeRowName("\"quoted\"")));
}

TEST(DraftPlan, NamesComeFromSnmpThenLocationThenAddressAndNeverClash) {
  const auto rows = draftPlan(
      {printer({10, 0, 0, 1}, kOld, "pr-101", "3F"), printer({10, 0, 0, 2}, kOld, {}, "2F 東"),
       printer({10, 0, 0, 3}, kOld, {}, {}), printer({10, 0, 0, 4}, kOld, "PR-101", {}),
       printer({10, 0, 0, 5}, kOld, "pr-101-M", {}), printer({10, 0, 0, 9}, kNew, "new", "5F")},
      {});
  ASSERT_EQ(rows.size(), 5u);  // the 8630-M is no row
  EXPECT_EQ(rows[0].name, "pr-101");
  EXPECT_EQ(rows[1].name, "2F 東");
  EXPECT_EQ(rows[2].name, "10.0.0.3");
  EXPECT_EQ(rows[3].name, "PR-101-2");    // the settings file matches names regardless of case
  EXPECT_EQ(rows[4].name, "pr-101-M-2");  // would be pr-101's 8630-M copy
}

TEST(DraftPlan, TargetsFromTheMapElseFromAOneToOneLocation) {
  const std::vector<FoundPrinter> found = {
      printer({10, 0, 1, 1}, kOld, "a", "3F", "SN-1"),  // map by serial
      printer({10, 0, 1, 2}, kOld, "b", "4F"),          // paired in 4F
      printer({10, 0, 1, 3}, kNew, "b-new", "4F"),
      printer({10, 0, 1, 4}, kOld, "c", "5F"),  // two old printers in 5F: no pairing
      printer({10, 0, 1, 5}, kOld, "d", "5F"),
      printer({10, 0, 1, 6}, kNew, "d-new", "5F"),
      printer({10, 0, 1, 7}, kOld, "e", {}),  // map by address
  };
  auto map = parseTargetMap("key,target\nSN-1,cups:Floor3\n10.0.1.7,ftp:10.0.2.7\n# note\n");
  ASSERT_TRUE(map) << map.message();
  const auto rows = draftPlan(found, *map);
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0].target->text(), "cups:Floor3");
  EXPECT_EQ(rows[1].target->text(), "ftp:10.0.1.3");
  EXPECT_FALSE(rows[2].target);
  EXPECT_FALSE(rows[3].target);
  EXPECT_NE(rows[3].note.find("new_target"), std::string::npos);
  EXPECT_EQ(rows[4].target->text(), "ftp:10.0.2.7");
}

TEST(DraftPlan, TheWrittenPlanIsOneTheFleetReadsAndRefusesOnlyForTheOpenRows) {
  const auto rows =
      draftPlan({printer({10, 0, 1, 2}, kOld, "b,\"x\"", "4F"),
                 printer({10, 0, 1, 3}, kNew, {}, "4F"), printer({10, 0, 1, 4}, kOld, " c ", {})},
                {});
  const std::string text = fleet::planFileText(planLines(rows));
  auto plan = fleet::parsePlan(text);
  ASSERT_FALSE(plan);
  // Only the row without a target is named.
  EXPECT_EQ(plan.message().find("2行目"), std::string::npos) << plan.message();
  EXPECT_NE(plan.message().find("3行目"), std::string::npos) << plan.message();
  EXPECT_NE(plan.message().find("送信先がありません"), std::string::npos) << plan.message();

  auto filled = fleet::parsePlan(fleet::planFileText({planLines(rows)[0]}));
  ASSERT_TRUE(filled) << filled.message();
  EXPECT_EQ((*filled)[0].name, "b,_x_");  // the comma quoted, the quotes made "_"
  EXPECT_EQ((*filled)[0].target.text(), "ftp:10.0.1.3");
}

TEST(TargetMap, EveryBadLineIsNamed) {
  auto map = parseTargetMap("10.0.0.1,ftp:10.0.0.999\n,parallel\n10.0.0.3,a,b\nok,file.sib\n");
  ASSERT_FALSE(map);
  for (const char* line : {"1行目", "2行目", "3行目", "4行目"})
    EXPECT_NE(map.message().find(line), std::string::npos) << line << ": " << map.message();
}

TEST(PlanFile, WrittenWholeNeverOverAnotherFileUnlessAsked) {
  test::TempDir dir;
  const auto path = dir / "plan.csv";
  ASSERT_TRUE(fleet::writePlanFile(path, "first\n", false));
  const Status again = fleet::writePlanFile(path, "second\n", false);
  ASSERT_FALSE(again);
  EXPECT_TRUE(again.message().starts_with(fleet::kPlanExists));
  EXPECT_EQ(test::readFile(path), "first\n");
  ASSERT_TRUE(fleet::writePlanFile(path, "second\n", true));
  EXPECT_EQ(test::readFile(path), "second\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);  // no leftovers

  EXPECT_FALSE(fleet::writePlanFile(dir / "missing" / "plan.csv", "x\n", false));
}

}  // namespace
}  // namespace drovik::discovery
