// An index edited by hand: gaps, duplicate names and keys, entries out of range. Slots show
// as the index has them, and registering a new profile takes the first free slot without
// overwriting a registered one.
#include <gtest/gtest.h>

#include "hostile/cli_runner.h"
#include "hostile/file_checks.h"
#include "hostile/time_guard.h"
#include "model/profile_store.h"
#include "support/temp_dir.h"

using namespace drovik;
using namespace drovik::hostile;
using drovik::test::readFile;
using drovik::test::TempDir;
using drovik::test::writeFile;

namespace {

// Slot 1 is a gap, A is registered twice, Set0 is given twice (the first counts), "set4"
// matches without case, Set6 is empty, Set20 lies beyond the 20 slots, MType7 has no name,
// and the second [SetName] section is shadowed by the first.
const std::string kHostileIndex =
    "[SetName]\r\nSet0=A\r\nSet0=Shadowed\r\nSet2=B\r\nSet3=A\r\nset4=lower\r\nSet5=Z\r\n"
    "Set6=\r\nSet20=Beyond\r\n"
    "[MTypeName]\r\nMType0=8630-GHJK\r\nMType2=8630-M\r\nMType3=8630-GHJK\r\nMType5=8630-GHJK\r\n"
    "MType7=8630-M\r\n"
    "[SetName]\r\nSet1=Second\r\n";
const std::string kHostileSettings =
    "[A]\r\nSelectUser=2\r\nUser3=\x82\x60\r\n[Z]\r\nSelectUser=0\r\n";

class HostileIndexTest : public ::testing::Test {
 protected:
  TempDir dir;
  ProfileStore store{StorePaths::inDirectory(dir.path())};

  void SetUp() override {
    writeFile(store.paths().indexFile, kHostileIndex);
    writeFile(store.paths().settingsFile, kHostileSettings);
  }
  ProcessResult cli(std::vector<std::string> args) {
    args.insert(args.begin(), {"--data-dir", dir.path().string()});
    return runCli(args);
  }
  // Images a retrieval could leave, with values every check accepts.
  std::vector<std::string> decodeArgs(const std::string& into) {
    std::string all(1758, '\0');
    all[1] = 30;  // interface switch time
    writeFile(dir / "all.bin", all);
    writeFile(dir / "nw.bin", std::string(13, '\0'));
    return {"decode-nvram", "--all", (dir / "all.bin").string(), "--nw", (dir / "nw.bin").string(),
            "--into",       into};
  }
};

}  // namespace

TEST_F(HostileIndexTest, SlotsAndListShowTheIndexAsItStands) {
  const TimeGuard guard("HostileIndexTest.SlotsAndListShowTheIndexAsItStands", kCaseTimeLimit);
  const FolderSnapshot original = snapshotFolder(dir.path());
  ProfileSlotTable slots;
  ASSERT_TRUE(store.readAllSlots(slots));
  const std::pair<const char*, const char*> expected[cat::kSlotCount] = {
      {"A", "8630-GHJK"}, {"", ""},           {"B", "8630-M"}, {"A", "8630-GHJK"},
      {"lower", ""},      {"Z", "8630-GHJK"}, {"", ""},        {"", "8630-M"},
  };
  for (int i = 0; i < cat::kSlotCount; ++i) {
    EXPECT_EQ(slots[i].name, expected[i].first ? expected[i].first : "") << i;
    EXPECT_EQ(slots[i].modelType, expected[i].second ? expected[i].second : "") << i;
  }
  EXPECT_EQ(slots[0].userName, "Ａ");
  EXPECT_EQ(slots[3].userName, "Ａ");  // the same profile, listed in both slots

  const ProcessResult list = cli({"list"});
  ASSERT_TRUE(endedNormally(list));
  EXPECT_EQ(list.exitCode, 0) << list.err;
  EXPECT_EQ(list.out,
            "A\tユーザー３\tＡ\t8630-GHJK\nB\t\t\t8630-M\nA\tユーザー３\tＡ\t8630-GHJK\n"
            "lower\tユーザー１\tU01\t\nZ\tユーザー１\tU01\t8630-GHJK\n");
  EXPECT_TRUE(sameFolder(original, snapshotFolder(dir.path())));
}

TEST_F(HostileIndexTest, RegistrationTakesTheFirstFreeSlotAndKeepsEveryEntry) {
  const TimeGuard guard("HostileIndexTest.RegistrationTakesTheFirstFreeSlotAndKeepsEveryEntry",
                        kCaseTimeLimit);
  const ProcessResult decoded = cli(decodeArgs("New"));
  ASSERT_TRUE(endedNormally(decoded));
  ASSERT_EQ(decoded.exitCode, 0) << decoded.err;
  const ProcessResult migrated = cli({"migrate", "A", "Migrated"});
  ASSERT_TRUE(endedNormally(migrated));
  ASSERT_EQ(migrated.exitCode, 0) << migrated.err;

  ProfileSlotTable slots;
  ASSERT_TRUE(store.readSlotNames(slots));
  const char* const names[] = {"A", "New", "B", "A", "lower", "Z", "Migrated", ""};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(slots[i].name, names[i]) << i;
  EXPECT_EQ(slots[1].modelType, "8630-GHJK");
  EXPECT_EQ(slots[6].modelType, "8630-M");
  EXPECT_EQ(slots[5].modelType, "8630-GHJK");
  // Every line of the old index is still there; the new entries came in beside them.
  const std::string index = readFile(store.paths().indexFile);
  for (const char* line :
       {"Set0=Shadowed\r\n", "Set2=B\r\n", "Set3=A\r\n", "set4=lower\r\n", "Set5=Z\r\n",
        "Set20=Beyond\r\n", "MType7=8630-M\r\n", "[SetName]\r\nSet1=Second\r\n"})
    EXPECT_NE(index.find(line), std::string::npos) << line;
}
