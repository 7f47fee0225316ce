// Arbitrary bytes as an INI file: reads with the names found in it and with odd ones, then one
// edit (of a kind the input picks) on a copy, checking that every line the edit does not concern
// keeps its exact bytes and that the written file reads back as the document in memory does.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "ini/ini_document.h"
#include "ini/text_codec.h"
#include "ini_lines.h"

namespace {

using drovik::Result;
using drovik::fuzz::splitLines;
using drovik::ini::Encoding;
using drovik::ini::IniDocument;

constexpr std::size_t kMaxSections = 16;
constexpr std::size_t kMaxLinesPerSection = 32;

// Values to write: plain, Japanese, blanks and quotes that reading strips, characters code
// page 932 lacks, malformed UTF-8 and line breaks that writes must refuse.
constexpr std::array<std::string_view, 10> kValues = {
    "1",      "新しい値",         "",     "  x y  ", "\"quoted\"", "a=b;c",
    "ｶﾅ表ソ", "\xF0\x9F\x98\x80", "\xFF", "1\r\n[x]"};
// Fresh names, some with code page 932 trail bytes that look like '\\' or ']'.
constexpr std::array<std::string_view, 3> kSectionNames = {"fuzz", "表ソ", "‐x"};
constexpr std::array<std::string_view, 2> kKeyNames = {"Key", "能力"};

struct KeyRef {
  std::string section;
  std::string key;
};

std::string swapAsciiCase(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') {
      c = static_cast<char>(c - 'a' + 'A');
    } else if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
  }
  return text;
}

// What readText gives back for a written value: blanks trimmed, one pair of quotes stripped.
std::string readBack(std::string_view value) {
  while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
  while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.remove_suffix(1);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return std::string(value);
}

std::string encodeLine(const IniDocument& doc, const std::string& utf8) {
  Result<std::string> encoded = doc.encoding() == Encoding::Cp932
                                    ? drovik::ini::utf8ToCp932(utf8)
                                    : drovik::ini::utf8ToUtf16Le(utf8);
  FUZZ_CHECK(encoded.isOk(), utf8);
  return *encoded +
         (doc.encoding() == Encoding::Cp932 ? std::string("\r\n") : std::string("\r\0\n\0", 4));
}

std::string absentSectionName(const IniDocument& doc, std::string name) {
  while (doc.hasSection(name)) name += "+";
  return name;
}

// Names that may be anything at all, even malformed UTF-8: absent ones read as absent.
void readOddNames(const IniDocument& doc, std::string_view input, std::uint16_t pick) {
  const std::size_t start = input.empty() ? 0 : pick % input.size();
  const std::string_view slice = input.substr(start, pick >> 12);
  for (const std::string_view section : {std::string_view(""), std::string_view("\xFF"),
                                         std::string_view("[x]"), std::string_view("a]b"), slice}) {
    for (const std::string_view key : {std::string_view(""), std::string_view("="),
                                       std::string_view(" k "), slice.substr(slice.size() / 2)}) {
      if (!doc.readText(section, key)) FUZZ_CHECK(doc.readInt(section, key, 7) == 7, key);
      (void)doc.readText(section, key, "fallback", 3);
    }
    if (!doc.hasSection(section)) FUZZ_CHECK(doc.readSection(section).empty(), section);
  }
}

// Reads every section and key found in the document, checking that the readers agree.
std::vector<KeyRef> readEverything(const IniDocument& doc) {
  std::vector<KeyRef> keys;
  const std::vector<std::string> names = doc.sectionNames();
  for (std::size_t s = 0; s < names.size() && s < kMaxSections; ++s) {
    const std::string& section = names[s];
    FUZZ_CHECK(doc.hasSection(section) && doc.hasSection(swapAsciiCase(section)), section);
    const std::vector<std::string> lines = doc.readSection(section);
    for (std::size_t l = 0; l < lines.size() && l < kMaxLinesPerSection; ++l) {
      const std::size_t equals = lines[l].find('=');
      // Lines without '=' and unclosed "[..." lines are listed but are not keys.
      if (equals == std::string::npos || equals == 0 || lines[l][0] == '[') continue;
      const std::string key = lines[l].substr(0, equals);
      const std::optional<std::string> text = doc.readText(section, key);
      FUZZ_CHECK(text.has_value(), lines[l]);
      FUZZ_CHECK(doc.readText(swapAsciiCase(section), swapAsciiCase(key)) == text, key);
      FUZZ_CHECK(doc.readText(section, key, "fallback", 5) == drovik::ini::truncateUtf16(*text, 5),
                 key);
      if (text->empty())
        FUZZ_CHECK(doc.readInt(section, key, 7) == 7 && doc.readInt(section, key, -3) == -3, key);
      keys.push_back({section, key});
    }
  }
  return keys;
}

// The file written from `doc` reads as `doc` does, in its sections and the edited one.
void checkReadsBack(const IniDocument& doc, const std::string& written,
                    const std::string& section) {
  const IniDocument again = IniDocument::parse(written);
  FUZZ_CHECK(again.serialize() == written, "reparsed");
  FUZZ_CHECK(again.sectionNames() == doc.sectionNames(), "section names");
  FUZZ_CHECK(again.readSection(section) == doc.readSection(section), section);
}

void checkRefusalChangedNothing(const IniDocument& doc, const std::string& input) {
  FUZZ_CHECK(!doc.modified() && doc.serialize() == input, "a refused write changed the file");
}

// A key in a section the file lacks: the file is kept byte for byte and the section follows.
void checkNewSection(const IniDocument& original, const std::string& input, std::uint16_t pick,
                     std::string_view value) {
  IniDocument doc = original;
  const std::string section = absentSectionName(doc, std::string(kSectionNames[pick % 3]));
  const std::string key(kKeyNames[pick / 3 % 2]);
  if (!doc.writeText(section, key, value)) return checkRefusalChangedNothing(doc, input);

  const drovik::fuzz::RawFile lines = splitLines(input);
  std::string kept(input.substr(0, input.size() - lines.oddByte.size()));
  if (!lines.lines.empty() && lines.lines.back().end.empty()) kept += encodeLine(doc, "");
  const std::string expected = kept + encodeLine(doc, "[" + section + "]") +
                               encodeLine(doc, key + "=" + std::string(value)) +
                               std::string(lines.oddByte);
  const std::string written = doc.serialize();
  FUZZ_CHECK(written == expected, section);
  FUZZ_CHECK(doc.readText(section, key) == readBack(value), section);
  checkReadsBack(doc, written, section);
}

// A new value for a key in the file: only that key's line changes.
void checkReplacedValue(const IniDocument& original, const std::string& input, const KeyRef& ref,
                        std::string_view value) {
  IniDocument doc = original;
  if (!doc.writeText(ref.section, ref.key, value)) return checkRefusalChangedNothing(doc, input);
  const std::string written = doc.serialize();
  FUZZ_CHECK(changesAtMostOneLine(splitLines(input), splitLines(written)), ref.key);
  FUZZ_CHECK(doc.readText(ref.section, ref.key) == readBack(value), ref.key);
  checkReadsBack(doc, written, ref.section);
}

// A key the section lacks: one line is added.
void checkAddedKey(const IniDocument& original, const std::string& input, const KeyRef& ref,
                   std::uint16_t pick, std::string_view value) {
  IniDocument doc = original;
  std::string key(kKeyNames[pick % 2]);
  while (doc.readText(ref.section, key)) key += "+";
  if (!doc.writeText(ref.section, key, value)) return checkRefusalChangedNothing(doc, input);
  const std::string written = doc.serialize();
  FUZZ_CHECK(insertsOneLine(splitLines(input), splitLines(written)), key);
  FUZZ_CHECK(doc.readText(ref.section, key) == readBack(value), key);
  checkReadsBack(doc, written, ref.section);
}

void checkDeletedKey(const IniDocument& original, const std::string& input, const KeyRef& ref) {
  IniDocument doc = original;
  doc.deleteKey(ref.section, ref.key);
  const std::string written = doc.serialize();
  FUZZ_CHECK(doc.modified() && drovik::fuzz::removesOneLine(input, written), ref.key);
  checkReadsBack(doc, written, ref.section);
}

void checkDeletedSection(const IniDocument& original, const std::string& input, const KeyRef& ref) {
  IniDocument doc = original;
  doc.deleteSection(ref.section);
  const std::string written = doc.serialize();
  FUZZ_CHECK(doc.modified() && drovik::fuzz::removesOneRun(input, written), ref.section);
  checkReadsBack(doc, written, ref.section);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  const auto pick = provider.ConsumeIntegral<std::uint16_t>();
  const std::string input = provider.ConsumeRemainingBytesAsString();

  const IniDocument doc = IniDocument::parse(input);
  FUZZ_CHECK(!doc.modified() && doc.serialize() == input, "an unchanged file is kept as read");
  const std::vector<KeyRef> keys = readEverything(doc);
  readOddNames(doc, input, pick);
  const std::string_view value = kValues[pick % kValues.size()];

  // One edit per input, of the kind `pick` names: each copies, rewrites and reparses the
  // whole file, and making all five cost most of each run.
  const int edit = (pick >> 8) % 5;
  if (edit == 0 || keys.empty()) {
    checkNewSection(doc, input, pick, value);
    return 0;
  }
  const KeyRef& ref = keys[pick / kValues.size() % keys.size()];
  if (edit == 1) checkReplacedValue(doc, input, ref, value);
  if (edit == 2) checkAddedKey(doc, input, ref, pick, value);
  if (edit == 3) checkDeletedKey(doc, input, ref);
  if (edit == 4) checkDeletedSection(doc, input, ref);
  return 0;
}
