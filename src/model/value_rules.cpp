#include "model/value_rules.h"

#include <charconv>

#include "ini/text_codec.h"
#include "model/catalogue.h"

namespace drovik::rules {
namespace {

// A user name takes the half-width katakana from U+FF66 on; the half-width punctuation
// U+FF61..U+FF65 before it is no name character, though the printer has bytes for it.
constexpr char32_t kNameKanaFirst = 0xFF66;
constexpr char32_t kHalfWidthLast = 0xFF9F;
constexpr char32_t kHalfWidthShift = 0xFEC0;  // U+FF61 - 0xFEC0 = A1

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<double> marginMillimetres(std::string_view text) {
  if (text.size() > catalogue::kMarginCapacity) return std::nullopt;
  const bool negative = text.starts_with('-');
  if (negative) text.remove_prefix(1);
  int digits = 0;
  int points = 0;
  for (char c : text) {
    if (isDigit(c))
      ++digits;
    else if (c == '.')
      ++points;
    else
      return std::nullopt;
  }
  if (digits == 0 || points > 1) return std::nullopt;
  double value = 0;
  const auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  if (negative) value = -value;
  if (!(value >= kMinMarginMm && value <= kMaxMarginMm)) return std::nullopt;
  return value;
}

bool hasPrinterNameCharactersOnly(std::string_view name) {
  for (std::size_t i = 0; i < name.size();) {
    const ini::DecodedChar d = ini::decodeUtf8At(name, i);
    if (d.length == 0) return false;
    const char32_t c = d.codePoint;
    if (!((c >= 0x20 && c <= 0x7E) || (c >= kNameKanaFirst && c <= kHalfWidthLast))) return false;
    i += d.length;
  }
  return true;
}

std::optional<char32_t> printerCharacterOfByte(std::uint8_t byte) {
  if (byte >= 0x20 && byte <= 0x7E) return char32_t{byte};
  if (byte >= 0xA1 && byte <= 0xDF) return kHalfWidthShift + byte;
  return std::nullopt;
}

}  // namespace drovik::rules
