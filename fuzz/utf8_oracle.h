// The targets' own test of text the program writes (listings, messages). It is compiled
// without comparison tracing: the product's UTF-8 check reads outside input elsewhere and is
// traced, and tracing each byte of a long listing cost a third of a run while it only compares
// the program's own output with fixed values.
#pragma once

#include <string_view>

namespace drovik::fuzz {

// Whether the text is well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool isWellFormedUtf8(std::string_view text);

}  // namespace drovik::fuzz
