#include "command/scalar_codes.h"

#include <cmath>
#include <cstdio>

#include "ini/text_codec.h"
#include "model/value_rules.h"

namespace drovik::codes {
namespace {

// One top-margin unit: 1/60 inch in millimetres.
constexpr double kMmPerUnit = 0.4233333333333333;
constexpr char32_t kReplacement = U'?';  // stands in for bytes that are not UTF-8
constexpr char16_t kHalfWidthFirst = 0xFF61;
constexpr char16_t kHalfWidthShift = 0xFEC0;  // U+FF61 - 0xFEC0 = A1

// Calls onUnit with each UTF-16 code unit of UTF-8 text; a malformed byte becomes '?' so that
// it cannot shift the characters after it. No vector of units: a command codes every user
// name twice.
template <class OnUnit>
void forEachUtf16Unit(std::string_view text, OnUnit onUnit) {
  for (std::size_t i = 0; i < text.size();) {
    const ini::DecodedChar d = ini::decodeUtf8At(text, i);
    const char32_t cp = d.length == 0 ? kReplacement : d.codePoint;
    i += d.length == 0 ? 1 : d.length;
    if (cp >= 0x10000) {
      onUnit(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
      onUnit(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    } else {
      onUnit(static_cast<char16_t>(cp));
    }
  }
}

}  // namespace

std::optional<std::array<std::uint8_t, 2>> marginCode(std::string_view text) {
  const auto mm = rules::marginMillimetres(text);
  if (!mm) return std::nullopt;
  // Units plus one half, truncated downward: the nearest unit with halves rounded up.
  const double v = ((*mm / kMmPerUnit) * 10 + 5) / 10;
  const auto units = static_cast<std::uint16_t>(static_cast<std::int16_t>(std::floor(v)));
  return std::array<std::uint8_t, 2>{static_cast<std::uint8_t>(units >> 8),
                                     static_cast<std::uint8_t>(units & 0xFF)};
}

std::string marginText(std::uint8_t high, std::uint8_t low) {
  const auto units = static_cast<std::int16_t>(static_cast<std::uint16_t>(high << 8 | low));
  // Tenths of a millimetre, halves away from zero: 20 units (8.466 mm) read "8.5".
  const long scaled = static_cast<long>(units) * 254;
  const long tenths = scaled >= 0 ? (scaled + 30) / 60 : -((-scaled + 30) / 60);
  const long whole = (tenths < 0 ? -tenths : tenths);
  std::string text = tenths < 0 ? "-" : "";
  text += std::to_string(whole / 10) + "." + std::to_string(whole % 10) + "mm（" +
          std::to_string(units) + "/60インチ）";
  return text;
}

std::array<std::uint8_t, 10> nameBytes(std::string_view name) {
  std::array<std::uint8_t, 10> bytes{};
  std::size_t count = 0;
  forEachUtf16Unit(name, [&](char16_t unit) {
    if (count == bytes.size()) return;
    if (unit >= kHalfWidthFirst) unit = static_cast<char16_t>(unit - kHalfWidthShift);
    bytes[count++] = static_cast<std::uint8_t>(unit & 0xFF);
  });
  return bytes;
}

std::size_t nameLength(std::string_view name) {
  std::size_t count = 0;
  forEachUtf16Unit(name, [&](char16_t) { ++count; });
  return count;
}

std::string nameFromBytes(const std::uint8_t* bytes, std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count && bytes[i] != 0; ++i) {
    if (const auto c = rules::printerCharacterOfByte(bytes[i])) {
      ini::appendUtf8(text, *c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", bytes[i]);
      text += hex;
    }
  }
  return text;
}

std::uint8_t lowByte(std::int32_t value) { return static_cast<std::uint8_t>(value & 0xFF); }

}  // namespace drovik::codes
