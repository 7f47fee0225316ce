// Bytes as the listing and the messages show them: formatting only, no decision on what the
// bytes say.
#include "command/image_reader.h"

namespace drovik::image {

std::string hexBytes(std::span<const std::uint8_t> bytes) {
  std::string text;
  appendHexBytes(text, bytes);
  return text;
}

void appendHexBytes(std::string& out, std::span<const std::uint8_t> bytes) {
  // A dump formats every byte of the image: digits from a table, not snprintf.
  static constexpr char kDigits[] = "0123456789ABCDEF";
  if (bytes.empty()) return;
  const std::size_t start = out.size();
  out.resize(start + bytes.size() * 3 - 1, ' ');
  char* text = out.data() + start;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    text[3 * i] = kDigits[bytes[i] >> 4];
    text[3 * i + 1] = kDigits[bytes[i] & 0x0F];
  }
}

}  // namespace drovik::image
