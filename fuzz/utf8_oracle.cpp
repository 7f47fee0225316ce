#include "utf8_oracle.h"

#include <array>
#include <cstddef>

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

const SequenceForm* formOf(unsigned char lead) {
  for (const SequenceForm& form : kForms)
    if (lead >= form.leadFirst && lead <= form.leadLast) return &form;
  return nullptr;
}

}  // namespace

bool isWellFormedUtf8(std::string_view text) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  for (std::size_t pos = 0; pos < text.size();) {
    if (bytes[pos] < 0x80) {  // most of a listing
      ++pos;
      continue;
    }
    const SequenceForm* form = formOf(bytes[pos]);
    if (form == nullptr || text.size() - pos < form->length) return false;
    if (bytes[pos + 1] < form->secondFirst || bytes[pos + 1] > form->secondLast) return false;
    for (std::size_t k = 2; k < form->length; ++k)
      if ((bytes[pos + k] & 0xC0) != 0x80) return false;
    pos += form->length;
  }
  return true;
}

}  // namespace drovik::fuzz
