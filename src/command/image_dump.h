// A readable listing of a command binary (a saved .sib file, say) for administrators who
// check it before sending: the header, every record with the setting it carries and its
// value, and everything that is wrong with a damaged file.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace drovik {

struct ImageInspection {
  std::string listing;      // UTF-8, "\n" between lines
  bool wellFormed = false;  // no problem found: safe to send as it is
};

ImageInspection InspectCommandImage(std::span<const std::uint8_t> bytes);

// Whether the binary has no problem at all (for an exit status).
bool IsWellFormedCommandImage(std::span<const std::uint8_t> bytes);

}  // namespace drovik
