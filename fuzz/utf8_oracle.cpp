#include "utf8_oracle.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace drovik::fuzz {
namespace {

// The well-formed byte sequences of UTF-8 as the Unicode standard tabulates them (ASCII aside): a
// range of lead bytes, the range its second byte must fall in, and the sequence's length. Later
// bytes are always 80..BF. Written as a table, independent of the product's decoder.
struct SequenceForm {
  unsigned char leadFirst, leadLast, secondFirst, secondLast, length;
};
constexpr std::array<SequenceForm, 8> kForms{{
    {0xC2, 0xDF, 0x80, 0xBF, 2},
    {0xE0, 0xE0, 0xA0, 0xBF, 3},
    {0xE1, 0xEC, 0x80, 0xBF, 3},
    {0xED, 0xED, 0x80, 0x9F, 3},
    {0xEE, 0xEF, 0x80, 0xBF, 3},
    {0xF0, 0xF0, 0x90, 0xBF, 4},
    {0xF1, 0xF3, 0x80, 0xBF, 4},
    {0xF4, 0xF4, 0x80, 0x8F, 4},
}};

// The form of each lead byte, looked up rather than searched for: a listing has thousands of
// characters, most of them three-byte ones.
constexpr std::array<const SequenceForm*, 256> kFormOfLead = [] {
  std::array<const SequenceForm*, 256> table{};
  for (const SequenceForm& form : kForms)
    for (unsigned lead = form.leadFirst; lead <= form.leadLast; ++lead) table[lead] = &form;
  return table;
}();

// How many of the eight bytes at `bytes` are ASCII or three-byte characters of the forms
// E1..EC and EE..EF (Japanese text, any two continuation bytes), read from one load: a listing
// has tens of thousands of bytes, and each byte read on its own is checked by AddressSanitizer.
// Stops at any other byte and at a character that goes on past the eight.
std::size_t commonPrefixOfWord(const unsigned char* bytes) {
  std::uint64_t word = 0;
  std::memcpy(&word, bytes, sizeof word);
  if ((word & 0x8080808080808080ULL) == 0) return 8;  // the hex digits and numbers: ASCII
  const auto byteAt = [&](std::size_t k) { return static_cast<unsigned>(word >> (8 * k)) & 0xFF; };
  std::size_t k = 0;
  while (k < 8) {
    const unsigned lead = byteAt(k);
    if (lead < 0x80) {
      ++k;
    } else if (k + 3 <= 8 && (lead & 0xF0) == 0xE0 && lead != 0xE0 && lead != 0xED &&
               (byteAt(k + 1) & 0xC0) == 0x80 && (byteAt(k + 2) & 0xC0) == 0x80) {
      k += 3;
    } else {
      break;
    }
  }
  return k;
}

}  // namespace

bool isWellFormedUtf8(std::string_view text) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t size = text.size();
  std::size_t pos = 0;
  while (pos < size) {
    if (size - pos >= 8) {
      pos += commonPrefixOfWord(bytes + pos);
      if (pos == size) break;
    }
    // One sequence by the table.
    if (bytes[pos] < 0x80) {
      ++pos;
      continue;
    }
    const SequenceForm* form = kFormOfLead[bytes[pos]];
    if (form == nullptr || size - pos < form->length) return false;
    if (bytes[pos + 1] < form->secondFirst || bytes[pos + 1] > form->secondLast) return false;
    for (std::size_t k = 2; k < form->length; ++k)
      if ((bytes[pos + k] & 0xC0) != 0x80) return false;
    pos += form->length;
  }
  return true;
}

}  // namespace drovik::fuzz
