// How bytes of a printer's NVRAM image become profile values: the printer keeps its own
// codes, which are neither the value-list positions of the profile nor the command codes.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace drovik::nvram {

enum class Conversion {
  Raw,           // the byte itself
  Flag,          // 0 for byte 0, else 1
  InvertedFlag,  // 1 for byte 0, else 0
  FfFlag,        // 1 for byte 255, else 0
  List,          // the byte when it is a position of the item's value list
  Emul,
  LinePitch,
  LineLen,
  PaperChgCmd,
  FormMode,
  FormLen,    // bytes beyond the table fall to the "no change" position
  Thickness,  // paper thickness (Aga lists)
};

// The value a byte gives the item, or nullopt when the item keeps its value.
// listSize is the length of the item's value list, used by Conversion::List.
std::optional<std::int32_t> convertByte(Conversion conversion, std::uint8_t byte, int listSize);

// Top margins are offsets from a per-path reference position of the printer's.
enum class MarginPath {
  Tractor,   // front and rear tractor: reference less 120/360 inch
  CutSheet,  // both cut-sheet feeds: reference less 90/360 inch
};

// The 2-byte margin word, high byte first; high bytes 0xFE and 0xFF make it negative.
std::int32_t marginWord(std::uint8_t high, std::uint8_t low);

// The margin in millimetres with one decimal ("8.5", "-8.5"), from the margin word and the
// path's reference (both in 1/360 inch). Never longer than 6 characters.
std::string topMarginText(std::int32_t value, std::int32_t reference, MarginPath path);

// A user name of single-byte printer characters as UTF-8: bytes 0xA1..0xDF are half-width
// katakana (U+FF61..U+FF9F), every other byte the code point of its own value; a 0 byte
// ends the name. Reads at most 10 bytes.
std::string userNameFromBytes(std::span<const std::uint8_t> bytes);

}  // namespace drovik::nvram
