#include "discovery/snmp_text.h"

#include "ini/text_codec.h"

namespace drovik::discovery {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

std::string_view withoutTrailingEnds(std::string_view bytes) {
  while (!bytes.empty() && (bytes.back() == '\0' || bytes.back() == '\r' || bytes.back() == '\n'))
    bytes.remove_suffix(1);
  return bytes;
}

bool isControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

// Each malformed byte becomes U+FFFD and each control character a space: nothing that could
// move a terminal's cursor or break a line of a listing.
std::string cleaned(std::string_view utf8, bool& repaired) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    const ini::DecodedChar decoded = ini::decodeUtf8At(utf8, pos);
    if (decoded.length == 0) {
      ini::appendUtf8(out, kReplacement);
      repaired = true;
      ++pos;
    } else if (isControl(decoded.codePoint)) {
      out.push_back(' ');
      repaired = true;
      pos += decoded.length;
    } else {
      out.append(utf8.substr(pos, decoded.length));
      pos += decoded.length;
    }
  }
  return out;
}

// The longest prefix of at most `bound` bytes that ends between characters (`utf8` is valid).
std::size_t cutPoint(std::string_view utf8, std::size_t bound) {
  std::size_t end = 0;
  while (end < utf8.size()) {
    const std::size_t length = ini::decodeUtf8At(utf8, end).length;
    if (end + length > bound) break;
    end += length;
  }
  return end;
}

}  // namespace

SnmpText snmpText(std::string_view bytes) {
  SnmpText result;
  const std::string_view raw = withoutTrailingEnds(bytes);
  if (ini::isValidUtf8(raw)) {
    result.text = cleaned(raw, result.repaired);
  } else {
    const std::string fromCp932 = ini::cp932ToUtf8Lossy(raw);
    if (fromCp932.find("\xEF\xBF\xBD") == std::string::npos) {
      result.fromCp932 = true;
      result.text = cleaned(fromCp932, result.repaired);
    } else {
      result.text = cleaned(raw, result.repaired);
    }
  }
  if (result.text.size() > kSnmpTextBytes) {
    result.text.resize(cutPoint(result.text, kSnmpTextBytes));
    result.cut = true;
  }
  return result;
}

}  // namespace drovik::discovery
