// A printer's text value (an OCTET STRING) as the program shows and stores it: UTF-8, one line,
// bounded. Printers in the offices send UTF-8, Shift-JIS or plain bytes, and a hostile one
// anything at all, terminal escapes included.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace drovik::discovery {

// Longer values are cut between characters.
inline constexpr std::size_t kSnmpTextBytes = 255;

struct SnmpText {
  std::string text;
  bool cut = false;        // longer than kSnmpTextBytes
  bool fromCp932 = false;  // not UTF-8 but well-formed code page 932 (Shift-JIS), converted
  bool repaired = false;   // bytes that are no character became U+FFFD, control characters spaces
};

// Trailing NULs and line ends (C strings, multi-line descriptions) go without a word.
SnmpText snmpText(std::string_view bytes);

}  // namespace drovik::discovery
