// SHA-256 of a command that was delivered, so that an administrator can check what a printer
// received.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace drovik::history {

// Lower-case hexadecimal, 64 digits.
std::string sha256Hex(std::span<const std::uint8_t> bytes);

}  // namespace drovik::history
