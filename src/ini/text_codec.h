// Conversions between the UTF-8 used throughout the program and the encodings INI files are
// stored in: code page 932 (Shift-JIS with the Microsoft extensions) and UTF-16LE.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "files/status.h"

namespace drovik::ini {

struct DecodedChar {
  char32_t codePoint = 0;
  std::size_t length = 0;  // 0: malformed sequence
};

// One UTF-8 sequence at pos. Strict: overlong forms, surrogates and values above
// U+10FFFF are malformed.
DecodedChar decodeUtf8At(std::string_view text, std::size_t pos);
bool isValidUtf8(std::string_view text);
void appendUtf8(std::string& out, char32_t codePoint);

bool isAscii(std::string_view bytes);

// Refuses characters code page 932 cannot hold instead of substituting '?', which would lose
// data. Characters with a one-way mapping (U+301C WAVE DASH, U+00A5 YEN SIGN, ...) are accepted
// and stored as the code page's usual byte pair.
Result<std::string> utf8ToCp932(std::string_view utf8);
// Undecodable bytes become U+FFFD; meant for reading and matching, never for writing back.
std::string cp932ToUtf8Lossy(std::string_view cp932);

// Refuses malformed UTF-8.
Result<std::string> utf8ToUtf16Le(std::string_view utf8);
// Unpaired surrogates and an odd trailing byte become U+FFFD.
std::string utf16LeToUtf8Lossy(std::string_view utf16le);
// The same, appended to `out` (no string of its own).
void appendUtf16LeAsUtf8(std::string& out, std::string_view utf16le);

// UTF-16 code units the text takes; a malformed byte counts as one unit, like its U+FFFD.
std::size_t utf16Length(std::string_view utf8);
// Longest prefix of at most maxUnits UTF-16 units, cut only between characters.
std::string truncateUtf16(std::string_view utf8, std::size_t maxUnits);

}  // namespace drovik::ini
