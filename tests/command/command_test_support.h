// Profiles, include-flag sets and byte helpers shared by the command tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "command/command_image.h"
#include "command/value_codes.h"
#include "model/catalogue.h"
#include "model/profile.h"

namespace drovik::command_test {

namespace cat = catalogue;
using Bytes = std::vector<std::uint8_t>;

// "1B 7E 12" -> bytes.
inline Bytes hex(std::string_view text) {
  Bytes out;
  std::istringstream in{std::string(text)};
  std::string byte;
  while (in >> byte) out.push_back(static_cast<std::uint8_t>(std::stoi(byte, nullptr, 16)));
  return out;
}

inline void append(Bytes& out, std::initializer_list<std::uint8_t> bytes) {
  out.insert(out.end(), bytes.begin(), bytes.end());
}

inline CheckFlagSet noneIncluded() {
  CheckFlagSet flags;
  flags.state.fill(0);
  return flags;
}

// Only the named nodes included.
inline CheckFlagSet onlyIncluded(std::initializer_list<std::string_view> keys) {
  CheckFlagSet flags = noneIncluded();
  for (std::string_view key : keys) {
    const int node = cat::checkNodeIndex(key);
    EXPECT_GE(node, 0) << key;
    if (node >= 0) flags.state[node] = 1;
  }
  return flags;
}

inline int paperItem(std::string_view name) {
  const auto ref = cat::findItem(name);
  EXPECT_TRUE(ref && ref->scope == cat::Scope::Paper) << "no paper item " << name;
  return ref ? ref->index : 0;
}

inline int commonItem(std::string_view name) {
  const auto ref = cat::findItem(name);
  EXPECT_TRUE(ref && ref->scope == cat::Scope::Common) << "no common item " << name;
  return ref ? ref->index : 0;
}

// Codes the profile and builds its image, checking that the length field agrees with the
// length the value codes computed.
inline Bytes buildImage(const SettingProfile& profile, const CheckFlagSet& flags,
                        CommandVariant variant) {
  auto codes = ApplyValueCodes(profile, flags, variant);
  EXPECT_TRUE(codes.isOk()) << (codes.isOk() ? "" : codes.message());
  if (!codes.isOk()) return {};
  Bytes image = BuildCommandImage(*codes, flags, profile.selectUser, variant).bytes;
  EXPECT_GE(image.size(), 11u);
  if (image.size() >= 11) {
    EXPECT_EQ(image[9] << 8 | image[10], codes->length);
    EXPECT_EQ(image.size(), 11u + codes->length);
  }
  return image;
}

}  // namespace drovik::command_test
