// Serialized INI files split into lines the way the engine splits them (CR, LF or CR LF;
// UTF-16LE by code unit), for checking that an edit touched only the lines it should.
#pragma once

#include <string_view>
#include <vector>

namespace drovik::fuzz {

struct RawLine {
  std::string_view content;
  std::string_view end;  // empty only for a last line without a line break
};

struct RawFile {
  std::string_view bom;
  std::vector<RawLine> lines;
  std::string_view oddByte;  // a UTF-16LE file of odd length keeps its last byte apart
};

RawFile splitLines(std::string_view bytes);

// Whether `after` is `before` with at most one line's content changed (line ends all kept).
bool changesAtMostOneLine(const RawFile& before, const RawFile& after);
// Whether `after` is `before` with one line added; a last line without a break may gain one.
bool insertsOneLine(const RawFile& before, const RawFile& after);
// Whether `after` is `before` with the bytes of exactly one line (its line end included) cut
// out. Compared as bytes: a blank LF line after a CR line reads as part of a CR LF once the
// line between them is gone.
bool removesOneLine(std::string_view before, std::string_view after);
// Whether `after` is `before` with one non-empty run of bytes left out.
bool removesOneRun(std::string_view before, std::string_view after);

}  // namespace drovik::fuzz
