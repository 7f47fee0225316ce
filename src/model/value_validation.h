// Checks of the free-text values (top margins, interface switch time, user names) and the
// address octets that the setting pages apply when they store them, usable also on values
// that did not come from a page, such as decoded NVRAM images. A refusal carries the page's
// message for the operator, prefix included.
#pragma once

#include <string_view>

#include "files/status.h"

namespace drovik {

// A top-margin text of user 0..9, margin slot 0..3 (front, rear, cut upper, cut lower):
// empty, or a text rules::marginMillimetres reads.
Status validateMarginText(int user, int marginSlot, std::string_view text);

// The interface switch time: at most 3 characters, leading digits 5 to 255.
Status validateIfChgTimeText(std::string_view text);

// Octet 0..3 of the interface address `item` (catalogue::kIpAddress ..): 0 to 255.
Status validateAddressOctet(int item, int octet, int value);

// A user name of user 0..9: at most 10 UTF-16 units of printer characters
// (rules::hasPrinterNameCharactersOnly); empty is allowed.
Status validateUserName(int user, std::string_view name);

}  // namespace drovik
