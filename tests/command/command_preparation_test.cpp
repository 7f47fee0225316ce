#include "command/command_preparation.h"

#include <gtest/gtest.h>

#include "model/ini_file.h"
#include "support/temp_dir.h"

using namespace drovik;
using drovik::test::TempDir;

namespace {

// Files already read prepare the same command as the store does, and refuse the same slots.
TEST(CommandPreparationTest, FilesInMemoryPrepareWhatTheStorePrepares) {
  TempDir dir;
  const ProfileStore store(StorePaths::inDirectory(dir.path()));
  ASSERT_TRUE(store.writeIndexEntry(0, "帳票", "8630-GHJK"));
  ASSERT_TRUE(store.writeIndexEntry(1, "新帳票", "8630-M"));
  ProfileModel saved;
  saved.values.paper[0].index[0] = 3;
  saved.text = ProfileText::of(saved.values);
  saved.markAllForWriting();
  ASSERT_TRUE(store.saveSection(saved, "帳票"));
  ASSERT_TRUE(store.saveSection(saved, "新帳票"));

  auto index = ini::IniFile(store.paths().indexFile).read();
  auto settings = ini::IniFile(store.paths().settingsFile).read();
  ASSERT_TRUE(index && settings);
  const StoreEdit files(std::move(*index), std::move(*settings));
  for (int slot : {0, 1}) {
    ProfileModel fromStore;
    ProfileModel fromFiles;
    ASSERT_TRUE(store.readSlotNames(fromStore.slots));
    fromFiles.slots = files.slotNames();
    const auto expected = prepareCommand(store, fromStore, slot);
    const auto prepared = prepareCommand(files, fromFiles, slot);
    ASSERT_TRUE(expected && prepared);
    EXPECT_EQ(prepared->variant, expected->variant);
    EXPECT_EQ(prepared->image.bytes, expected->image.bytes);
    EXPECT_EQ(fromFiles.values.paper[0].index[0], 3);
  }
  ProfileModel model;
  EXPECT_FALSE(prepareCommand(files, model, cat::kSlotCount));
  EXPECT_FALSE(prepareCommand(files, model, -1));
}

}  // namespace
