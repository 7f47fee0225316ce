#include "transport/script_words.h"

namespace drovik::transport {

std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

std::vector<std::string> splitWords(std::string_view line) {
  std::vector<std::string> result;
  std::size_t i = 0;
  const auto blank = [&line](std::size_t at) { return line[at] == ' ' || line[at] == '\t'; };
  while (i < line.size()) {
    while (i < line.size() && blank(i)) ++i;
    if (i == line.size()) break;
    std::string word;
    bool quoted = false;
    for (; i < line.size() && (quoted || !blank(i)); ++i) {
      if (line[i] == '"')
        quoted = !quoted;
      else
        word += line[i];
    }
    result.push_back(std::move(word));
  }
  return result;
}

std::string asciiLowercase(std::string_view word) {
  std::string lower(word);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

}  // namespace drovik::transport
