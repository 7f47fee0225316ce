#include "model/value_validation.h"

#include <gtest/gtest.h>

namespace drovik {
namespace {

const std::string kMarginRange = "\n-25.4 から 254 までの半角数字を入力してください";

TEST(ValueValidationMargin, AcceptsTextsInRange) {
  for (const char* text :
       {"8.5", "8.50", "-25.4", "254", "254.0", "0", "", ".5", "-0", "0000000025"})
    EXPECT_TRUE(validateMarginText(0, 0, text).isOk()) << text;
}

TEST(ValueValidationMargin, RefusesOutOfRangeMalformedAndLongTexts) {
  // Eleven characters would not fit the stored field: "00000000025" would come back as 2 mm.
  // Texts that are no plain number ("-", "8.5.1") are refused although they read as one
  // leading number, since the value codes could not send them.
  for (const char* text : {"254.1", "-25.5", "300", "1e2", "8,5", " 8.5", "+8.5", "00000000025",
                           "000000000000", "８．５", "-", ".", "8.5.1", "1-2", "--1"})
    EXPECT_FALSE(validateMarginText(0, 0, text).isOk()) << text;
}

TEST(ValueValidationMargin, MessageNamesUserAndBox) {
  EXPECT_EQ(validateMarginText(0, 0, "300").message(),
            "ユーザー１：フロントトラクタのトップマージン" + kMarginRange);
  EXPECT_EQ(validateMarginText(1, 1, "300").message(),
            "ユーザー２：リアトラクタのトップマージン" + kMarginRange);
  EXPECT_EQ(validateMarginText(9, 2, "300").message(),
            "ユーザー１０：単票の↑送りトップマージン" + kMarginRange);
  EXPECT_EQ(validateMarginText(9, 3, "300").message(),
            "ユーザー１０：単票の↓送りトップマージン" + kMarginRange);
  EXPECT_FALSE(validateMarginText(42, 7, "300").isOk());  // out-of-table indices are safe
}

TEST(ValueValidationIfChgTime, ChecksLengthBeforeRange) {
  const std::string length =
      "インターフェース設定：I/F切り替え時間は\n３桁以内の半角数字を入力してください";
  const std::string range =
      "インターフェース設定：I/F切り替え時間\n5 から 255 までの半角数字を入力してください";
  for (const char* text : {"30", "030", "5", "255", "005"})
    EXPECT_TRUE(validateIfChgTimeText(text).isOk()) << text;
  EXPECT_EQ(validateIfChgTimeText("0300").message(), length);
  EXPECT_EQ(validateIfChgTimeText("4").message(), range);
  EXPECT_EQ(validateIfChgTimeText("256").message(), range);
  EXPECT_EQ(validateIfChgTimeText("").message(), range);
  EXPECT_EQ(validateIfChgTimeText("ab").message(), range);
  EXPECT_EQ(validateIfChgTimeText("３０").message(), range);  // two characters, no digits
}

TEST(ValueValidationUserName, AcceptsHalfWidthNames) {
  for (const char* name : {"", "U01", "A B-C",
                           "\uFF71\uFF72\uFF73\uFF74\uFF75\uFF76\uFF77\uFF78"
                           "\uFF79\uFF7A",
                           "\uFF66\uFF9F", "~"})
    EXPECT_TRUE(validateUserName(0, name).isOk()) << name;
}

TEST(ValueValidationUserName, RefusesLongNamesWithPrefix) {
  EXPECT_EQ(validateUserName(2, "ABCDEFGHIJK").message(),
            "ユーザー名登録：ユーザー３\n半角英数カナで10文字以内にしてください");
  EXPECT_EQ(validateUserName(9,
                             "\uFF71\uFF71\uFF71\uFF71\uFF71\uFF71\uFF71\uFF71\uFF71\uFF71"
                             "\uFF71")
                .message(),
            "ユーザー名登録：ユーザー１０\n半角英数カナで10文字以内にしてください");
}

TEST(ValueValidationUserName, RefusesCharactersOutsideTheRanges) {
  const std::string message = "ユーザー名は半角英数カナで入力してください";
  // U+00A1..U+00DF would reach the printer as bytes A1..DF, which it shows as katakana.
  // U+FF61..U+FF65 are the half-width punctuation, no name characters.
  for (const char* name : {"Ａ", "\u00A1", "\u00DF", "\u00E0", "\u00A0", "\u0080", "a\tb", "\x7F",
                           "\xFF\xFE", "\xE3\x81", "\uFF61", "A\uFF65", "\uFF60", "\uFFA0"})
    EXPECT_EQ(validateUserName(0, name).message(), message) << name;
}

}  // namespace
}  // namespace drovik
