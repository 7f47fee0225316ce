#include "ini/text_codec.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "ini/utf16_scan.h"

namespace drovik::ini {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";

Error malformedUtf8() { return Error{"UTF-8 として正しくない文字列です"}; }

// One conversion direction, opened once per thread: descriptors carry shift state and must not
// be shared between threads.
class IconvDescriptor {
 public:
  IconvDescriptor(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~IconvDescriptor() {
    if (valid()) iconv_close(cd_);
  }
  IconvDescriptor(const IconvDescriptor&) = delete;
  IconvDescriptor& operator=(const IconvDescriptor&) = delete;

  bool valid() const { return cd_ != invalid(); }

  // Converts as much as possible; returns false with errno set when stopped early.
  bool convert(const char*& in, std::size_t& inLeft, std::string& out, std::size_t& written) {
    while (true) {
      if (out.size() - written < 16) out.resize(out.size() * 2 + 16);
      char* inPtr = const_cast<char*>(in);  // iconv's signature lacks const
      char* outPtr = out.data() + written;
      std::size_t outLeft = out.size() - written;
      const std::size_t result = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
      const int error = errno;
      in = inPtr;
      written = out.size() - outLeft;
      if (result != static_cast<std::size_t>(-1)) return true;
      if (error != E2BIG) {
        errno = error;
        return false;
      }
    }
  }

  void reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

 private:
  static iconv_t invalid() { return reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1)); }
  iconv_t cd_;
};

IconvDescriptor& cp932Encoder() {
  thread_local IconvDescriptor descriptor("CP932", "UTF-8");
  return descriptor;
}

IconvDescriptor& cp932Decoder() {
  thread_local IconvDescriptor descriptor("UTF-8", "CP932");
  return descriptor;
}

void putUtf16Unit(std::string& out, char32_t unit) {
  out.push_back(static_cast<char>(unit & 0xFF));
  out.push_back(static_cast<char>(unit >> 8));
}

}  // namespace

DecodedChar decodeUtf8At(std::string_view text, std::size_t pos) {
  const auto byteAt = [&](std::size_t k) -> unsigned {
    return pos + k < text.size() ? static_cast<unsigned char>(text[pos + k]) : 0U;
  };
  const unsigned lead = byteAt(0);
  if (lead < 0x80) return {lead, 1};
  std::size_t length = 0;
  char32_t codePoint = 0;
  unsigned low = 0x80;
  unsigned high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    codePoint = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    codePoint = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    codePoint = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return {};
  }
  for (std::size_t k = 1; k < length; ++k) {
    const unsigned next = byteAt(k);
    if (next < low || next > high) return {};
    low = 0x80;
    high = 0xBF;
    codePoint = (codePoint << 6) | (next & 0x3F);
  }
  return {codePoint, length};
}

bool isValidUtf8(std::string_view text) {
  // Checks whole listings and files: ASCII bytes and the common three-byte characters
  // (U+0800..U+FFFF outside the surrogates) are taken without a full decode.
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t size = text.size();
  for (std::size_t pos = 0; pos < size;) {
    const unsigned lead = bytes[pos];
    if (lead < 0x80) {
      ++pos;
    } else if (lead > 0xE0 && lead < 0xF0 && lead != 0xED && pos + 2 < size &&
               (bytes[pos + 1] & 0xC0) == 0x80 && (bytes[pos + 2] & 0xC0) == 0x80) {
      pos += 3;
    } else {
      const std::size_t length = decodeUtf8At(text, pos).length;
      if (length == 0) return false;
      pos += length;
    }
  }
  return true;
}

void appendUtf8(std::string& out, char32_t codePoint) {
  const auto put = [&](char32_t bits) { out.push_back(static_cast<char>(bits)); };
  if (codePoint < 0x80) {
    put(codePoint);
  } else if (codePoint < 0x800) {
    put(0xC0 | (codePoint >> 6));
    put(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    put(0xE0 | (codePoint >> 12));
    put(0x80 | ((codePoint >> 6) & 0x3F));
    put(0x80 | (codePoint & 0x3F));
  } else {
    put(0xF0 | (codePoint >> 18));
    put(0x80 | ((codePoint >> 12) & 0x3F));
    put(0x80 | ((codePoint >> 6) & 0x3F));
    put(0x80 | (codePoint & 0x3F));
  }
}

bool isAscii(std::string_view bytes) {
  const char* data = bytes.data();
  std::size_t pos = 0;
  for (; pos + 8 <= bytes.size(); pos += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, data + pos, sizeof word);
    if ((word & 0x8080808080808080ULL) != 0) return false;
  }
  for (; pos < bytes.size(); ++pos) {
    if (static_cast<unsigned char>(data[pos]) >= 0x80) return false;
  }
  return true;
}

Result<std::string> utf8ToCp932(std::string_view utf8) {
  if (isAscii(utf8)) return std::string(utf8);
  if (!isValidUtf8(utf8)) return malformedUtf8();
  IconvDescriptor& encoder = cp932Encoder();
  if (!encoder.valid()) return Error{"文字コード CP932 への変換を利用できません"};
  encoder.reset();
  std::string out(utf8.size() + 16, '\0');
  std::size_t written = 0;
  const char* in = utf8.data();
  std::size_t inLeft = utf8.size();
  if (!encoder.convert(in, inLeft, out, written)) {
    const std::size_t pos = static_cast<std::size_t>(in - utf8.data());
    const std::size_t length = decodeUtf8At(utf8, pos).length;
    if (length == 0) return malformedUtf8();
    return Error{"CP932 で表せない文字「" + std::string(utf8.substr(pos, length)) +
                 "」が含まれています"};
  }
  out.resize(written);
  return out;
}

std::string cp932ToUtf8Lossy(std::string_view cp932) {
  if (isAscii(cp932)) return std::string(cp932);
  IconvDescriptor& decoder = cp932Decoder();
  std::string out;
  if (!decoder.valid()) {
    for (const char c : cp932) {
      if (static_cast<unsigned char>(c) < 0x80) {
        out.push_back(c);
      } else {
        out += kReplacementUtf8;
      }
    }
    return out;
  }
  decoder.reset();
  out.resize(cp932.size() * 3 / 2 + 16);
  std::size_t written = 0;
  const char* in = cp932.data();
  std::size_t inLeft = cp932.size();
  while (!decoder.convert(in, inLeft, out, written)) {
    // Invalid or truncated sequence: replace its first byte and resynchronise after it.
    out.resize(std::max(out.size(), written + kReplacementUtf8.size()));
    out.replace(written, kReplacementUtf8.size(), kReplacementUtf8);
    written += kReplacementUtf8.size();
    ++in;
    --inLeft;
    decoder.reset();
  }
  out.resize(written);
  return out;
}

Result<std::string> utf8ToUtf16Le(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size() * 2);
  for (std::size_t pos = 0; pos < utf8.size();) {
    const unsigned char byte = static_cast<unsigned char>(utf8[pos]);
    if (byte < 0x80) {
      out.push_back(static_cast<char>(byte));
      out.push_back('\0');
      ++pos;
      continue;
    }
    const DecodedChar decoded = decodeUtf8At(utf8, pos);
    if (decoded.length == 0) return malformedUtf8();
    pos += decoded.length;
    if (decoded.codePoint < 0x10000) {
      putUtf16Unit(out, decoded.codePoint);
    } else {
      const char32_t offset = decoded.codePoint - 0x10000;
      putUtf16Unit(out, 0xD800 + (offset >> 10));
      putUtf16Unit(out, 0xDC00 + (offset & 0x3FF));
    }
  }
  return out;
}

void appendUtf16LeAsUtf8(std::string& out, std::string_view utf16le) {
  // Written through a pointer into room for the longest result (three bytes per unit), ASCII
  // runs copied whole: a profile in UTF-16LE decodes each of its 1500 key names.
  const std::size_t units = utf16le.size() / 2;
  const std::size_t start = out.size();
  out.resize(start + 3 * units + (utf16le.size() % 2 != 0 ? 3 : 0));
  char* o = out.data() + start;
  const auto put = [&](char32_t codePoint) {
    if (codePoint < 0x80) {
      *o++ = static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
      *o++ = static_cast<char>(0xC0 | (codePoint >> 6));
      *o++ = static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
      *o++ = static_cast<char>(0xE0 | (codePoint >> 12));
      *o++ = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
      *o++ = static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
      *o++ = static_cast<char>(0xF0 | (codePoint >> 18));
      *o++ = static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
      *o++ = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
      *o++ = static_cast<char>(0x80 | (codePoint & 0x3F));
    }
  };
  const auto* p = reinterpret_cast<const unsigned char*>(utf16le.data());
  const unsigned char* const end = p + 2 * units;
  const auto unitAt = [](const unsigned char* at) -> char32_t {
    return at[0] | (static_cast<char32_t>(at[1]) << 8);
  };
  while (p != end) {
    const std::size_t ascii = narrowAsciiUtf16(reinterpret_cast<const char*>(p),
                                               static_cast<std::size_t>(end - p) / 2, o);
    o += ascii;
    p += 2 * ascii;
    if (p == end) break;
    const char32_t unit = unitAt(p);
    p += 2;
    if (unit >= 0xD800 && unit <= 0xDBFF && p != end && unitAt(p) >= 0xDC00 &&
        unitAt(p) <= 0xDFFF) {
      put(0x10000 + ((unit - 0xD800) << 10) + (unitAt(p) - 0xDC00));
      p += 2;
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      put(kReplacement);
    } else {
      put(unit);
    }
  }
  if (utf16le.size() % 2 != 0) put(kReplacement);
  out.resize(static_cast<std::size_t>(o - out.data()));
}

std::string utf16LeToUtf8Lossy(std::string_view utf16le) {
  std::string out;
  appendUtf16LeAsUtf8(out, utf16le);
  return out;
}

std::size_t utf16Length(std::string_view utf8) {
  std::size_t units = 0;
  for (std::size_t pos = 0; pos < utf8.size();) {
    if (static_cast<unsigned char>(utf8[pos]) < 0x80) {
      ++units;
      ++pos;
      continue;
    }
    const DecodedChar decoded = decodeUtf8At(utf8, pos);
    units += decoded.codePoint >= 0x10000 ? 2 : 1;
    pos += decoded.length == 0 ? 1 : decoded.length;
  }
  return units;
}

std::string truncateUtf16(std::string_view utf8, std::size_t maxUnits) {
  // A character never takes more UTF-16 units than UTF-8 bytes.
  if (utf8.size() <= maxUnits) return std::string(utf8);
  std::size_t units = 0;
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const DecodedChar decoded = decodeUtf8At(utf8, pos);
    const std::size_t charUnits = decoded.codePoint >= 0x10000 ? 2 : 1;
    if (units + charUnits > maxUnits) break;
    units += charUnits;
    pos += decoded.length == 0 ? 1 : decoded.length;
  }
  return std::string(utf8.substr(0, pos));
}

}  // namespace drovik::ini
