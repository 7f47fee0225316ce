// A section's keys are indexed only as far as lookups need them: what a lookup finds must not
// depend on which keys were looked up before it, nor on writes made in between.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "ini/ini_document.h"
#include "ini/text_codec.h"

namespace drovik::ini {
namespace {

// The same text in code page 932 and in UTF-16LE.
std::array<std::string, 2> inBothEncodings(std::string_view text) {
  return {std::string(text), "\xFF\xFE" + utf8ToUtf16Le(text).value()};
}

TEST(KeyLookupTest, FirstOfDuplicatesWinsWhateverTheOrderOfLookups) {
  const std::string text = "[S]\r\nA=1\r\nb=2\r\n B =3\r\na=4\r\n; C=6\r\nC = 5\r\n[T]\r\nD=7\r\n";
  struct Expected {
    std::string_view key;
    std::int32_t value;
  };
  std::array<Expected, 6> lookups = {{{"A", 1}, {"B", 2}, {"C", 5}, {"a", 1}, {"b", 2}, {"D", -1}}};
  for (const std::string& bytes : inBothEncodings(text)) {
    std::sort(lookups.begin(), lookups.end(),
              [](const Expected& x, const Expected& y) { return x.key < y.key; });
    do {
      const IniDocument doc = IniDocument::parse(bytes);
      for (const Expected& lookup : lookups)
        ASSERT_EQ(doc.readInt("S", lookup.key, -1), lookup.value) << lookup.key;
    } while (
        std::next_permutation(lookups.begin(), lookups.end(),
                              [](const Expected& x, const Expected& y) { return x.key < y.key; }));
  }
}

TEST(KeyLookupTest, WritesAfterALookupOfTheFirstKeyFindEveryKey) {
  const std::string text = "[S]\r\nA=1\r\nB=2\r\nb=3\r\nC=4\r\n; end\r\n";
  for (const std::string& bytes : inBothEncodings(text)) {
    IniDocument doc = IniDocument::parse(bytes);
    ASSERT_EQ(doc.readInt("S", "A", -1), 1);  // indexes the first line only
    doc.deleteKey("S", "B");                  // reveals the later duplicate, not yet indexed
    EXPECT_EQ(doc.readInt("S", "B", -1), 3);
    ASSERT_TRUE(doc.writeText("S", "C", "40"));  // beyond the lines looked at so far
    ASSERT_TRUE(doc.writeText("S", "D", "5"));   // new: after the last key line
    EXPECT_EQ(doc.readInt("S", "C", -1), 40);
    EXPECT_EQ(doc.readInt("S", "D", -1), 5);
    doc.deleteKey("S", "b");
    EXPECT_EQ(doc.readInt("S", "B", -1), -1);

    const IniDocument copy = doc;  // its own index, built afresh
    const IniDocument reread = IniDocument::parse(doc.serialize());
    for (const IniDocument* d : std::array<const IniDocument*, 3>{&doc, &copy, &reread}) {
      EXPECT_EQ(d->readSection("S"), (std::vector<std::string>{"A=1", "C=40", "D=5"}));
      EXPECT_EQ(d->readInt("S", "a", -1), 1);
      EXPECT_EQ(d->readInt("S", "d", -1), 5);
    }
    EXPECT_EQ(reread.serialize(), doc.serialize());
  }
}

TEST(KeyLookupTest, RewrittenSectionIsLookedUpAfresh) {
  for (const std::string& bytes : inBothEncodings("[S]\r\nA=1\r\nB=2\r\n")) {
    IniDocument doc = IniDocument::parse(bytes);
    ASSERT_EQ(doc.readInt("S", "A", -1), 1);
    ASSERT_TRUE(doc.writeSection("S", {"B=20", "C=30", "A=10"}));
    EXPECT_EQ(doc.readInt("S", "C", -1), 30);
    EXPECT_EQ(doc.readInt("S", "A", -1), 10);
    EXPECT_EQ(doc.readInt("S", "B", -1), 20);
  }
}

}  // namespace
}  // namespace drovik::ini
