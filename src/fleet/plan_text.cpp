#include "fleet/plan_text.h"

#include <vector>

#include "ini/text_codec.h"

namespace drovik::fleet {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

std::vector<std::string_view> linesOf(std::string_view text) {
  std::vector<std::string_view> lines;
  while (true) {
    const std::size_t end = text.find('\n');
    lines.push_back(text.substr(0, end));
    if (end == std::string_view::npos) return lines;
    text.remove_prefix(end + 1);
  }
}

// Code page 932 has no character that decodes to U+FFFD: the lossy decoder's U+FFFD marks a
// byte that is not code page 932.
bool decodesAsCp932(std::string_view line) {
  return ini::cp932ToUtf8Lossy(line).find(kReplacement) == std::string::npos;
}

Error badLines(const std::vector<std::string_view>& lines, bool (*fits)(std::string_view),
               const std::string& why) {
  std::string message;
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (!fits(lines[i])) message += "計画の" + std::to_string(i + 1) + "行目: " + why + "\n";
  message.pop_back();
  return Error{message};
}

}  // namespace

Result<std::string> planTextAsUtf8(std::string_view bytes) {
  const bool marked = bytes.starts_with(kByteOrderMark);
  if (marked) bytes.remove_prefix(kByteOrderMark.size());
  if (ini::isValidUtf8(bytes)) return std::string(bytes);

  const std::vector<std::string_view> lines = linesOf(bytes);
  bool otherLinesUtf8 = marked;
  for (std::string_view line : lines)
    if (!ini::isAscii(line) && ini::isValidUtf8(line)) otherLinesUtf8 = true;
  if (otherLinesUtf8)
    return badLines(lines, ini::isValidUtf8,
                    "UTF-8 として読めない文字があります（ほかの行は UTF-8 で書かれています）");
  for (std::string_view line : lines)
    if (!decodesAsCp932(line))
      return badLines(lines, decodesAsCp932,
                      "UTF-8 としても Shift-JIS（CP932）としても読めない文字があります");
  return ini::cp932ToUtf8Lossy(bytes);
}

}  // namespace drovik::fleet
