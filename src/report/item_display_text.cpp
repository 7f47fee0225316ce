#include "report/item_display_text.h"

namespace drovik {

namespace cat = catalogue;

std::string ItemDisplayText(const DisplayTexts& texts, int user, cat::ItemRef ref) {
  switch (ref.scope) {
    case cat::Scope::Paper:
      return texts.paper[user][ref.index];
    case cat::Scope::Common:
      return texts.common[user][ref.index];
    case cat::Scope::Interface:
      break;
  }
  if (cat::item(ref).kind != cat::ValueKind::Octet)
    return texts.iface[cat::interfaceKeyIndex(ref.index, -1)];
  std::string address;
  for (int octet = 0; octet < 4; ++octet) {
    if (octet > 0) address += '.';
    address += texts.iface[cat::interfaceKeyIndex(ref.index, octet)];
  }
  return address;
}

}  // namespace drovik
