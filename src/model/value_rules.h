// What a top-margin text and a user name may hold. One reading, shared by the pages' checks,
// the value codes, the NVRAM decoder and the command dump, so that a value one of them takes
// is never refused by another.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace drovik::rules {

inline constexpr double kMinMarginMm = -25.4;
inline constexpr double kMaxMarginMm = 254.0;

// The millimetres of a margin text: at most 10 characters (the stored field's capacity), an
// optional "-", digits with at most one ".", a value from -25.4 to 254. Nothing otherwise.
std::optional<double> marginMillimetres(std::string_view text);

// Whether every character of a UTF-8 user name is a name character: printable ASCII and
// half-width katakana U+FF66..U+FF9F (bytes A6..DF). The half-width punctuation U+FF61..U+FF65
// and malformed UTF-8 are not.
bool hasPrinterNameCharactersOnly(std::string_view name);

// The character of a printer name byte: printable ASCII as itself, A1..DF as half-width
// katakana; nothing for the bytes that have no character.
std::optional<char32_t> printerCharacterOfByte(std::uint8_t byte);

}  // namespace drovik::rules
