// Codes of the values that are not list choices: top margins (1/60-inch units), user
// names (one byte per character) and single bytes of numbers; with their way back for
// reading a command binary.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace drovik::codes {

// A top margin text ("8.5", millimetres) as a big-endian 16-bit two's-complement count of
// 1/60 inch, halves rounded up. Nothing for a text rules::marginMillimetres refuses (its code
// would not mean what the text says).
std::optional<std::array<std::uint8_t, 2>> marginCode(std::string_view text);

// The margin a 16-bit value means, as "8.5mm（20/60インチ）".
std::string marginText(std::uint8_t high, std::uint8_t low);

// The name bytes of a user name (UTF-8): its first ten UTF-16 code units; half-width
// katakana U+FF61..U+FF9F become A1..DF, other units keep their low 8 bits; 00 fills up.
std::array<std::uint8_t, 10> nameBytes(std::string_view name);

// Length of a name in UTF-16 code units, as nameBytes counts them.
std::size_t nameLength(std::string_view name);

// Name bytes back to UTF-8 text, up to the first 00; bytes with no character shown as "\xNN".
std::string nameFromBytes(const std::uint8_t* bytes, std::size_t count);

// A stored number reduced modulo 256 (so -1 gives FF), as the printer receives it.
std::uint8_t lowByte(std::int32_t value);

}  // namespace drovik::codes
