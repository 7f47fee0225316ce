// Readable text of every value of a profile, as the value codes produce it and the
// settings list shows it.
#pragma once

#include <array>
#include <string>

#include "model/catalogue.h"

namespace drovik {

struct DisplayTexts {
  std::string selectUser;
  std::array<std::string, catalogue::kUserCount> userName;
  std::array<std::array<std::string, catalogue::kPaperItemCount>, catalogue::kUserCount> paper;
  std::array<std::array<std::string, catalogue::kCommonItemCount>, catalogue::kUserCount>
      common;                                                    // catalogue order
  std::array<std::string, catalogue::kInterfaceKeyCount> iface;  // in interfaceKeys() order
};

}  // namespace drovik
