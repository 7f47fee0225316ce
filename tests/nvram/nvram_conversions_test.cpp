#include "nvram/nvram_conversions.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "ini/text_codec.h"
#include "model/value_validation.h"

namespace drovik::nvram {
namespace {

using Expected = std::map<int, std::int32_t>;  // byte -> position; absent bytes change nothing

// Runs a conversion over all 256 bytes and compares with the printer's code table.
void expectTable(Conversion conversion, const Expected& expected) {
  for (int byte = 0; byte <= 255; ++byte) {
    const auto value = convertByte(conversion, static_cast<std::uint8_t>(byte), 0);
    const auto it = expected.find(byte);
    if (it == expected.end())
      EXPECT_FALSE(value.has_value()) << "byte " << byte;
    else
      EXPECT_EQ(value, it->second) << "byte " << byte;
  }
}

TEST(NvramConversions, CodeTablesMatchThePrinter) {
  expectTable(Conversion::Emul, {{0, 1}, {2, 2}, {3, 0}});
  expectTable(Conversion::LinePitch,
              {{0, 4}, {1, 5}, {2, 0}, {3, 1}, {4, 2}, {5, 3}, {6, 4}, {7, 5}, {8, 6}});
  expectTable(Conversion::LineLen, {{0, 1}, {1, 2}, {2, 0}});
  expectTable(Conversion::PaperChgCmd, {{0, 0}, {1, 1}, {3, 2}});
  expectTable(Conversion::FormMode, {{0, 0},
                                     {2, 1},
                                     {4, 2},
                                     {6, 3},
                                     {16, 4},
                                     {18, 5},
                                     {20, 6},
                                     {22, 7},
                                     {1, 8},
                                     {3, 9},
                                     {5, 10},
                                     {7, 11}});
  Expected formLen{{0, 13}, {14, 14}, {15, 15}};
  for (int byte = 1; byte <= 13; ++byte) formLen[byte] = byte - 1;
  for (int byte = 16; byte <= 255; ++byte) formLen[byte] = 16;  // no change
  expectTable(Conversion::FormLen, formLen);
  Expected thickness{{0, 0}, {1, 1}, {2, 2}, {3, 14}};
  for (int byte = 128; byte <= 138; ++byte) thickness[byte] = byte - 125;
  expectTable(Conversion::Thickness, thickness);
}

TEST(NvramConversions, MarginWordIsSignedOnlyForHighBytesFeAndFf) {
  EXPECT_EQ(marginWord(0x01, 0x02), 258);
  EXPECT_EQ(marginWord(0xFD, 0xFF), 65023);
  EXPECT_EQ(marginWord(0xFE, 0x00), -512);
  EXPECT_EQ(marginWord(0xFF, 0xFF), -1);
}

TEST(NvramConversions, TopMarginRoundsUpToOneInchAndTruncatesBeyond) {
  EXPECT_EQ(topMarginText(0, 0, MarginPath::Tractor), "8.5");
  EXPECT_EQ(topMarginText(0, 0, MarginPath::CutSheet), "6.4");
  // With reference 120 the tractor offset d equals the value.
  const auto tractor = [](std::int32_t d) { return topMarginText(d, 120, MarginPath::Tractor); };
  EXPECT_EQ(tractor(220), "15.2");  // (36 * 254 / 6 + 5) / 10 tenths
  EXPECT_EQ(tractor(360), "25.4");
  EXPECT_EQ(tractor(361), "25.4");  // 60 * 25 / 6 + 60 * 4 / 60
  EXPECT_EQ(tractor(366), "25.8");
  EXPECT_EQ(topMarginText(300, 200, MarginPath::CutSheet), "13.1");  // d = 190
}

TEST(NvramConversions, TopMarginBelowTheReferenceIsNegative) {
  EXPECT_EQ(topMarginText(marginWord(0xFF, 0x10), 0, MarginPath::Tractor), "-8.5");
  EXPECT_EQ(topMarginText(-6, 120, MarginPath::Tractor), "-0.4");
  EXPECT_EQ(topMarginText(-3, 120, MarginPath::Tractor), "0.0");  // no "-0.0"
}

TEST(NvramConversions, TopMarginOfHugeValuesWrapsButStaysShort) {
  // 0x8000 is a large positive offset; the tenths wrap at 1000 mm.
  EXPECT_EQ(topMarginText(marginWord(0x80, 0x00), 0, MarginPath::Tractor), "320.2");
  for (std::int32_t value : {-512, 65023})
    for (std::int32_t reference : {0, 65535})
      EXPECT_LE(topMarginText(value, reference, MarginPath::CutSheet).size(), 6u);
}

TEST(NvramConversions, UserNameMapsKatakanaAndLatinBytesUpToTen) {
  const std::vector<std::uint8_t> mixed = {'A', 0xB1, 0xE0, 0xA1, 0xDF, 0xA0, '-', ' ', 0, 'Z'};
  EXPECT_EQ(userNameFromBytes(mixed), "A\uFF71\u00E0\uFF61\uFF9F\u00A0- ");
  const std::vector<std::uint8_t> eleven = {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9', 'X'};
  EXPECT_EQ(userNameFromBytes(eleven), "0123456789");
  EXPECT_EQ(userNameFromBytes({}), "");
  for (int byte = 1; byte <= 255; ++byte) {
    const std::vector<std::uint8_t> one = {static_cast<std::uint8_t>(byte)};
    const std::string name = userNameFromBytes(one);
    EXPECT_TRUE(ini::utf8ToUtf16Le(name).isOk()) << "byte " << byte;
    EXPECT_EQ(ini::utf16Length(name), 1u) << "byte " << byte;
    // A name the printer holds passes the user-name page's check exactly when the byte is
    // one of the printer's name characters (A1..A5 are its half-width punctuation).
    const bool nameCharacter = (byte >= 0x20 && byte <= 0x7E) || (byte >= 0xA6 && byte <= 0xDF);
    EXPECT_EQ(validateUserName(0, name).isOk(), nameCharacter) << "byte " << byte;
  }
}

}  // namespace
}  // namespace drovik::nvram
