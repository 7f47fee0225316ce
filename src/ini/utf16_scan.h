// Word-at-a-time passes over UTF-16LE text: the search for ASCII units and the copy of ASCII
// runs. Kept apart from the INI reader and the codecs so that the fuzz build traces none of
// their comparisons: they test whole words against fixed masks, which gives mutation no hint,
// and tracing them cost more than the passes themselves.
#pragma once

#include <cstddef>

namespace drovik::ini {

// Skips, from the unit `from` of the `count` UTF-16LE units at `data`, the words of four
// units none of which is `a` or `b`. Returns the first unit of the word that may hold one,
// or of the last units that make no whole word; the caller looks at those unit by unit.
std::size_t skipUtf16WordsWithout(const char* data, std::size_t from, std::size_t count, char a,
                                  char b);

// Copies the leading ASCII units of the `count` UTF-16LE units at `in` to `out`, one byte
// each; returns how many there were.
std::size_t narrowAsciiUtf16(const char* in, std::size_t count, char* out);

}  // namespace drovik::ini
