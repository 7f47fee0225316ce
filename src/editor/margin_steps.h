// One spinner step of a top-margin box and of the interface switch-time box. The printer
// moves the margin in 1/60 inch, so a step of the box is 0.4, 0.5 or 0.6 mm depending on
// where the value sits on that grid; the tables of those values decide.
#pragma once

#include <string>
#include <string_view>

namespace drovik::editor {

// The number a box shows: its leading numeric part, 0 when there is none.
double leadingNumber(std::string_view text);

// The margin text one step up or down from `text`, with one decimal ("8.5" -> "8.9").
// Past the ends it wraps: above 254 to -25.4, below -25.4 to 254.
std::string stepMargin(std::string_view text, bool up);

// The switch-time text one second up or down, stopping at 5 and 255.
std::string stepSeconds(std::string_view text, bool up);

}  // namespace drovik::editor
