#include "ini/utf16_scan.h"

#include <cstdint>
#include <cstring>

namespace drovik::ini {

std::size_t skipUtf16WordsWithout(const char* data, std::size_t from, std::size_t count, char a,
                                  char b) {
  constexpr std::uint64_t kLowBits = 0x0001000100010001ULL;
  constexpr std::uint64_t kHighBits = 0x8000800080008000ULL;
  const auto hasZeroUnit = [](std::uint64_t x) { return (x - kLowBits) & ~x & kHighBits; };
  const std::uint64_t wantedA = static_cast<unsigned char>(a) * kLowBits;
  const std::uint64_t wantedB = static_cast<unsigned char>(b) * kLowBits;
  std::size_t i = from;
  for (; i + 4 <= count; i += 4) {
    std::uint64_t word = 0;
    std::memcpy(&word, data + 2 * i, sizeof word);
    if ((hasZeroUnit(word ^ wantedA) | hasZeroUnit(word ^ wantedB)) != 0) break;
  }
  return i;
}

std::size_t narrowAsciiUtf16(const char* in, std::size_t count, char* out) {
  std::size_t i = 0;
  for (; i + 4 <= count; i += 4) {
    std::uint64_t word = 0;
    std::memcpy(&word, in + 2 * i, sizeof word);
    if ((word & 0xFF80FF80FF80FF80ULL) != 0) break;
    for (std::size_t k = 0; k < 4; ++k) out[i + k] = in[2 * (i + k)];
  }
  for (; i < count && in[2 * i + 1] == 0 && static_cast<unsigned char>(in[2 * i]) < 0x80; ++i)
    out[i] = in[2 * i];
  return i;
}

}  // namespace drovik::ini
