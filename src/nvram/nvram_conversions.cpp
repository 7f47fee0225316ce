#include "nvram/nvram_conversions.h"

#include <algorithm>
#include <cstdlib>

#include "ini/text_codec.h"
#include "model/catalogue.h"
#include "model/value_rules.h"

namespace drovik::nvram {
namespace {

using Position = std::optional<std::int32_t>;

Position emulPosition(std::uint8_t byte) {
  switch (byte) {
    case 0:
      return 1;  // 8630
    case 2:
      return 2;  // ESC/P
    case 3:
      return 0;  // automatic
    default:
      return std::nullopt;
  }
}

Position linePitchPosition(std::uint8_t byte) {
  // The printer has two codes each for 6 and 7.5 LPI.
  static constexpr std::int32_t kPositions[] = {4, 5, 0, 1, 2, 3, 4, 5, 6};
  if (byte >= std::size(kPositions)) return std::nullopt;
  return kPositions[byte];
}

Position lineLenPosition(std::uint8_t byte) {
  static constexpr std::int32_t kPositions[] = {1, 2, 0};
  if (byte >= std::size(kPositions)) return std::nullopt;
  return kPositions[byte];
}

Position paperChgCmdPosition(std::uint8_t byte) {
  switch (byte) {
    case 0:
      return 0;
    case 1:
      return 1;
    case 3:
      return 2;
    default:
      return std::nullopt;
  }
}

Position formModePosition(std::uint8_t byte) {
  // Even codes 0-6 are the front tractor's four entries, odd codes 1-7 the cut sheet's and
  // even codes 16-22 the rear tractor's.
  if (byte <= 7) return (byte % 2 == 0 ? 0 : 8) + byte / 2;
  if (byte >= 16 && byte <= 22 && byte % 2 == 0) return 4 + (byte - 16) / 2;
  return std::nullopt;
}

Position formLenPosition(std::uint8_t byte) {
  if (byte == 0) return 13;         // 11 inches
  if (byte <= 13) return byte - 1;  // 3 to 10 inches
  if (byte <= 15) return byte;      // 12 and 14 inches
  return 16;                        // no change
}

Position thicknessPosition(std::uint8_t byte) {
  if (byte <= 2) return byte;                         // automatic, three strengths
  if (byte == 3) return 14;                           // no change
  if (byte >= 128 && byte <= 138) return byte - 125;  // fixed 01 to 11
  return std::nullopt;
}

}  // namespace

std::optional<std::int32_t> convertByte(Conversion conversion, std::uint8_t byte, int listSize) {
  switch (conversion) {
    case Conversion::Raw:
      return byte;
    case Conversion::Flag:
      return byte == 0 ? 0 : 1;
    case Conversion::InvertedFlag:
      return byte == 0 ? 1 : 0;
    case Conversion::FfFlag:
      return byte == 0xFF ? 1 : 0;
    case Conversion::List:
      return byte < listSize ? Position(byte) : std::nullopt;
    case Conversion::Emul:
      return emulPosition(byte);
    case Conversion::LinePitch:
      return linePitchPosition(byte);
    case Conversion::LineLen:
      return lineLenPosition(byte);
    case Conversion::PaperChgCmd:
      return paperChgCmdPosition(byte);
    case Conversion::FormMode:
      return formModePosition(byte);
    case Conversion::FormLen:
      return formLenPosition(byte);
    case Conversion::Thickness:
      return thicknessPosition(byte);
  }
  return std::nullopt;
}

std::int32_t marginWord(std::uint8_t high, std::uint8_t low) {
  const std::int32_t signedHigh = high >= 0xFE ? high - 256 : high;
  return signedHigh * 256 + low;
}

std::string topMarginText(std::int32_t value, std::int32_t reference, MarginPath path) {
  const std::int32_t base = path == MarginPath::Tractor ? 120 : 90;
  const std::int32_t d = value - (reference - base);  // 1/360 inch
  const std::int32_t q = std::abs(d) / 6;             // 1/60 inch
  // Offsets up to one inch, and all negative ones, are rounded to tenths of a millimetre;
  // longer ones are truncated.
  std::int32_t tenths = 0;
  if (d <= 360) {
    tenths = ((q * 254 / 6 + 5) / 10) % 10000;
  } else {
    tenths = (q * 25 / 6 + q * 4 / 60) % 10000;
  }
  std::string text = d < 0 && tenths != 0 ? "-" : "";
  text += std::to_string(tenths / 10);
  text += '.';
  text += static_cast<char>('0' + tenths % 10);
  return text;
}

std::string userNameFromBytes(std::span<const std::uint8_t> bytes) {
  std::string name;
  const std::size_t count = std::min(bytes.size(), catalogue::kNameCapacity);
  for (std::size_t i = 0; i < count && bytes[i] != 0; ++i) {
    // A byte without a printer character keeps its own code point, so nothing is lost.
    ini::appendUtf8(name, rules::printerCharacterOfByte(bytes[i]).value_or(char32_t{bytes[i]}));
  }
  return name;
}

}  // namespace drovik::nvram
