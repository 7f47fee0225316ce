#include "ini/ini_document.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "ini/text_codec.h"
#include "ini/utf16_scan.h"

namespace drovik::ini {
namespace {

using detail::LineEnd;
using detail::LineKind;
using detail::LinePart;

bool isBlank(unsigned unit) { return unit == ' ' || unit == '\t'; }

// Code page 932 as bytes. A lead byte followed by a trail byte is one character; the trail byte
// may look like '[', '\\' or ']', so searches for those must step over whole characters.
// Blanks, ';', '=' and line breaks never occur as trail bytes.
struct Cp932Units {
  static constexpr std::size_t kWidth = 1;
  static std::size_t count(std::string_view bytes) { return bytes.size(); }
  static unsigned at(std::string_view bytes, std::size_t i) {
    return static_cast<unsigned char>(bytes[i]);
  }
  static std::size_t charLength(std::string_view bytes, std::size_t i) {
    const unsigned lead = at(bytes, i);
    const bool isLead = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC);
    if (!isLead || i + 1 >= bytes.size()) return 1;
    const unsigned trail = at(bytes, i + 1);
    return (trail >= 0x40 && trail <= 0x7E) || (trail >= 0x80 && trail <= 0xFC) ? 2 : 1;
  }
};

// UTF-16LE code units. An ASCII character is one unit that never occurs inside another character.
struct Utf16Units {
  static constexpr std::size_t kWidth = 2;
  static std::size_t count(std::string_view bytes) { return bytes.size() / 2; }
  static unsigned at(std::string_view bytes, std::size_t i) {
    return static_cast<unsigned char>(bytes[2 * i]) |
           (static_cast<unsigned>(static_cast<unsigned char>(bytes[2 * i + 1])) << 8);
  }
  static std::size_t charLength(std::string_view, std::size_t) { return 1; }
};

// Units [begin, end) of one line.
struct UnitRange {
  std::size_t begin = 0;
  std::size_t end = 0;
};

template <class Units>
UnitRange trimBlanks(std::string_view line, UnitRange range) {
  while (range.begin < range.end && isBlank(Units::at(line, range.begin))) ++range.begin;
  while (range.end > range.begin && isBlank(Units::at(line, range.end - 1))) --range.end;
  return range;
}

template <class Units>
UnitRange trimmedLine(std::string_view line) {
  return trimBlanks<Units>(line, {0, Units::count(line)});
}

template <class Units>
std::string_view bytesIn(std::string_view line, UnitRange range) {
  return line.substr(range.begin * Units::kWidth, (range.end - range.begin) * Units::kWidth);
}

template <class Units>
std::size_t findEquals(std::string_view line, UnitRange range) {
  if constexpr (Units::kWidth == 1) {
    // memchr even for short lines: a byte loop here is what the fuzz build's comparison
    // tracing would report byte by byte, for every key line of a profile.
    const void* found = std::memchr(line.data() + range.begin, '=', range.end - range.begin);
    return found ? static_cast<std::size_t>(static_cast<const char*>(found) - line.data())
                 : range.end;
  } else {
    std::size_t i = skipUtf16WordsWithout(line.data(), range.begin, range.end, '=', '=');
    for (; i < range.end; ++i) {
      if (Units::at(line, i) == '=') return i;
    }
    return range.end;
  }
}

template <class Units>
std::size_t findClosingBracket(std::string_view line, UnitRange range) {
  for (std::size_t i = range.begin; i < range.end; i += Units::charLength(line, i)) {
    if (Units::at(line, i) == ']') return i;
  }
  return range.end;
}

struct LineShape {
  LineKind kind = LineKind::Blank;
  LinePart key;  // of a key line: its name and value, blanks trimmed
  LinePart value;
};

LineShape shapeOf(LineKind kind) { return {kind, {}, {}}; }

template <class Units>
LineShape classify(std::string_view line) {
  const UnitRange text = trimmedLine<Units>(line);
  if (text.begin == text.end) return shapeOf(LineKind::Blank);
  const unsigned first = Units::at(line, text.begin);
  if (first == ';') return shapeOf(LineKind::Comment);
  if (first == '[') {
    const bool closed = findClosingBracket<Units>(line, {text.begin + 1, text.end}) < text.end;
    return shapeOf(closed ? LineKind::Header : LineKind::Other);
  }
  const std::size_t equals = findEquals<Units>(line, text);
  if (equals == text.end) return shapeOf(LineKind::Other);
  const auto part = [](UnitRange range) {
    return LinePart{range.begin * Units::kWidth, (range.end - range.begin) * Units::kWidth};
  };
  return {LineKind::Key, part(trimBlanks<Units>(line, {text.begin, equals})),
          part(trimBlanks<Units>(line, {equals + 1, text.end}))};
}

// classify(line) == LineKind::Header, without looking for '=' in other lines.
template <class Units>
bool isHeader(std::string_view line) {
  const UnitRange text = trimmedLine<Units>(line);
  return text.begin < text.end && Units::at(line, text.begin) == '[' &&
         findClosingBracket<Units>(line, {text.begin + 1, text.end}) < text.end;
}

template <class Units>
std::string_view headerName(std::string_view line) {
  const UnitRange text = trimmedLine<Units>(line);
  const std::size_t close = findClosingBracket<Units>(line, {text.begin + 1, text.end});
  return bytesIn<Units>(line, trimBlanks<Units>(line, {text.begin + 1, close}));
}

// Calls onLine(offset, size, lineEnd) for each line in source[begin, end).
template <class Units, class OnLine>
void forEachLine(std::string_view source, std::size_t begin, std::size_t end, OnLine onLine) {
  if constexpr (Units::kWidth == 1) {
    // memchr for both break characters, each search resumed only once passed.
    const char* data = source.data();
    const auto find = [&](char wanted, std::size_t from) {
      const void* found = std::memchr(data + from, wanted, end - from);
      return found ? static_cast<std::size_t>(static_cast<const char*>(found) - data) : end;
    };
    std::size_t nextCr = find('\r', begin);
    std::size_t nextLf = find('\n', begin);
    for (std::size_t pos = begin; pos < end;) {
      if (nextCr < pos) nextCr = find('\r', pos);
      if (nextLf < pos) nextLf = find('\n', pos);
      const std::size_t stop = std::min(nextCr, nextLf);
      if (stop == end) {
        onLine(pos, end - pos, LineEnd::None);
        return;
      }
      LineEnd lineEnd = LineEnd::Lf;
      if (stop == nextCr) {
        lineEnd = stop + 1 < end && stop + 1 == nextLf ? LineEnd::CrLf : LineEnd::Cr;
      }
      onLine(pos, stop - pos, lineEnd);
      pos = stop + (lineEnd == LineEnd::CrLf ? 2 : 1);
    }
  } else {
    const std::string_view units = source.substr(begin, end - begin);
    const std::size_t count = Units::count(units);
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < count;) {
      i = skipUtf16WordsWithout(units.data(), i, count, '\r', '\n');
      if (i == count) break;
      const unsigned unit = Units::at(units, i);
      if (unit != '\r' && unit != '\n') {
        ++i;
        continue;
      }
      LineEnd lineEnd = LineEnd::Lf;
      if (unit == '\r') {
        lineEnd = i + 1 < count && Units::at(units, i + 1) == '\n' ? LineEnd::CrLf : LineEnd::Cr;
      }
      onLine(begin + lineStart * 2, (i - lineStart) * 2, lineEnd);
      i += lineEnd == LineEnd::CrLf ? 2 : 1;
      lineStart = i;
    }
    if (lineStart < count) onLine(begin + lineStart * 2, (count - lineStart) * 2, LineEnd::None);
  }
}

// Calls onHeader(lineStart, line, lineEnd, nextLineStart) for each section header of a code
// page 932 source. Only '[' bytes are visited: one that is a trail byte follows a lead byte,
// never blanks or a line break, so it is not mistaken for a line start.
template <class OnHeader>
void forEachCp932Header(std::string_view source, OnHeader onHeader) {
  const char* data = source.data();
  const std::size_t size = source.size();
  const auto isBreak = [](char c) { return c == '\r' || c == '\n'; };
  for (std::size_t pos = 0; pos < size;) {
    const void* found = std::memchr(data + pos, '[', size - pos);
    if (!found) return;
    const auto bracket = static_cast<std::size_t>(static_cast<const char*>(found) - data);
    std::size_t lineStart = bracket;
    while (lineStart > 0 && isBlank(static_cast<unsigned char>(data[lineStart - 1]))) --lineStart;
    if (lineStart > 0 && !isBreak(data[lineStart - 1])) {
      pos = bracket + 1;
      continue;
    }
    std::size_t contentEnd = bracket;
    while (contentEnd < size && !isBreak(data[contentEnd])) ++contentEnd;
    LineEnd lineEnd = LineEnd::None;
    std::size_t next = contentEnd;
    if (contentEnd < size && data[contentEnd] == '\n') {
      lineEnd = LineEnd::Lf;
      next = contentEnd + 1;
    } else if (contentEnd < size) {
      const bool crlf = contentEnd + 1 < size && data[contentEnd + 1] == '\n';
      lineEnd = crlf ? LineEnd::CrLf : LineEnd::Cr;
      next = contentEnd + (crlf ? 2 : 1);
    }
    const std::string_view line = source.substr(lineStart, contentEnd - lineStart);
    if (classify<Cp932Units>(line).kind == LineKind::Header)
      onHeader(lineStart, line, lineEnd, next);
    pos = next;
  }
}

bool endsWithLineBreak(std::string_view bytes, Encoding encoding) {
  const std::size_t width = encoding == Encoding::Cp932 ? 1 : 2;
  if (bytes.size() < width) return false;
  const char last = bytes[bytes.size() - width];
  return (last == '\r' || last == '\n') && (width == 1 || bytes.back() == '\0');
}

std::string_view lineEndBytes(LineEnd end, Encoding encoding) {
  using namespace std::string_view_literals;
  switch (end) {
    case LineEnd::None:
      return {};
    case LineEnd::Cr:
      return encoding == Encoding::Cp932 ? "\r"sv : "\r\0"sv;
    case LineEnd::Lf:
      return encoding == Encoding::Cp932 ? "\n"sv : "\n\0"sv;
    case LineEnd::CrLf:
      return encoding == Encoding::Cp932 ? "\r\n"sv : "\r\0\n\0"sv;
  }
  return {};
}

std::string_view stripQuotes(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

std::string_view trimUtf8Blanks(std::string_view text) {
  while (!text.empty() && isBlank(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && isBlank(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return text;
}

// The leading decimal number as the Windows profile functions read it: the digits are
// accumulated modulo 2^32 and the result taken as a signed 32-bit value, so that a hand-edited
// 4294967297 reads 1 here as it does there.
std::int32_t parseLeadingInt(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && isBlank(static_cast<unsigned char>(text[pos]))) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  std::uint32_t value = 0;
  for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos)
    value = value * 10u + static_cast<std::uint32_t>(text[pos] - '0');
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

// Shows control characters in messages instead of breaking the message's layout.
std::string printable(std::string_view text) {
  std::string shown;
  for (const char c : text) {
    if (c == '\r') {
      shown += "\\r";
    } else if (c == '\n') {
      shown += "\\n";
    } else if (c == '\0') {
      shown += "\\0";
    } else {
      shown += c;
    }
  }
  return shown;
}

bool hasLineBreakOrNul(std::string_view text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return c == '\r' || c == '\n' || c == '\0'; });
}

bool hasSurroundingBlanks(std::string_view name) {
  return !name.empty() && (isBlank(static_cast<unsigned char>(name.front())) ||
                           isBlank(static_cast<unsigned char>(name.back())));
}

std::string sectionLabel(std::string_view section) { return "[" + printable(section) + "]"; }

std::string keyLabel(std::string_view section, std::string_view key) {
  return sectionLabel(section) + " " + printable(key);
}

Status checkSectionName(std::string_view section) {
  if (section.empty()) return Error{"セクション名が空です"};
  const char* problem = nullptr;
  if (hasLineBreakOrNul(section)) {
    problem = "セクション名に改行や NUL 文字は使えません: ";
  } else if (section.find(']') != std::string_view::npos) {
    problem = "セクション名に「]」は使えません: ";
  } else if (hasSurroundingBlanks(section)) {
    problem = "セクション名の前後に空白は使えません: ";
  }
  if (problem) return Error{problem + sectionLabel(section)};
  return {};
}

Status checkKeyName(std::string_view section, std::string_view key) {
  if (key.empty()) return Error{"キー名が空です: " + sectionLabel(section)};
  const char* problem = nullptr;
  if (hasLineBreakOrNul(key)) {
    problem = "キー名に改行や NUL 文字は使えません: ";
  } else if (key.find('=') != std::string_view::npos) {
    problem = "キー名に「=」は使えません: ";
  } else if (key.front() == '[' || key.front() == ';') {
    problem = "キー名を「[」や「;」で始めることはできません: ";
  } else if (hasSurroundingBlanks(key)) {
    problem = "キー名の前後に空白は使えません: ";
  }
  if (problem) return Error{problem + keyLabel(section, key)};
  return {};
}

// A "key=value" line for writeSection, which must stay one key line when read back.
Status checkSectionLine(std::string_view section, std::string_view line) {
  const char* problem = nullptr;
  if (hasLineBreakOrNul(line)) {
    problem = "改行や NUL 文字を含む行は書き込めません: ";
  } else if (const std::string_view text = trimUtf8Blanks(line);
             text.front() == '[' || text.front() == ';') {
    problem = "「[」や「;」で始まる行はキーとして書き込めません: ";
  }
  if (problem) return Error{problem + sectionLabel(section) + " " + printable(line)};
  return {};
}

Error encodingError(const std::string& label, const Error& cause) {
  return Error{label + " に書き込めません: " + cause.message};
}

// Every byte a code page 932 file cannot decode reads as U+FFFD, so a name holding U+FFFD may
// be taken for another section's or key's spelling; the file could not hold it anyway.
bool holdsUndecodable(std::string_view name, Encoding encoding) {
  return encoding == Encoding::Cp932 && name.find("\xEF\xBF\xBD") != std::string_view::npos;
}

Error undecodableNameError(const std::string& label) {
  return Error{label + " に書き込めません: CP932 で表せない文字「\xEF\xBF\xBD」が含まれています"};
}

}  // namespace

std::string_view IniDocument::NameStore::add(std::string_view name) {
  if (name.empty()) return {};
  if (name.size() > room_) {
    const std::size_t size = std::max<std::size_t>(name.size(), 4096);
    blocks_.push_back(std::make_unique<char[]>(size));
    used_ = 0;
    room_ = size;
  }
  char* copy = blocks_.back().get() + used_;
  std::copy(name.begin(), name.end(), copy);
  used_ += name.size();
  room_ -= name.size();
  return {copy, name.size()};
}

IniDocument::IniDocument() : source_(std::make_shared<const std::string>()), sections_(1) {
  sections_[0].split = true;
}

IniDocument IniDocument::parse(std::string bytes) {
  IniDocument document;
  document.sections_[0].split = false;
  const bool utf16 = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
  document.source_ = std::make_shared<const std::string>(std::move(bytes));
  const std::string_view source = *document.source_;
  std::size_t end = source.size();
  if (utf16) {
    document.encoding_ = Encoding::Utf16Le;
    end -= (end - 2) % 2;
    document.oddTrailingByte_ = source.substr(end);
    document.sections_[0].rawBegin = 2;
    forEachLine<Utf16Units>(
        source, 2, end, [&](std::size_t offset, std::size_t size, LineEnd lineEnd) {
          const std::string_view line = source.substr(offset, size);
          if (!isHeader<Utf16Units>(line)) return;
          const std::size_t next = offset + size + lineEndBytes(lineEnd, Encoding::Utf16Le).size();
          document.startSection(offset, size, lineEnd, headerName<Utf16Units>(line), next);
        });
  } else {
    forEachCp932Header(
        source, [&](std::size_t offset, std::string_view line, LineEnd lineEnd, std::size_t next) {
          document.startSection(offset, line.size(), lineEnd, headerName<Cp932Units>(line), next);
        });
  }
  document.sections_.back().rawEnd = end;
  return document;
}

void IniDocument::startSection(std::size_t offset, std::size_t size, LineEnd lineEnd,
                               std::string_view rawName, std::size_t bodyBegin) {
  sections_.back().rawEnd = offset;
  Section section;
  section.name = decode(rawName);
  section.header.offset = offset;
  section.header.size = size;
  section.header.kind = LineKind::Header;
  section.header.end = lineEnd;
  section.hasHeader = true;
  section.rawBegin = bodyBegin;
  if (!section.name.empty()) sectionIndex_.try_emplace(section.name, sections_.size());
  sections_.push_back(std::move(section));
}

std::vector<IniDocument::Line>& IniDocument::lines(const Section& section) const {
  if (section.split) return section.body;
  const std::string_view source = *source_;
  const auto add = [&](auto units, std::size_t offset, std::size_t size, LineEnd lineEnd) {
    using Units = decltype(units);
    const LineShape shape = classify<Units>(source.substr(offset, size));
    section.body.push_back(
        {offset, size, shape.kind, lineEnd, false, false, shape.key, shape.value});
  };
  if (encoding_ == Encoding::Cp932) {
    forEachLine<Cp932Units>(source, section.rawBegin, section.rawEnd,
                            [&](std::size_t offset, std::size_t size, LineEnd lineEnd) {
                              add(Cp932Units{}, offset, size, lineEnd);
                            });
  } else {
    forEachLine<Utf16Units>(source, section.rawBegin, section.rawEnd,
                            [&](std::size_t offset, std::size_t size, LineEnd lineEnd) {
                              add(Utf16Units{}, offset, size, lineEnd);
                            });
  }
  section.split = true;
  return section.body;
}

std::string_view IniDocument::bytesOf(const Line& line) const {
  if (line.edited) return edits_[line.offset];
  return std::string_view(*source_).substr(line.offset, line.size);
}

IniDocument::RawKeyValue IniDocument::splitKeyLine(const Line& line) const {
  // The parts were found in these bytes: no bounds to check.
  const char* bytes = bytesOf(line).data();
  return {std::string_view(bytes + line.key.offset, line.key.size),
          std::string_view(bytes + line.value.offset, line.value.size)};
}

std::string IniDocument::decode(std::string_view raw) const {
  return encoding_ == Encoding::Cp932 ? cp932ToUtf8Lossy(raw) : utf16LeToUtf8Lossy(raw);
}

void IniDocument::appendDecoded(std::string& out, std::string_view raw) const {
  if (encoding_ == Encoding::Utf16Le) {
    appendUtf16LeAsUtf8(out, raw);
  } else if (isAscii(raw)) {
    out += raw;
  } else {
    out += cp932ToUtf8Lossy(raw);
  }
}

void IniDocument::classifyInto(Line& line, std::string_view bytes) const {
  const LineShape shape =
      encoding_ == Encoding::Cp932 ? classify<Cp932Units>(bytes) : classify<Utf16Units>(bytes);
  line.kind = shape.kind;
  line.key = shape.key;
  line.value = shape.value;
}

Status IniDocument::appendEncoded(std::string& out, std::string_view utf8) const {
  if (encoding_ == Encoding::Cp932 && isAscii(utf8)) {
    out += utf8;
    return {};
  }
  Result<std::string> encoded =
      encoding_ == Encoding::Cp932 ? utf8ToCp932(utf8) : utf8ToUtf16Le(utf8);
  if (!encoded) return encoded.error();
  out += *encoded;
  return {};
}

IniDocument::Line IniDocument::newLine(std::string bytes) {
  Line line;
  classifyInto(line, bytes);
  line.size = bytes.size();
  line.offset = edits_.size();
  line.end = LineEnd::CrLf;
  line.edited = true;
  edits_.push_back(std::move(bytes));
  return line;
}

void IniDocument::replaceLineBytes(Line& line, std::string bytes) {
  classifyInto(line, bytes);
  line.size = bytes.size();
  if (line.edited) {
    edits_[line.offset] = std::move(bytes);
    return;
  }
  line.offset = edits_.size();
  line.edited = true;
  edits_.push_back(std::move(bytes));
}

void IniDocument::removeLine(Line& line) {
  line.deleted = true;
  if (line.edited) std::string().swap(edits_[line.offset]);
}

const IniDocument::Section* IniDocument::findSection(std::string_view name) const {
  const auto found = sectionIndex_.find(name);
  return found == sectionIndex_.end() ? nullptr : &sections_[found->second];
}

IniDocument::Section* IniDocument::findSection(std::string_view name) {
  return const_cast<Section*>(std::as_const(*this).findSection(name));
}

std::string_view IniDocument::stableKeyName(const Section& section, const Line& line) const {
  const std::string_view raw = splitKeyLine(line).key;
  // Unchanged ASCII names can point into the source, which outlives every index.
  if (encoding_ == Encoding::Cp932 && !line.edited && isAscii(raw)) return raw;
  std::string& decoded = section.keys.decoded;
  decoded.clear();
  appendDecoded(decoded, raw);
  return section.keys.names.add(decoded);
}

std::optional<std::size_t> IniDocument::findKey(const Section& section,
                                                std::string_view key) const {
  KeyCache& keys = section.keys;
  if (const std::optional<std::size_t> found = keys.index.find(key)) return found;
  if (keys.built || key.empty()) return std::nullopt;
  const std::vector<Line>& body = lines(section);
  // A first lookup is usually answered by the first lines; one that goes on is a whole load.
  keys.index.reserve(keys.indexed == 0 ? std::min<std::size_t>(body.size(), 32) : body.size());
  for (std::size_t i = keys.indexed; i < body.size(); ++i) {
    if (body[i].deleted || body[i].kind != LineKind::Key) continue;
    const std::string_view name = stableKeyName(section, body[i]);
    keys.index.tryEmplace(name, i);
    // Not found in the index, so no line before this one has the name: this is the first.
    if (NameEqual{}(name, key)) {
      keys.indexed = i + 1;
      return i;
    }
  }
  keys.indexed = body.size();
  keys.built = true;
  return std::nullopt;
}

std::size_t IniDocument::positionAfterLastKeyLine(const std::vector<Line>& body) {
  for (std::size_t i = body.size(); i > 0; --i) {
    const Line& line = body[i - 1];
    if (!line.deleted && (line.kind == LineKind::Key || line.kind == LineKind::Other)) return i;
  }
  return 0;
}

std::optional<std::string_view> IniDocument::rawValue(const Section* section,
                                                      std::string_view key) const {
  if (!section) return std::nullopt;
  const std::optional<std::size_t> position = findKey(*section, key);
  if (!position) return std::nullopt;
  return splitKeyLine(section->body[*position]).value;
}

void IniDocument::appendSection(std::string name, Line header, std::vector<Line> body) {
  Section section;
  section.name = std::move(name);
  section.header = header;
  section.hasHeader = true;
  section.split = true;
  section.body = std::move(body);
  sectionIndex_.try_emplace(section.name, sections_.size());
  sections_.push_back(std::move(section));
}

bool IniDocument::hasSection(std::string_view section) const {
  return findSection(section) != nullptr;
}

std::vector<std::string> IniDocument::sectionNames() const {
  std::vector<std::string> names;
  for (std::size_t i = 1; i < sections_.size(); ++i) {
    const Section& section = sections_[i];
    if (section.deleted || section.name.empty()) continue;
    if (sectionIndex_.find(section.name)->second == i) names.push_back(section.name);
  }
  return names;
}

std::optional<std::string> IniDocument::readText(std::string_view section,
                                                 std::string_view key) const {
  return this->section(section).readText(key);
}

std::string IniDocument::readText(std::string_view section, std::string_view key,
                                  std::string_view fallback, std::size_t capacityUtf16) const {
  return this->section(section).readText(key, fallback, capacityUtf16);
}

std::int32_t IniDocument::readInt(std::string_view section, std::string_view key,
                                  std::int32_t fallback) const {
  return this->section(section).readInt(key, fallback);
}

IniDocument::SectionReader IniDocument::section(std::string_view name) const {
  return {*this, findSection(name)};
}

std::optional<std::string> IniDocument::SectionReader::readText(std::string_view key) const {
  const std::optional<std::string_view> raw = document_->rawValue(section_, key);
  if (!raw) return std::nullopt;
  std::string value = document_->decode(*raw);
  if (stripQuotes(value).size() != value.size()) {
    value.pop_back();
    value.erase(0, 1);
  }
  return value;
}

std::string IniDocument::SectionReader::readText(std::string_view key, std::string_view fallback,
                                                 std::size_t capacityUtf16) const {
  const std::optional<std::string> value = readText(key);
  return truncateUtf16(value ? std::string_view(*value) : fallback, capacityUtf16);
}

std::int32_t IniDocument::SectionReader::readInt(std::string_view key,
                                                 std::int32_t fallback) const {
  const std::optional<std::string_view> raw = document_->rawValue(section_, key);
  if (!raw) return fallback;
  if (document_->encoding_ == Encoding::Cp932 && isAscii(*raw)) {
    const std::string_view value = stripQuotes(*raw);
    return value.empty() ? fallback : parseLeadingInt(value);
  }
  const std::string decoded = document_->decode(*raw);
  const std::string_view value = stripQuotes(decoded);
  return value.empty() ? fallback : parseLeadingInt(value);
}

std::vector<std::string> IniDocument::readSection(std::string_view section) const {
  std::vector<std::string> result;
  const Section* found = findSection(section);
  if (!found) return result;
  for (const Line& line : lines(*found)) {
    if (line.deleted) continue;
    if (line.kind == LineKind::Key) {
      const RawKeyValue parts = splitKeyLine(line);
      std::string text;
      text.reserve(2 * (parts.key.size() + parts.value.size()) + 1);
      appendDecoded(text, parts.key);
      text += '=';
      appendDecoded(text, parts.value);
      result.push_back(std::move(text));
    } else if (line.kind == LineKind::Other) {
      result.emplace_back(trimUtf8Blanks(decode(bytesOf(line))));
    }
  }
  return result;
}

Status IniDocument::writeText(std::string_view section, std::string_view key,
                              std::string_view value) {
  if (Status valid = checkSectionName(section); !valid) return valid;
  if (Status valid = checkKeyName(section, key); !valid) return valid;
  if (hasLineBreakOrNul(value)) {
    return Error{"値に改行や NUL 文字は使えません: " + keyLabel(section, key)};
  }
  if (holdsUndecodable(section, encoding_)) return undecodableNameError(sectionLabel(section));
  if (holdsUndecodable(key, encoding_)) return undecodableNameError(keyLabel(section, key));

  Section* target = findSection(section);
  if (!target) {
    std::string header;
    std::string line;
    if (Status encoded = appendEncoded(header, "[" + std::string(section) + "]"); !encoded) {
      return encodingError(sectionLabel(section), encoded.error());
    }
    if (Status encoded = appendEncoded(line, std::string(key) + "=" + std::string(value));
        !encoded) {
      return encodingError(keyLabel(section, key), encoded.error());
    }
    appendSection(std::string(section), newLine(std::move(header)), {newLine(std::move(line))});
    modified_ = true;
    return {};
  }

  if (const std::optional<std::size_t> position = findKey(*target, key)) {
    // Keep the key as spelled in the file; the rest of the line is rewritten.
    Line& line = target->body[*position];
    std::string bytes(splitKeyLine(line).key);
    Status encoded = appendEncoded(bytes, "=");
    if (encoded) encoded = appendEncoded(bytes, value);
    if (!encoded) return encodingError(keyLabel(section, key), encoded.error());
    if (bytes == bytesOf(line)) return {};
    replaceLineBytes(line, std::move(bytes));
    modified_ = true;
    return {};
  }

  std::string bytes;
  Status encoded = appendEncoded(bytes, key);
  if (encoded) encoded = appendEncoded(bytes, "=");
  if (encoded) encoded = appendEncoded(bytes, value);
  if (!encoded) return encodingError(keyLabel(section, key), encoded.error());
  // Only comments, blank lines and removed lines follow the insertion point, none of them
  // indexed, so the positions in the key index stay valid.
  std::vector<Line>& body = target->body;
  const std::size_t position = positionAfterLastKeyLine(body);
  body.insert(body.begin() + static_cast<std::ptrdiff_t>(position), newLine(std::move(bytes)));
  target->keys.index.tryEmplace(target->keys.names.add(key), position);
  modified_ = true;
  return {};
}

void IniDocument::deleteKey(std::string_view section, std::string_view key) {
  Section* target = findSection(section);
  if (!target) return;
  const std::optional<std::size_t> position = findKey(*target, key);
  if (!position) return;
  std::vector<Line>& body = target->body;
  removeLine(body[*position]);
  target->keys.index.erase(key);
  // A later duplicate of the key now becomes the one that is found.
  for (std::size_t i = *position + 1; i < body.size(); ++i) {
    if (body[i].deleted || body[i].kind != LineKind::Key) continue;
    if (NameEqual{}(decode(splitKeyLine(body[i]).key), key)) {
      target->keys.index.tryEmplace(stableKeyName(*target, body[i]), i);
      break;
    }
  }
  modified_ = true;
}

void IniDocument::deleteSection(std::string_view section) {
  const auto found = sectionIndex_.find(section);
  if (found == sectionIndex_.end()) return;
  const std::size_t index = found->second;
  sectionIndex_.erase(found);
  Section& removed = sections_[index];
  removed.deleted = true;
  removeLine(removed.header);
  for (Line& line : removed.body) removeLine(line);
  removed.body.clear();
  removed.keys.clear();
  // A later duplicate of the section now becomes the one that is found.
  for (std::size_t i = index + 1; i < sections_.size(); ++i) {
    if (!sections_[i].deleted && NameEqual{}(sections_[i].name, section)) {
      sectionIndex_.try_emplace(sections_[i].name, i);
      break;
    }
  }
  modified_ = true;
}

Status IniDocument::writeSection(std::string_view section, const std::vector<std::string>& lines) {
  if (Status valid = checkSectionName(section); !valid) return valid;
  if (holdsUndecodable(section, encoding_)) return undecodableNameError(sectionLabel(section));
  std::vector<std::string> encoded;
  for (const std::string& text : lines) {
    if (text.find('=') == std::string::npos) continue;
    if (Status valid = checkSectionLine(section, text); !valid) return valid;
    std::string bytes;
    if (Status done = appendEncoded(bytes, text); !done) {
      return encodingError(sectionLabel(section), done.error());
    }
    encoded.push_back(std::move(bytes));
  }
  Section* target = findSection(section);
  std::string header;
  if (!target) {
    if (Status done = appendEncoded(header, "[" + std::string(section) + "]"); !done) {
      return encodingError(sectionLabel(section), done.error());
    }
  }

  std::vector<Line> replacement;
  replacement.reserve(encoded.size());
  for (std::string& bytes : encoded) replacement.push_back(newLine(std::move(bytes)));
  modified_ = true;
  if (!target) {
    appendSection(std::string(section), newLine(std::move(header)), std::move(replacement));
    return {};
  }

  std::vector<Line> body;
  body.reserve(replacement.size() + target->body.size());
  bool placed = false;
  for (Line& line : this->lines(*target)) {
    if (line.deleted) continue;
    if (line.kind == LineKind::Key || line.kind == LineKind::Other) {
      if (!placed) body.insert(body.end(), replacement.begin(), replacement.end());
      placed = true;
      removeLine(line);
      continue;
    }
    body.push_back(line);
  }
  if (!placed) body.insert(body.begin(), replacement.begin(), replacement.end());
  target->body = std::move(body);
  target->keys.clear();
  return {};
}

std::string IniDocument::serialize() const {
  std::size_t estimate = source_->size();
  for (const std::string& edit : edits_) estimate += edit.size() + 4;
  std::string out;
  out.reserve(estimate);
  if (encoding_ == Encoding::Utf16Le) out += "\xFF\xFE";
  // Only the source's last line can lack a line end; it gets one when lines follow it.
  bool needsBreak = false;
  const auto emitBytes = [&](std::string_view bytes) {
    if (needsBreak) out += lineEndBytes(LineEnd::CrLf, encoding_);
    out += bytes;
  };
  const auto emit = [&](const Line& line) {
    if (line.deleted) return;
    emitBytes(bytesOf(line));
    out += lineEndBytes(line.end, encoding_);
    needsBreak = line.end == LineEnd::None;
  };
  for (const Section& section : sections_) {
    if (section.deleted) continue;
    if (section.hasHeader) emit(section.header);
    if (section.split) {
      for (const Line& line : section.body) emit(line);
      continue;
    }
    const std::string_view raw =
        std::string_view(*source_).substr(section.rawBegin, section.rawEnd - section.rawBegin);
    if (raw.empty()) continue;
    emitBytes(raw);
    needsBreak = !endsWithLineBreak(raw, encoding_);
  }
  out += oddTrailingByte_;
  return out;
}

}  // namespace drovik::ini
