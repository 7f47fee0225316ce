#include "ini/ini_document.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "ini/text_codec.h"

namespace drovik::ini {
namespace {

using namespace std::string_literals;

// Shift-JIS bytes whose second byte looks like '\\', ']' or '['.
const std::string kSo = "\x83\x5C";   // ソ
const std::string kHyo = "\x95\x5C";  // 表
const std::string kZo = "\x83\x5D";   // ゾ
const std::string kZe = "\x83\x5B";   // ゼ

std::string utf16(std::string_view utf8) { return utf8ToUtf16Le(utf8).value(); }

TEST(TextCodecTest, Cp932EncodesAndRefusesWhatItCannotHold) {
  EXPECT_EQ(utf8ToCp932("ソ表").value(), kSo + kHyo);
  EXPECT_EQ(utf8ToCp932("plain").value(), "plain");
  const Result<std::string> emoji = utf8ToCp932("a😀");
  ASSERT_FALSE(emoji.isOk());
  EXPECT_NE(emoji.message().find("😀"), std::string::npos);
  EXPECT_FALSE(utf8ToCp932("ab\xFF").isOk());
  EXPECT_FALSE(utf8ToCp932("\xC0\xAF").isOk());  // overlong '/'
}

TEST(TextCodecTest, Cp932LossyDecodingReplacesOnlyBadBytes) {
  EXPECT_EQ(cp932ToUtf8Lossy(kSo + kHyo), "ソ表");
  EXPECT_EQ(cp932ToUtf8Lossy("A\x80"
                             "B"),
            "A\uFFFD"
            "B");
  EXPECT_EQ(cp932ToUtf8Lossy("A\x83"), "A\uFFFD");  // lead byte cut off at the end
}

TEST(TextCodecTest, Utf16LeRoundTripsAndRefusesMalformedUtf8) {
  const std::string encoded = utf16("aソ😀");
  EXPECT_EQ(encoded, "a\0\xBD\x30\x3D\xD8\x00\xDE"s);
  EXPECT_EQ(utf16LeToUtf8Lossy(encoded), "aソ😀");
  EXPECT_EQ(utf16LeToUtf8Lossy("\x00\xD8"
                               "a\0"s),
            "\uFFFD"
            "a");                                          // lone surrogate
  EXPECT_EQ(utf16LeToUtf8Lossy("a\0b"s), "a\uFFFD");       // odd length
  EXPECT_FALSE(utf8ToUtf16Le("\xED\xA0\x80").isOk());      // encoded surrogate
  EXPECT_FALSE(utf8ToUtf16Le("\xF4\x90\x80\x80").isOk());  // above U+10FFFF
  EXPECT_FALSE(utf8ToUtf16Le("\xE3\x81").isOk());          // truncated
}

// The decoder copies ASCII runs a word of four units at a time: every character after runs of
// every length, so that it falls at each place of a word, and at the very end.
TEST(TextCodecTest, Utf16LeDecodesAfterAsciiRunsOfEveryLength) {
  for (std::size_t run = 0; run <= 9; ++run) {
    const std::string ascii(run, 'x');
    for (std::string_view other : {"ソ", "😀", "é", "\x7F"}) {
      const std::string text = ascii + std::string(other) + "abcdefghi" + std::string(other);
      EXPECT_EQ(utf16LeToUtf8Lossy(utf16(text)), text) << run;
      EXPECT_EQ(utf16LeToUtf8Lossy(utf16(ascii + std::string(other))), ascii + std::string(other));
    }
    const std::string lone = utf16(ascii) + "\x00\xDC"s + utf16("abcdefghi") + "\x3D\xD8"s;
    EXPECT_EQ(utf16LeToUtf8Lossy(lone), ascii + "\uFFFDabcdefghi\uFFFD") << run;
    std::string appended = "前";
    appendUtf16LeAsUtf8(appended, utf16(ascii + "ソ") + "z"s);  // odd length: last byte alone
    EXPECT_EQ(appended, "前" + ascii + "ソ\uFFFD");
  }
}

TEST(TextCodecTest, Utf16LengthAndTruncationKeepCharactersWhole) {
  EXPECT_EQ(utf16Length("a😀ソ"), 4u);
  EXPECT_EQ(truncateUtf16("a😀b", 2), "a");
  EXPECT_EQ(truncateUtf16("a😀b", 3), "a😀");
  EXPECT_EQ(truncateUtf16("ソ表", 1), "ソ");
  EXPECT_EQ(truncateUtf16("abc", 0), "");
  EXPECT_EQ(truncateUtf16("abc", 10), "abc");
}

TEST(IniReadTest, NamesMatchAsciiCaseInsensitivelyAndFirstWins) {
  const IniDocument doc = IniDocument::parse(
      "[Sec]\r\nKey=1\r\nkey=2\r\n[SEC]\r\nkey=3\r\nonly=4\r\n[\x82\x60]\r\nx=5\r\n");
  EXPECT_EQ(doc.readText("sec", "KEY"), "1");
  EXPECT_EQ(doc.readText("SEC", "only"), std::nullopt);  // second [SEC] is shadowed
  EXPECT_EQ(doc.sectionNames(), (std::vector<std::string>{"Sec", "Ａ"}));
  EXPECT_TRUE(doc.hasSection("Ａ"));
  EXPECT_FALSE(doc.hasSection("ａ"));  // full-width letters have no case here
}

TEST(IniReadTest, LinesAreTrimmedAndSplitAtTheFirstEquals) {
  const IniDocument doc = IniDocument::parse(
      "  [ name ] trailing\r\n\t key \t=  a = b ; c \t\r\n;hidden=1\r\n#shown=2\r\nflag\r\n");
  EXPECT_EQ(doc.sectionNames(), std::vector<std::string>{"name"});
  EXPECT_EQ(doc.readText("name", "key"), "a = b ; c");
  EXPECT_EQ(doc.readText("name", ";hidden"), std::nullopt);
  EXPECT_EQ(doc.readText("name", "#shown"), "2");
  EXPECT_EQ(doc.readText("name", "flag"), std::nullopt);  // no '=' -> no value
  EXPECT_EQ(doc.readSection("name"),
            (std::vector<std::string>{"key=a = b ; c", "#shown=2", "flag"}));
}

TEST(IniReadTest, KeysBeforeTheFirstSectionAreUnreachable) {
  const IniDocument doc = IniDocument::parse("orphan=1\r\n[s]\r\nk=2\r\n");
  EXPECT_EQ(doc.readText("", "orphan"), std::nullopt);
  EXPECT_EQ(doc.readText("s", "orphan"), std::nullopt);
  EXPECT_EQ(doc.sectionNames(), std::vector<std::string>{"s"});
}

TEST(IniReadTest, OnePairOfMatchingQuotesIsStripped) {
  const IniDocument doc = IniDocument::parse(
      "[q]\r\nd=\"x y\"\r\ns='x'\r\nmixed=\"x'\r\nlone=\"\r\nnested=\"\"x\"\"\r\n");
  EXPECT_EQ(doc.readText("q", "d"), "x y");
  EXPECT_EQ(doc.readText("q", "s"), "x");
  EXPECT_EQ(doc.readText("q", "mixed"), "\"x'");
  EXPECT_EQ(doc.readText("q", "lone"), "\"");
  EXPECT_EQ(doc.readText("q", "nested"), "\"x\"");
  EXPECT_EQ(doc.readSection("q")[0], "d=\"x y\"");
}

TEST(IniReadTest, ReadIntTakesLeadingDigitsOrTheFallback) {
  const IniDocument doc = IniDocument::parse(
      "[n]\r\nplain=42\r\nsuffix=13abc\r\nletters=abc\r\nempty=\r\nneg=-5\r\npos=+7\r\n"
      "quoted=\"12\"\r\nemptyQuotes=\"\"\r\nsign=-\r\n"
      "hex=0x10\r\n");
  EXPECT_EQ(doc.readInt("n", "plain", 9), 42);
  EXPECT_EQ(doc.readInt("n", "suffix", 9), 13);
  EXPECT_EQ(doc.readInt("n", "letters", 9), 0);
  EXPECT_EQ(doc.readInt("n", "empty", 9), 9);
  EXPECT_EQ(doc.readInt("n", "missing", 9), 9);
  EXPECT_EQ(doc.readInt("other", "plain", 9), 9);
  EXPECT_EQ(doc.readInt("n", "neg", 9), -5);
  EXPECT_EQ(doc.readInt("n", "pos", 9), 7);
  EXPECT_EQ(doc.readInt("n", "quoted", 9), 12);
  EXPECT_EQ(doc.readInt("n", "emptyQuotes", 9), 9);
  EXPECT_EQ(doc.readInt("n", "sign", 9), 0);
  EXPECT_EQ(doc.readInt("n", "hex", 9), 0);
}

TEST(IniReadTest, ReadIntWrapsBeyondThirtyTwoBitsAsWindowsDoes) {
  const IniDocument doc = IniDocument::parse(
      "[n]\r\nmax=2147483647\r\nover=2147483648\r\nwrap=4294967297\r\nhuge=99999999999\r\n"
      "min=-2147483648\r\nunder=-2147483649\r\nzero=4294967296x\r\n");
  EXPECT_EQ(doc.readInt("n", "max", 9), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(doc.readInt("n", "over", 9), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(doc.readInt("n", "wrap", 9), 1);
  EXPECT_EQ(doc.readInt("n", "huge", 9), 1215752191);  // 99999999999 mod 2^32
  EXPECT_EQ(doc.readInt("n", "min", 9), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(doc.readInt("n", "under", 9), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(doc.readInt("n", "zero", 9), 0);
}

TEST(IniReadTest, CapacityLimitsUtf16Units) {
  const IniDocument doc = IniDocument::parse("\xFF\xFE"s + utf16("[c]\r\nk=abcdef\r\ne=a😀b\r\n"));
  EXPECT_EQ(doc.readText("c", "k", "fallback", 3), "abc");
  EXPECT_EQ(doc.readText("c", "missing", "fallback", 4), "fall");
  EXPECT_EQ(doc.readText("c", "e", "", 2), "a");  // the surrogate pair is not split
  EXPECT_EQ(doc.readText("c", "e", "", 3), "a😀");
  EXPECT_EQ(doc.readText("c", "k", "", 0), "");
}

TEST(IniReadTest, LfOnlyCrOnlyAndMixedLineEndsSplitLines) {
  for (const std::string text : {"[a]\nk=1\nj=2\n", "[a]\rk=1\rj=2\r", "[a]\r\nk=1\nj=2\r"}) {
    const IniDocument doc = IniDocument::parse(text);
    EXPECT_EQ(doc.readText("a", "k"), "1") << text;
    EXPECT_EQ(doc.readText("a", "j"), "2") << text;
    EXPECT_EQ(doc.serialize(), text);
  }
}

TEST(IniReadTest, ShiftJisTrailBytesDoNotBreakNames) {
  const std::string text = "[" + kSo + kHyo + "]\r\n" + kHyo + "=" + kSo + "\r\n[" + kZo +
                           "]\r\nk=1\r\n[" + kZe + "]\r\nk=2\r\n";
  const IniDocument doc = IniDocument::parse(text);
  EXPECT_EQ(doc.sectionNames(), (std::vector<std::string>{"ソ表", "ゾ", "ゼ"}));
  EXPECT_EQ(doc.readText("ソ表", "表"), "ソ");
  EXPECT_EQ(doc.readText("ゾ", "k"), "1");
  EXPECT_EQ(doc.readText("ゼ", "k"), "2");
}

TEST(IniReadTest, Utf8ByteOrderMarkIsPartOfTheFirstLine) {
  const IniDocument doc = IniDocument::parse("\xEF\xBB\xBF[a]\r\nk=1\r\n[b]\r\nk=2\r\n");
  EXPECT_EQ(doc.encoding(), Encoding::Cp932);
  EXPECT_FALSE(doc.hasSection("a"));
  EXPECT_EQ(doc.readText("b", "k"), "2");
}

TEST(IniReadTest, Utf16LeFilesSplitOnCodeUnits) {
  // U+0A0D has a 0x0D byte that must not end a line.
  const std::string text = "\xFF\xFE"s + utf16("[表]\r\nk=\u0A0D😀\nj=2");
  const IniDocument doc = IniDocument::parse(text);
  EXPECT_EQ(doc.encoding(), Encoding::Utf16Le);
  EXPECT_EQ(doc.readText("表", "k"), "\u0A0D😀");
  EXPECT_EQ(doc.readText("表", "j"), "2");
  EXPECT_EQ(doc.serialize(), text);
}

class IniWriteTest : public ::testing::Test {
 protected:
  static void expectWrite(const std::string& before, const std::string& section,
                          const std::string& key, const std::string& value,
                          const std::string& after) {
    IniDocument doc = IniDocument::parse(before);
    ASSERT_TRUE(doc.writeText(section, key, value).isOk());
    EXPECT_TRUE(doc.modified());
    EXPECT_EQ(doc.serialize(), after);
  }
};

TEST_F(IniWriteTest, ReplacingInPlaceKeepsEveryOtherByte) {
  const std::string head = "; top\r\n[A]\n  x = 1 \r\n";
  const std::string tail = "\r\n\t; c\n[B]\rkey=old\r\n";
  expectWrite(head + "\t Key  = old \n" + tail, "a", "KEY", "new value",
              head + "Key=new value\n" + tail);
}

TEST_F(IniWriteTest, WritingTheSameValueChangesNothing) {
  IniDocument doc = IniDocument::parse("[A]\r\nk=v\r\n");
  ASSERT_TRUE(doc.writeText("A", "k", "v").isOk());
  EXPECT_FALSE(doc.modified());
}

TEST_F(IniWriteTest, NewKeyFollowsTheLastKeyLineOfTheFirstMatchingSection) {
  expectWrite("[A]\r\na=1\r\nbare\r\n; note\r\n\r\n[B]\r\nb=1\r\n[a]\r\nz=1\r\n", "A", "c", "3",
              "[A]\r\na=1\r\nbare\r\nc=3\r\n; note\r\n\r\n[B]\r\nb=1\r\n[a]\r\nz=1\r\n");
  expectWrite("[A]\r\n; only a comment\r\n[B]\r\n", "A", "k", "v",
              "[A]\r\nk=v\r\n; only a comment\r\n[B]\r\n");
}

TEST_F(IniWriteTest, NewSectionIsAppendedAtTheEnd) {
  expectWrite("[A]\na=1\n\n", "B", "k", "v", "[A]\na=1\n\n[B]\r\nk=v\r\n");
  expectWrite("[A]\r\na=1", "B", "k", "v", "[A]\r\na=1\r\n[B]\r\nk=v\r\n");
  expectWrite("[A]\r\na=1", "A", "b", "2", "[A]\r\na=1\r\nb=2\r\n");
  expectWrite("", "表", "ソ", "値", "[" + kHyo + "]\r\n" + kSo + "=\x92\x6C\r\n");
}

TEST_F(IniWriteTest, SuccessiveNewKeysKeepTheOrderWritten) {
  IniDocument doc = IniDocument::parse("[S]\r\nfirst=0\r\n; end\r\n");
  for (int i = 0; i < 50; ++i) {
    ASSERT_TRUE(doc.writeText("S", "k" + std::to_string(i), std::to_string(i)).isOk());
  }
  for (int i = 0; i < 50; i += 2) doc.deleteKey("S", "K" + std::to_string(i));
  for (int i = 1; i < 50; i += 4)
    ASSERT_TRUE(doc.writeText("s", "k" + std::to_string(i), "x").isOk());
  std::vector<std::string> expected{"first=0"};
  for (int i = 1; i < 50; i += 2)
    expected.push_back("k" + std::to_string(i) + "=" + ((i % 4 == 1) ? "x" : std::to_string(i)));
  EXPECT_EQ(doc.readSection("S"), expected);
  const IniDocument reparsed = IniDocument::parse(doc.serialize());
  EXPECT_EQ(reparsed.readSection("S"), expected);
  EXPECT_EQ(reparsed.readText("S", "k1"), "x");
  EXPECT_EQ(reparsed.readText("S", "k2"), std::nullopt);
}

TEST_F(IniWriteTest, DeletingAKeyRevealsItsNextDuplicate) {
  IniDocument doc = IniDocument::parse("[S]\r\nk=1\r\nK=2\r\nj=3\r\n");
  doc.deleteKey("S", "missing");
  doc.deleteKey("missing", "k");
  EXPECT_FALSE(doc.modified());
  doc.deleteKey("s", "K");
  EXPECT_EQ(doc.serialize(), "[S]\r\nK=2\r\nj=3\r\n");
  EXPECT_EQ(doc.readText("S", "k"), "2");
  ASSERT_TRUE(doc.writeText("S", "k", "4").isOk());
  EXPECT_EQ(doc.serialize(), "[S]\r\nK=4\r\nj=3\r\n");
}

TEST_F(IniWriteTest, DeletingASectionRemovesOnlyTheFirstWithItsLines) {
  IniDocument doc =
      IniDocument::parse("[A]\r\na=1\r\n; about A\r\n\r\n[B]\r\nb=1\r\n[a]\r\na=2\r\n");
  doc.deleteSection("a");
  EXPECT_EQ(doc.serialize(), "[B]\r\nb=1\r\n[a]\r\na=2\r\n");
  EXPECT_EQ(doc.readText("A", "a"), "2");
  EXPECT_EQ(doc.sectionNames(), (std::vector<std::string>{"B", "a"}));
  doc.deleteSection("A");
  EXPECT_FALSE(doc.hasSection("a"));
  EXPECT_EQ(doc.serialize(), "[B]\r\nb=1\r\n");
}

TEST_F(IniWriteTest, WriteSectionReplacesKeyLinesWhereTheFirstOneWas) {
  IniDocument doc =
      IniDocument::parse("[A]\r\n; head\r\nold=1\r\nbare\r\n; mid\r\nold2=2\r\n[B]\r\n");
  ASSERT_TRUE(doc.writeSection("a", {"x=1", "no equals sign", "y = 2"}).isOk());
  EXPECT_EQ(doc.serialize(), "[A]\r\n; head\r\nx=1\r\ny = 2\r\n; mid\r\n[B]\r\n");
  EXPECT_EQ(doc.readText("A", "old"), std::nullopt);
  EXPECT_EQ(doc.readText("A", "y"), "2");

  ASSERT_TRUE(doc.writeSection("B", {"k=v"}).isOk());
  ASSERT_TRUE(doc.writeSection("C", {"c=1"}).isOk());
  EXPECT_EQ(doc.serialize(),
            "[A]\r\n; head\r\nx=1\r\ny = 2\r\n; mid\r\n[B]\r\nk=v\r\n[C]\r\nc=1\r\n");
}

TEST_F(IniWriteTest, UntouchedInvalidShiftJisBytesStayIdentical) {
  const std::string broken = "[A]\r\nodd=\x80\xFF\x83\r\n\x85\x40=1\r\n[B]\r\n";
  IniDocument doc = IniDocument::parse(broken);
  ASSERT_TRUE(doc.writeText("B", "k", "v").isOk());
  EXPECT_EQ(doc.serialize(), broken + "k=v\r\n");
}

TEST_F(IniWriteTest, ShiftJisNamesAreWrittenAndMatchedByCharacter) {
  IniDocument doc = IniDocument::parse("[" + kSo + "]\r\n" + kHyo + "=1\r\n");
  ASSERT_TRUE(doc.writeText("ソ", "表", "2").isOk());
  ASSERT_TRUE(doc.writeText("ソ", "ゾ", "3").isOk());
  EXPECT_EQ(doc.serialize(), "[" + kSo + "]\r\n" + kHyo + "=2\r\n" + kZo + "=3\r\n");
}

TEST_F(IniWriteTest, Utf16LeFilesStayUtf16LeWithTheirOddLastByte) {
  const std::string text = "\xFF\xFE"s + utf16("[S]\r\nk=1\r\n") + "\x41";
  IniDocument doc = IniDocument::parse(text);
  ASSERT_TRUE(doc.writeText("S", "k", "😀").isOk());
  ASSERT_TRUE(doc.writeText("S", "new", "2").isOk());
  ASSERT_TRUE(doc.writeText("T", "x", "y").isOk());
  EXPECT_EQ(doc.serialize(), "\xFF\xFE"s + utf16("[S]\r\nk=😀\r\nnew=2\r\n[T]\r\nx=y\r\n") + "\x41");
  EXPECT_EQ(IniDocument::parse(doc.serialize()).readText("s", "K"), "😀");
}

TEST_F(IniWriteTest, RefusedWritesChangeNothing) {
  const std::string original = "[A]\r\nk=1\r\n";
  struct Case {
    std::string section, key, value;
  };
  const std::vector<Case> cases = {
      {"A", "k", "1\r\n[Evil]"}, {"A", "k", "a\nb"}, {"A", "k", "a\0b"s},
      {"A", "a=b", "1"},         {"A", "[k", "1"},   {"A", ";k", "1"},
      {"A]", "k", "1"},          {"", "k", "1"},     {"A", "", "1"},
      {" A", "k", "1"},          {"A", "k\t", "1"},  {"A", "k", "😀"},
      {"A", "😀", "1"},           {"新😀", "k", "1"},  {"A", "k", "\xFF"},
      {"A\nB", "k", "1"},
  };
  for (const Case& c : cases) {
    IniDocument doc = IniDocument::parse(original);
    const Status status = doc.writeText(c.section, c.key, c.value);
    ASSERT_FALSE(status.isOk()) << c.section << "/" << c.key;
    EXPECT_FALSE(status.message().empty());
    EXPECT_FALSE(doc.modified());
    EXPECT_EQ(doc.serialize(), original);
  }
  IniDocument doc = IniDocument::parse(original);
  EXPECT_FALSE(doc.writeSection("A", {"ok=1", "[B]=2"}).isOk());
  EXPECT_FALSE(doc.writeSection("A", {"ok=1", "v=a\r\nb=c"}).isOk());
  EXPECT_FALSE(doc.writeSection("A", {"ok=1", "v=😀"}).isOk());
  EXPECT_EQ(doc.serialize(), original);
}

TEST_F(IniWriteTest, Utf16LeAcceptsWhatCodePage932Refuses) {
  IniDocument doc = IniDocument::parse("\xFF\xFE"s);
  ASSERT_TRUE(doc.writeText("S", "k", "😀").isOk());
  EXPECT_EQ(doc.serialize(), "\xFF\xFE"s + utf16("[S]\r\nk=😀\r\n"));
}

TEST_F(IniWriteTest, CopiesAreIndependentAndOutliveTheOriginal) {
  auto original = std::make_unique<IniDocument>(
      IniDocument::parse("[S]\r\n" + kHyo + "=1\r\nplain=2\r\n[T]\r\nt=3\r\n"));
  ASSERT_EQ(original->readText("S", "表"), "1");  // builds the lookup index before copying
  IniDocument copy = *original;
  ASSERT_TRUE(original->writeText("S", "plain", "changed").isOk());
  original.reset();
  EXPECT_EQ(copy.readText("S", "表"), "1");
  EXPECT_EQ(copy.readText("S", "plain"), "2");
  ASSERT_TRUE(copy.writeText("S", "new", "4").isOk());
  EXPECT_FALSE(IniDocument().modified());
  EXPECT_EQ(copy.serialize(), "[S]\r\n" + kHyo + "=1\r\nplain=2\r\nnew=4\r\n[T]\r\nt=3\r\n");
}

// Line breaks are searched four UTF-16 units at a time: every position of a break within such
// a run, every kind of break, and a last line without one.
TEST(IniReadTest, Utf16LeLinesBreakWhereverTheBreakFalls) {
  std::string text = "[S]\r\n";
  std::vector<std::string> expected;
  const char* const ends[] = {"\r\n", "\n", "\r"};
  for (int length = 2; length < 12; ++length) {
    const std::string key = "k" + std::string(static_cast<std::size_t>(length - 2), 'x');
    const std::string line = key + "=" + std::to_string(length);
    expected.push_back(line);
    text += line + ends[length % 3];
  }
  text += "last=end";
  expected.push_back("last=end");
  const IniDocument doc = IniDocument::parse("\xFF\xFE"s + utf16(text));
  EXPECT_EQ(doc.readSection("S"), expected);
  EXPECT_EQ(doc.readInt("S", "kxxxxxxxxx", 0), 11);
  EXPECT_EQ(doc.readText("S", "last"), "end");
}

// A section read key by key gives what the document gives; the decoded names of a large
// UTF-16LE section fill several blocks and all stay found.
TEST(IniReadTest, SectionReaderReadsAsTheDocument) {
  std::string text = "[P]\r\n";
  for (int i = 0; i < 600; ++i)
    text += "User" + std::to_string(i) + "_LongEnoughName=" + std::to_string(i) + "\r\n";
  text += "q=\"quoted\"\r\n";
  const IniDocument doc = IniDocument::parse("\xFF\xFE"s + utf16(text));
  const IniDocument::SectionReader section = doc.section("p");
  for (int i = 0; i < 600; i += 7) {
    const std::string key = "user" + std::to_string(i) + "_longenoughname";
    EXPECT_EQ(section.readInt(key, -1), i) << key;
    EXPECT_EQ(section.readText(key), doc.readText("P", key));
  }
  EXPECT_EQ(section.readText("q", "", 3), "quo");
  EXPECT_EQ(section.readInt("absent", 5), 5);
  const IniDocument::SectionReader absent = doc.section("absent");
  EXPECT_EQ(absent.readText("q"), std::nullopt);
  EXPECT_EQ(absent.readText("q", "fallback", 4), "fall");
}

}  // namespace
}  // namespace drovik::ini
