// The program's UTF-8 check and the fuzz targets' own table of well-formed sequences must give
// the same verdict: the command-image target trusts the second to judge the first's listings.
#include <gtest/gtest.h>

#include <string>

#include "ini/text_codec.h"
#include "utf8_oracle.h"

namespace {

struct Sample {
  std::string bytes;
  bool wellFormed;
};

TEST(Utf8Check, ProgramAndFuzzOracleAgreeOnEveryBoundary) {
  const Sample samples[] = {
      {"", true},
      {"ASCII only", true},
      {"全角テキスト：ＡＢＣ", true},
      {"\xC2\x80\xDF\xBF", true},                  // first and last two-byte characters
      {"\xE0\xA0\x80\xEF\xBF\xBF", true},          // U+0800, U+FFFF
      {"\xED\x9F\xBF\xEE\x80\x80", true},          // around the surrogates
      {"\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", true},  // U+10000, U+10FFFF
      {"\xC0\xAF", false},                         // overlong slash
      {"\xC1\xBF", false},
      {"\xE0\x9F\xBF", false},      // overlong three-byte form
      {"\xED\xA0\x80", false},      // a surrogate
      {"\xF0\x8F\xBF\xBF", false},  // overlong four-byte form
      {"\xF4\x90\x80\x80", false},  // past U+10FFFF
      {"\xF5\x80\x80\x80", false},
      {"\x80", false},          // a lone continuation byte
      {"a\xE3\x81", false},     // cut off at the end
      {"\xE3\x81\x41", false},  // a third byte that does not continue
      {"\xFF\xFE", false},
  };
  // Both read several bytes at once: each sample at every place in an eight-byte word, after
  // ASCII (a whole ASCII word among them) and after three-byte characters, and followed by
  // text that goes on past the word.
  const std::string leads[] = {"",      "a",      "ab",      "abc",      "abcd",
                               "abcde", "abcdef", "abcdefg", "abcdefgh", "abcdefghij",
                               "あ",    "aあ",    "abあ",    "あい",     "aあい"};
  for (const Sample& sample : samples) {
    for (const std::string& lead : leads) {
      for (const std::string& tail : {std::string(), std::string("、続く text です")}) {
        const std::string text = lead + sample.bytes + tail;
        EXPECT_EQ(drovik::ini::isValidUtf8(text), sample.wellFormed) << text;
        EXPECT_EQ(drovik::fuzz::isWellFormedUtf8(text), sample.wellFormed) << text;
      }
    }
  }
}

}  // namespace
