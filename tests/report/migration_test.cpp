#include "report/migration.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

using namespace drovik;

namespace {

class MigrationTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  ProfileStore store{StorePaths::inDirectory(dir.path())};

  void registerProfile(int slot, const std::string& name) {
    ProfileModel model;
    model.setSelectUser(slot % 10);
    model.slots[slot].name = name;
    model.refreshAndSnapshotCheckFlagTexts();
    model.markAllForWriting();
    ASSERT_TRUE(store.saveProfile(model, slot));
    ASSERT_TRUE(store.writeIndexEntry(slot, name, "8630-GHJK"));
  }
  ProfileSlotTable slots() {
    ProfileSlotTable table;
    EXPECT_TRUE(store.readAllSlots(table));
    return table;
  }
};

}  // namespace

TEST_F(MigrationTest, NewNameGetsAnExactCopyAsM) {
  registerProfile(0, "A");
  const auto before = store.readSection("A");
  ASSERT_TRUE(copyProfileAsM(store, "A", "B", 1));
  EXPECT_EQ(*store.readSection("B"), *before);
  EXPECT_EQ(*store.readSection("A"), *before);
  const auto table = slots();
  EXPECT_EQ(table[0].modelType, "8630-GHJK");
  EXPECT_EQ(table[1].name, "B");
  EXPECT_EQ(table[1].modelType, "8630-M");
}

TEST_F(MigrationTest, OntoItselfTurnsTheProfileIntoMWithItsValues) {
  registerProfile(0, "A");
  const auto before = store.readSection("A");
  ASSERT_TRUE(copyProfileAsM(store, "A", "A", 0));
  EXPECT_EQ(*store.readSection("A"), *before);
  EXPECT_EQ(slots()[0].modelType, "8630-M");
  EXPECT_FALSE(slots()[1].registered());
}

TEST_F(MigrationTest, OntoAnotherProfileReplacesItsSectionEntirely) {
  registerProfile(0, "A");
  registerProfile(1, "C");
  ASSERT_TRUE(store.writeSection("C", {"OnlyInC=1"}));
  ASSERT_TRUE(copyProfileAsM(store, "A", "C", 1));
  const auto copied = store.readSection("C");
  EXPECT_EQ(*copied, *store.readSection("A"));
}

TEST_F(MigrationTest, LongSectionsAreCopiedWhole) {
  registerProfile(0, "A");
  auto lines = *store.readSection("A");
  for (int i = 0; i < 200; ++i)
    lines.push_back("Extra" + std::to_string(i) + "=" + std::string(500, 'x'));
  ASSERT_TRUE(store.writeSection("A", lines));
  ASSERT_TRUE(copyProfileAsM(store, "A", "B", 1));
  EXPECT_EQ(*store.readSection("B"), lines);  // well over 65535 characters
}

TEST_F(MigrationTest, AFailedCopyWritesNoIndexEntry) {
  registerProfile(0, "A");
  EXPECT_FALSE(copyProfileAsM(store, "A", "bad]name", 1));
  EXPECT_FALSE(slots()[1].registered());
}
