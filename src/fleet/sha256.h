// SHA-256 of what was sent, so that an administrator can check a printer received it.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace drovik::fleet {

// Lower-case hexadecimal, 64 digits.
std::string sha256Hex(std::span<const std::uint8_t> bytes);

}  // namespace drovik::fleet
