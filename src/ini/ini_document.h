// An INI file in memory, read and changed the way the Windows private-profile functions do.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "files/status.h"
#include "ini/name_index.h"

namespace drovik::ini {

enum class Encoding { Cp932, Utf16Le };

namespace detail {
enum class LineKind : std::uint8_t { Blank, Comment, Header, Key, Other };
enum class LineEnd : std::uint8_t { None, Cr, Lf, CrLf };
// Bytes [offset, offset + size) of a line.
struct LinePart {
  std::size_t offset = 0;
  std::size_t size = 0;
};
}  // namespace detail

// Names and values are UTF-8 at this interface. Every line that is not changed keeps its exact
// bytes (line end, spacing, even bytes that do not decode); only written lines are re-encoded.
// Section and key names match ASCII-case-insensitively; for duplicates the first one wins.
// Lookups build indexes lazily, so even const calls must not run concurrently on one document.
class IniDocument {
 public:
  IniDocument();                                // a new, empty file in code page 932
  static IniDocument parse(std::string bytes);  // never fails; a leading FF FE means UTF-16LE

  Encoding encoding() const { return encoding_; }
  // Whether two section or key names match as the file matches them.
  static bool sameName(std::string_view a, std::string_view b) { return NameEqual{}(a, b); }
  bool hasSection(std::string_view section) const;
  // In file order; a name that appears several times is listed once, as first spelled.
  std::vector<std::string> sectionNames() const;

  // One pair of surrounding quotes is stripped; nullopt when the section or key is absent.
  std::optional<std::string> readText(std::string_view section, std::string_view key) const;
  // At most capacityUtf16 UTF-16 units of the value, or of fallback when the key is absent.
  std::string readText(std::string_view section, std::string_view key, std::string_view fallback,
                       std::size_t capacityUtf16) const;
  // fallback when the key is absent or its value empty; otherwise the leading decimal digits
  // (with an optional sign, wrapped modulo 2^32 into the int32 range), 0 when there are none.
  std::int32_t readInt(std::string_view section, std::string_view key, std::int32_t fallback) const;
  // The reads above within one section, which is looked up once: a whole profile reads some
  // 1500 keys of one section. Valid until the document is changed or destroyed.
  class SectionReader;
  SectionReader section(std::string_view name) const;

  // The section's lines other than comments and blank ones, as "key=value", quotes kept.
  std::vector<std::string> readSection(std::string_view section) const;

  // Writes refuse (changing nothing) names and values that would not read back the same:
  // line breaks or NUL, '=' or a leading '[' / ';' in a key, ']' in a section name, empty
  // names, names with surrounding blanks, and text the file's encoding cannot hold.
  Status writeText(std::string_view section, std::string_view key, std::string_view value);
  void deleteKey(std::string_view section, std::string_view key);
  // Removes the header and everything up to the next header (keys, comments, blank lines).
  void deleteSection(std::string_view section);
  // Replaces the section's key lines by the given "key=value" lines (others are skipped),
  // placed where the first old key line was; creates the section at the end when missing.
  Status writeSection(std::string_view section, const std::vector<std::string>& lines);

  std::string serialize() const;
  // True once a write or delete has changed the content since parse.
  bool modified() const { return modified_; }

 private:
  using LineKind = detail::LineKind;
  using LineEnd = detail::LineEnd;

  // A line's bytes (without its line end) live in the parsed source or, once rewritten, in
  // edits_[offset]. Removed lines stay as tombstones so that indexed positions remain valid.
  struct Line {
    std::size_t offset = 0;
    std::size_t size = 0;
    LineKind kind = LineKind::Blank;
    LineEnd end = LineEnd::CrLf;
    bool edited = false;
    bool deleted = false;
    // Of a key line, without surrounding blanks: found when the line is classified, since every
    // lookup takes the name or the value apart again.
    detail::LinePart key;
    detail::LinePart value;
  };

  // Copies of names in blocks that never move, so that views of them stay valid: an index of
  // a UTF-16LE section decodes every key name, and one allocation per name cost more than
  // the rest of indexing.
  class NameStore {
   public:
    std::string_view add(std::string_view name);
    void clear() {
      blocks_.clear();
      room_ = 0;
    }

   private:
    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t used_ = 0;  // of the last block
    std::size_t room_ = 0;  // left in the last block
  };

  // Key lookup for one section, built as far as lookups need it: a key is looked for in the
  // index, then in the lines after those indexed, each indexed on the way. The slot table reads
  // the first keys of every profile's section, a profile's load every key of one section. The
  // index points into the shared source or into `names`, so a copy starts empty rather than
  // pointing into the original's storage.
  struct KeyCache {
    NameIndex index;
    NameStore names;          // decoded or rewritten names the index points to
    std::string decoded;      // the name being decoded, its buffer kept from name to name
    std::size_t indexed = 0;  // lines of the body looked at
    bool built = false;       // all of them

    KeyCache() = default;
    KeyCache(const KeyCache&) {}
    KeyCache(KeyCache&&) noexcept = default;
    KeyCache& operator=(const KeyCache&) {
      clear();
      return *this;
    }
    KeyCache& operator=(KeyCache&&) noexcept = default;
    ~KeyCache() = default;
    void clear() {
      index.clear();
      names.clear();
      indexed = 0;
      built = false;
    }
  };

  // A section's body stays one byte range of the source until its lines are needed, so parsing
  // a file only looks for headers.
  struct Section {
    std::string name;  // decoded; empty for the lines before the first header
    Line header;
    bool hasHeader = false;
    bool deleted = false;
    std::size_t rawBegin = 0;
    std::size_t rawEnd = 0;
    mutable bool split = false;
    mutable std::vector<Line> body;
    mutable KeyCache keys;  // name -> position in body of the first live key line
  };

  struct RawKeyValue {
    std::string_view key;
    std::string_view value;
  };

  void startSection(std::size_t offset, std::size_t size, LineEnd lineEnd, std::string_view rawName,
                    std::size_t bodyBegin);
  std::vector<Line>& lines(const Section& section) const;

  std::string_view bytesOf(const Line& line) const;
  RawKeyValue splitKeyLine(const Line& line) const;
  std::string decode(std::string_view raw) const;
  void appendDecoded(std::string& out, std::string_view raw) const;
  void classifyInto(Line& line, std::string_view bytes) const;
  Status appendEncoded(std::string& out, std::string_view utf8) const;
  Line newLine(std::string bytes);  // ends in CRLF
  void replaceLineBytes(Line& line, std::string bytes);
  void removeLine(Line& line);

  const Section* findSection(std::string_view name) const;
  Section* findSection(std::string_view name);
  std::string_view stableKeyName(const Section& section, const Line& line) const;
  std::optional<std::size_t> findKey(const Section& section, std::string_view key) const;
  static std::size_t positionAfterLastKeyLine(const std::vector<Line>& body);
  std::optional<std::string_view> rawValue(const Section* section, std::string_view key) const;
  void appendSection(std::string name, Line header, std::vector<Line> body);

  Encoding encoding_ = Encoding::Cp932;
  std::shared_ptr<const std::string> source_;  // shared by copies, never changed
  std::vector<std::string> edits_;
  std::vector<Section> sections_;  // sections_[0] holds the lines before the first header
  std::unordered_map<std::string, std::size_t, NameHash, NameEqual> sectionIndex_;  // first live
  std::string oddTrailingByte_;  // of a UTF-16LE file with odd length, kept last
  bool modified_ = false;
};

class IniDocument::SectionReader {
 public:
  std::optional<std::string> readText(std::string_view key) const;
  std::string readText(std::string_view key, std::string_view fallback,
                       std::size_t capacityUtf16) const;
  std::int32_t readInt(std::string_view key, std::int32_t fallback) const;

 private:
  friend class IniDocument;
  SectionReader(const IniDocument& document, const Section* section)
      : document_(&document), section_(section) {}

  const IniDocument* document_;
  const Section* section_;  // null when the file lacks the section
};

}  // namespace drovik::ini
