#include "transport/nvram_conversions.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "model/text_codec.h"

namespace drovik::nvram {
namespace {

using Expected = std::map<int, std::int32_t>;  // byte -> position; absent bytes change nothing

// Runs a conversion over all 256 bytes and compares with the printer's code table.
void expectTable(Conversion conversion, const Expected& expected, int listSize = 0) {
  for (int byte = 0; byte <= 255; ++byte) {
    const auto value = convertByte(conversion, static_cast<std::uint8_t>(byte), listSize);
    const auto it = expected.find(byte);
    if (it == expected.end())
      EXPECT_FALSE(value.has_value()) << "byte " << byte;
    else
      EXPECT_EQ(value, it->second) << "byte " << byte;
  }
}

TEST(NvramConversions, FlagsTreatEveryNonZeroByteAlike) {
  for (int byte : {1, 2, 0x80, 0xFE, 0xFF}) {
    const auto b = static_cast<std::uint8_t>(byte);
    EXPECT_EQ(convertByte(Conversion::Flag, b, 2), 1);
    EXPECT_EQ(convertByte(Conversion::InvertedFlag, b, 2), 0);
  }
  EXPECT_EQ(convertByte(Conversion::Flag, 0, 2), 0);
  EXPECT_EQ(convertByte(Conversion::InvertedFlag, 0, 2), 1);
  EXPECT_EQ(convertByte(Conversion::FfFlag, 0xFF, 2), 1);
  EXPECT_EQ(convertByte(Conversion::FfFlag, 0xFE, 2), 0);
  EXPECT_EQ(convertByte(Conversion::FfFlag, 1, 2), 0);
  EXPECT_EQ(convertByte(Conversion::Raw, 0xC8, 0), 0xC8);
}

TEST(NvramConversions, ListAcceptsOnlyPositionsOfTheList) {
  expectTable(Conversion::List, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}, 4);
  expectTable(Conversion::List, {}, 0);
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
}

TEST(NvramConversions, FormLengthMapsEveryByte) {
  Expected expected{{0, 13}, {14, 14}, {15, 15}};
  for (int byte = 1; byte <= 13; ++byte) expected[byte] = byte - 1;
  for (int byte = 16; byte <= 255; ++byte) expected[byte] = 16;  // no change
  expectTable(Conversion::FormLen, expected);
}

TEST(NvramConversions, ThicknessKnowsAutomaticFixedAndNoChange) {
  Expected expected{{0, 0}, {1, 1}, {2, 2}, {3, 14}};
  for (int byte = 128; byte <= 138; ++byte) expected[byte] = byte - 125;
  expectTable(Conversion::Thickness, expected);
}

TEST(NvramConversions, MarginWordIsSignedOnlyForHighBytesFeAndFf) {
  EXPECT_EQ(marginWord(0x00, 0x00), 0);
  EXPECT_EQ(marginWord(0x01, 0x02), 258);
  EXPECT_EQ(marginWord(0x80, 0x00), 32768);
  EXPECT_EQ(marginWord(0xFD, 0xFF), 65023);
  EXPECT_EQ(marginWord(0xFE, 0x00), -512);
  EXPECT_EQ(marginWord(0xFF, 0x10), -240);
  EXPECT_EQ(marginWord(0xFF, 0xFF), -1);
}

TEST(NvramConversions, TopMarginOfZeroBytesIsTheDefault) {
  EXPECT_EQ(topMarginText(0, 0, MarginPath::Tractor), "8.5");
  EXPECT_EQ(topMarginText(0, 0, MarginPath::CutSheet), "6.4");
}

TEST(NvramConversions, TopMarginIsRoundedUpToOneInchAndTruncatedBeyond) {
  // Offsets d (1/360 inch) with the reference chosen so that d = value.
  const auto tractor = [](std::int32_t d) { return topMarginText(d, 120, MarginPath::Tractor); };
  EXPECT_EQ(tractor(220), "15.2");  // q 36: (36*254/6 + 5) / 10 = 152 tenths
  EXPECT_EQ(tractor(360), "25.4");
  EXPECT_EQ(tractor(361), "25.4");  // q 60: 250 + 4
  EXPECT_EQ(tractor(366), "25.8");  // q 61: 254 + 4
  EXPECT_EQ(tractor(5), "0.0");
  EXPECT_EQ(topMarginText(110, 200, MarginPath::CutSheet), "0.0");   // d = 0
  EXPECT_EQ(topMarginText(300, 200, MarginPath::CutSheet), "13.1");  // d = 190
}

TEST(NvramConversions, TopMarginBelowTheReferenceIsNegative) {
  EXPECT_EQ(topMarginText(marginWord(0xFF, 0x10), 0, MarginPath::Tractor), "-8.5");
  EXPECT_EQ(topMarginText(-3, 120, MarginPath::Tractor), "0.0");  // no "-0.0"
  EXPECT_EQ(topMarginText(-6, 120, MarginPath::Tractor), "-0.4");
  EXPECT_EQ(topMarginText(-1000, 120, MarginPath::Tractor), "-70.3");  // always the rounding branch
}

TEST(NvramConversions, TopMarginOfHugeValuesStaysShort) {
  // 0x8000 reads as a large positive offset; the tenths wrap at 1000 mm.
  EXPECT_EQ(topMarginText(marginWord(0x80, 0x00), 0, MarginPath::Tractor), "320.2");
  for (std::int32_t value : {-512, -1, 65023, 40000})
    for (std::int32_t reference : {0, 65535})
      for (MarginPath path : {MarginPath::Tractor, MarginPath::CutSheet})
        EXPECT_LE(topMarginText(value, reference, path).size(), 6u);
}

TEST(NvramConversions, UserNameMapsKatakanaAndLatinBytes) {
  const std::vector<std::uint8_t> bytes = {'A', 0xB1, 0xE0, 0xA1, 0xDF, 0xA0, '-', ' ', 0, 'Z'};
  EXPECT_EQ(userNameFromBytes(bytes), "A\uFF71\u00E0\uFF61\uFF9F\u00A0- ");
}

TEST(NvramConversions, UserNameReadsAtMostTenBytes) {
  const std::vector<std::uint8_t> bytes = {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9', 'X'};
  EXPECT_EQ(userNameFromBytes(bytes), "0123456789");
  EXPECT_EQ(userNameFromBytes(std::span(bytes).first(3)), "012");
  EXPECT_EQ(userNameFromBytes({}), "");
}

TEST(NvramConversions, UserNameIsValidUtf8OneCharacterPerByte) {
  for (int byte = 1; byte <= 255; ++byte) {
    const std::vector<std::uint8_t> bytes = {static_cast<std::uint8_t>(byte)};
    const std::string name = userNameFromBytes(bytes);
    EXPECT_TRUE(ini::utf8ToUtf16Le(name).isOk()) << "byte " << byte;
    EXPECT_EQ(ini::utf16Length(name), 1u) << "byte " << byte;
  }
}

}  // namespace
}  // namespace drovik::nvram
