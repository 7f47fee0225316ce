#include "ini_lines.h"

#include <algorithm>

namespace drovik::fuzz {
namespace {

// The unit at `i` of a body of `width`-byte units.
unsigned unitAt(std::string_view body, std::size_t width, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(body[k]); };
  return width == 1 ? byte(i) : byte(2 * i) | byte(2 * i + 1) << 8;
}

bool sameLine(const RawLine& before, const RawLine& after, bool mayGainBreak) {
  if (before.content != after.content) return false;
  return before.end == after.end || (mayGainBreak && before.end.empty());
}

// Lines equal from the front and from the back; a last line of `before` without a break
// matches one with a break when mayGainBreak.
std::pair<std::size_t, std::size_t> commonEnds(const RawFile& before, const RawFile& after,
                                               bool mayGainBreak) {
  const auto& a = before.lines;
  const auto& b = after.lines;
  const auto relaxed = [&](std::size_t i) { return mayGainBreak && i + 1 == a.size(); };
  std::size_t front = 0;
  while (front < a.size() && front < b.size() && sameLine(a[front], b[front], relaxed(front)))
    ++front;
  std::size_t back = 0;
  while (back < a.size() && back < b.size() &&
         sameLine(a[a.size() - 1 - back], b[b.size() - 1 - back], relaxed(a.size() - 1 - back)))
    ++back;
  return {front, back};
}

// Bytes equal from the front and from the back, each at most after.size().
std::pair<std::size_t, std::size_t> commonByteEnds(std::string_view before,
                                                   std::string_view after) {
  const auto front = static_cast<std::size_t>(
      std::mismatch(after.begin(), after.end(), before.begin()).first - after.begin());
  const auto back = static_cast<std::size_t>(
      std::mismatch(after.rbegin(), after.rend(), before.rbegin()).first - after.rbegin());
  return {front, back};
}

bool sameFrame(const RawFile& before, const RawFile& after) {
  return before.bom == after.bom && before.oddByte == after.oddByte;
}

}  // namespace

RawFile splitLines(std::string_view bytes) {
  RawFile file;
  std::size_t width = 1;
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
    width = 2;
    file.bom = bytes.substr(0, 2);
    bytes.remove_prefix(2);
    if (bytes.size() % 2 != 0) {
      file.oddByte = bytes.substr(bytes.size() - 1);
      bytes.remove_suffix(1);
    }
  }
  const std::size_t count = bytes.size() / width;
  std::size_t start = 0;
  for (std::size_t i = 0; i < count;) {
    const unsigned unit = unitAt(bytes, width, i);
    if (unit != '\r' && unit != '\n') {
      ++i;
      continue;
    }
    const bool crlf = unit == '\r' && i + 1 < count && unitAt(bytes, width, i + 1) == '\n';
    const std::size_t endUnits = crlf ? 2 : 1;
    file.lines.push_back({bytes.substr(start * width, (i - start) * width),
                          bytes.substr(i * width, endUnits * width)});
    i += endUnits;
    start = i;
  }
  if (start < count) file.lines.push_back({bytes.substr(start * width), {}});
  return file;
}

bool changesAtMostOneLine(const RawFile& before, const RawFile& after) {
  if (!sameFrame(before, after) || before.lines.size() != after.lines.size()) return false;
  const auto [front, back] = commonEnds(before, after, false);
  if (front == before.lines.size()) return true;
  // The one changed line keeps its line end.
  return front + back + 1 >= before.lines.size() &&
         before.lines[front].end == after.lines[front].end;
}

bool insertsOneLine(const RawFile& before, const RawFile& after) {
  if (!sameFrame(before, after) || after.lines.size() != before.lines.size() + 1) return false;
  const auto [front, back] = commonEnds(before, after, true);
  return front + back >= before.lines.size();
}

bool removesOneLine(std::string_view before, std::string_view after) {
  if (after.size() >= before.size()) return false;
  const std::size_t cut = before.size() - after.size();
  const auto [front, back] = commonByteEnds(before, after);
  // The cut run [start, start + cut) must lie within what the common ends leave open.
  const std::size_t lowest = back >= after.size() ? 0 : after.size() - back;
  for (const RawLine& line : splitLines(before).lines) {
    const auto start = static_cast<std::size_t>(line.content.data() - before.data());
    if (start >= lowest && start <= front && line.content.size() + line.end.size() == cut)
      return true;
  }
  return false;
}

bool removesOneRun(std::string_view before, std::string_view after) {
  if (after.size() >= before.size()) return false;
  const auto [front, back] = commonByteEnds(before, after);
  return front + back >= after.size();
}

}  // namespace drovik::fuzz
