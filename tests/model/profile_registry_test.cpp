#include "model/profile_registry.h"

#include <gtest/gtest.h>

using namespace drovik;

TEST(ProfileRegistry, NamesOfOneToSixtyCharacters) {
  EXPECT_TRUE(validateProfileName("A"));
  std::string sixty;
  for (int i = 0; i < 60; ++i) sixty += "帳";
  EXPECT_TRUE(validateProfileName(sixty));
  EXPECT_EQ(validateProfileName(sixty + "x").message(), "設定名は60文字以内にしてください");
  EXPECT_EQ(validateProfileName("").message(), "設定名を入力してください");
}

// Each refused name would come back from the files as another name (or none at all).
TEST(ProfileRegistry, NamesTheIniFilesCannotReadBackAreRefused) {
  for (const char* name : {"a[b", "a]", " lead", "trail ", "two\nlines", "tab\there", "\"q\"",
                           "'q'", "\xF0\x9F\x98\x80", "bad\xFF"})
    EXPECT_FALSE(validateProfileName(name)) << name;
  for (const char* name : {"設定 A", "\"left", "a=b", ";x", "ソ表", "'q\"", "　全角空白　"})
    EXPECT_TRUE(validateProfileName(name)) << name;
}

TEST(ProfileRegistry, LimitOfTwentyProfiles) {
  ProfileSlotTable slots;
  for (int i = 0; i < 19; ++i) slots[i].name = "P" + std::to_string(i);
  EXPECT_TRUE(checkRegistrationLimit(slots));
  slots[19].name = "P19";
  EXPECT_EQ(checkRegistrationLimit(slots).message(), "20個以上は登録できません");
}

TEST(ProfileRegistry, NamesFindTheirSlotExactlyFirstThenAsTheIniMatchesSections) {
  ProfileSlotTable slots;
  slots[0].name = "abc";
  slots[2].name = "ABC";
  EXPECT_EQ(findSlotByName(slots, "ABC"), 2);
  EXPECT_EQ(findSlotByName(slots, "Abc"), 0);
  EXPECT_EQ(findSlotByName(slots, "ａｂｃ"), -1);  // full-width letters have no case
  EXPECT_EQ(findSlotByName(slots, ""), -1);
  EXPECT_EQ(firstFreeSlot(slots), 1);
}
