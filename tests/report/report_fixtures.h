// Inputs and expected texts for the settings list tests. The expected layouts are golden
// files (tests/data/report), transcribed from the report's description, not from the code.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "command/display_texts.h"
#include "model/profile.h"

namespace drovik::report_test {

// Text shown for (1-based user, item name); interface items use their key names.
using TextOf = std::function<std::string(int user, std::string_view item)>;

// "U3.FormLenFront": tells every item and user apart, so a misplaced text shows up.
std::string markerText(int user, std::string_view item);
DisplayTexts markerTexts();

// The old-model texts of a default profile.
std::string ghjkDefaultText(int user, std::string_view item);
DisplayTexts ghjkDefaultTexts();
// The M texts of a default profile.
std::string mDefaultText(int user, std::string_view item);

CheckFlagSet noFlags();
void include(CheckFlagSet& flags, std::string_view key);  // fails the test on unknown keys
void includeUser(CheckFlagSet& flags, int user);          // all 67 item flags, 1-based user

std::string fullWidth(int n);  // 1..10

// Old-model layout pieces.
std::string ghjkUserSettingsBlock(const TextOf& text);  // every flag of the block set
std::string ghjkUserBlock(int user, const TextOf& text);
std::string ghjkInterfaceBlock(const TextOf& text);

// M layout with every one of the 44 flags of the reported user set.
std::string mFullReport(int user, const TextOf& text);
inline constexpr std::string_view kMHeadings = "8630-Mモデルへの移行設定\r\n【装置機能設定】\r\n";

}  // namespace drovik::report_test
