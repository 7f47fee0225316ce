// Lines and words of the batch files and FTP scripts the program generates, and the lines of
// what an FTP server answers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace drovik::transport {

// Lines without their CR LF or LF; no empty last line for a text that ends with a line end.
std::vector<std::string_view> splitLines(std::string_view text);

// Words separated by blanks; double quotes keep blanks inside one word and are dropped.
std::vector<std::string> splitWords(std::string_view line);

// ASCII letters in lower case, for the case-insensitive command words.
std::string asciiLowercase(std::string_view word);

}  // namespace drovik::transport
