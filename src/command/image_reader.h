// Splits a command binary of unknown origin into its header, records and terminator,
// noting every framing fault: short or wrong header, length field that disagrees with the
// size, a record cut off, a missing terminator, bytes after it. Never reads past the buffer.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace drovik::image {

struct RawRecord {
  std::size_t offset;
  std::span<const std::uint8_t> bytes;  // 4 bytes, 16 for a user-name record
};

struct Problem {
  std::optional<std::size_t> offset;
  std::string text;
};

struct ImageStructure {
  std::size_t size = 0;
  bool headerComplete = false;  // at least the 11 header bytes are there
  std::optional<std::uint16_t> lengthField;
  std::vector<RawRecord> records;  // between header and terminator
  std::optional<std::size_t> terminatorOffset;
  std::vector<Problem> problems;  // those with a place in file order, the others anywhere
};

// More records than any image can hold; the rest of a larger file is not listed.
inline constexpr std::size_t kMaxListedRecords = 4096;

ImageStructure ReadImageStructure(std::span<const std::uint8_t> bytes);

// "1B 7E 4B"
std::string hexBytes(std::span<const std::uint8_t> bytes);
void appendHexBytes(std::string& out, std::span<const std::uint8_t> bytes);

}  // namespace drovik::image
