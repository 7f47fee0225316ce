// The display text of one setting as the settings list shows it, for the reports and the
// profile comparison alike.
#pragma once

#include <string>

#include "command/display_texts.h"
#include "model/catalogue.h"

namespace drovik {

// The text of a paper-path, common or interface item of `user` (ignored for interface
// items); an address item joins its four octet texts with dots.
std::string ItemDisplayText(const DisplayTexts& texts, int user, catalogue::ItemRef ref);

}  // namespace drovik
