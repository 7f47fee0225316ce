#include "ini/name_index.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace drovik::ini {
namespace {

TEST(NameIndex, FirstSpellingWinsAndCaseOfAsciiLettersIsIgnored) {
  NameIndex index;
  EXPECT_FALSE(index.find("Key"));
  index.tryEmplace("Key", 1);
  index.tryEmplace("KEY", 2);
  index.tryEmplace("", 3);
  EXPECT_EQ(index.find("kEy"), 1u);
  EXPECT_FALSE(index.find(""));
  EXPECT_FALSE(index.find("Keys"));
  // Only ASCII letters fold: full-width ones are other names.
  index.tryEmplace("ｋｅｙ", 4);
  EXPECT_EQ(index.find("ｋｅｙ"), 4u);
  EXPECT_FALSE(index.find("ＫＥＹ"));
}

// Growth and removals in the middle of probe runs keep every other name findable.
TEST(NameIndex, FindsEveryNameLeftAfterGrowthAndRemovals) {
  std::vector<std::string> names;
  for (int i = 0; i < 3000; ++i)
    names.push_back("User" + std::to_string(i % 97) + "_" + std::to_string(i));
  NameIndex index;
  for (std::size_t i = 0; i < names.size(); ++i) index.tryEmplace(names[i], i);
  for (std::size_t i = 0; i < names.size(); i += 3) index.erase(names[i]);
  index.erase("absent");
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i % 3 == 0) {
      EXPECT_FALSE(index.find(names[i])) << names[i];
    } else {
      EXPECT_EQ(index.find(names[i]), i) << names[i];
    }
  }
  // A removed name can come back with a new position.
  index.tryEmplace(names[0], 7);
  EXPECT_EQ(index.find(names[0]), 7u);
  index.clear();
  EXPECT_FALSE(index.find(names[1]));
}

}  // namespace
}  // namespace drovik::ini
