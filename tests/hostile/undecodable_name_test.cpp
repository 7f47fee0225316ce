// Undecodable bytes in a code page 932 file all read as U+FFFD, so "[\xFE]" and "[\xFF]"
// read as the same name. A profile whose name came from such bytes must never save into,
// replace or delete the first section that happens to read alike.
#include <gtest/gtest.h>

#include "hostile/complete_profile.h"
#include "hostile/file_checks.h"
#include "model/profile_store.h"
#include "support/store_writes.h"
#include "support/temp_dir.h"

using namespace drovik;
using namespace drovik::hostile;
using drovik::test::TempDir;
using drovik::test::writeFile;

TEST(HostileNames, UndecodableNameNeverReachesAnotherSection) {
  const TempDir dir;
  const ProfileStore store(StorePaths::inDirectory(dir.path()));
  writeFile(store.paths().indexFile, "[SetName]\r\nSet0=\xFF\r\nSet1=\xFE\r\n");
  writeFile(store.paths().settingsFile, "[\xFE]\r\nSelectUser=1\r\n[\xFF]\r\nSelectUser=2\r\n");
  const FolderSnapshot original = snapshotFolder(dir.path());

  ProfileSlotTable slots;
  ASSERT_TRUE(store.readAllSlots(slots));
  const std::string name = slots[0].name;
  ASSERT_EQ(name, "\xEF\xBF\xBD");
  EXPECT_EQ(slots[1].name, name);  // both names read alike

  const Status saved = test::saveSection(store, completeProfile(1), name);
  EXPECT_FALSE(saved);
  EXPECT_NE(saved.message().find("CP932"), std::string::npos) << saved.message();
  EXPECT_FALSE(test::writeSection(store, name, {"SelectUser=9"}));
  EXPECT_FALSE(test::deleteSection(store, name));
  EXPECT_TRUE(sameFolder(original, snapshotFolder(dir.path())));

  // A name the file can hold still works as before.
  EXPECT_TRUE(test::deleteSection(store, "absent"));
  EXPECT_TRUE(test::saveSection(store, completeProfile(1), "帳票"));
}
