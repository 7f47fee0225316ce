// Printer code and display text of every choice of a choice item, in both command
// variants, and the way back from a code to its choice. The choices themselves and their
// texts come from the catalogue's value lists; this adds the printer's codes and the few
// texts that the reports and the M model word differently.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "command/value_codes.h"
#include "model/catalogue.h"

namespace drovik::codes {

// Code of the stored index of a choice item; nothing when the index is outside its table.
std::optional<std::uint8_t> choiceCode(const catalogue::Item& item, std::int32_t index,
                                       CommandVariant variant);

// Display text of the stored index; empty when the index is outside its table.
std::string choiceText(const catalogue::Item& item, std::int32_t index, CommandVariant variant);
// The same text without a copy (the tables outlive every caller).
std::string_view choiceTextView(const catalogue::Item& item, std::int32_t index,
                                CommandVariant variant);

// The first stored index whose code is this code; nothing for a code outside the table.
std::optional<int> choiceOfCode(const catalogue::Item& item, std::uint8_t code,
                                CommandVariant variant);

// Number of entries in the item's code table (equal to its value list).
int choiceCount(const catalogue::Item& item);

}  // namespace drovik::codes
