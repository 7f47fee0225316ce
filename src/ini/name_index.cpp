#include "ini/name_index.h"

#include <cstdint>
#include <cstring>

namespace drovik::ini {
namespace {

unsigned foldAscii(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 'A' && byte <= 'Z' ? byte + ('a' - 'A') : byte;
}

// Lower-cases the ASCII capitals among eight bytes at once; other bytes are left alone.
std::uint64_t foldAsciiWord(std::uint64_t word) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
  constexpr std::uint64_t kHigh = 0x8080808080808080ULL;
  const std::uint64_t low7 = word & ~kHigh;
  const std::uint64_t aboveZ = low7 + (0x7F - 'Z') * kOnes;
  const std::uint64_t atLeastA = low7 + (0x80 - 'A') * kOnes;
  const std::uint64_t upper = (atLeastA ^ aboveZ) & ~word & kHigh;
  return word | (upper >> 2);
}

// At most half full: a load looks up every key of the catalogue, and a section that lacks many
// of them (an older program's, a damaged one) makes most lookups misses, whose probe runs
// to a free place: some 2.5 places at half load, 8.5 at three quarters.
std::size_t capacityFor(std::size_t count) {
  std::size_t capacity = 16;
  while (capacity < count * 2) capacity *= 2;
  return capacity;
}

}  // namespace

std::size_t NameHash::operator()(std::string_view name) const {
  // Eight bytes per step: lookups hash every name they are given.
  const auto mix = [](std::uint64_t hash, std::uint64_t word) {
    hash = (hash ^ foldAsciiWord(word)) * 0x9E3779B97F4A7C15ULL;
    return hash ^ (hash >> 29);
  };
  std::uint64_t hash = name.size();
  std::size_t pos = 0;
  for (; pos + 8 <= name.size(); pos += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, name.data() + pos, sizeof word);
    hash = mix(hash, word);
  }
  if (pos < name.size()) {
    std::uint64_t word = 0;
    for (std::size_t i = pos; i < name.size(); ++i) {
      word |= std::uint64_t{static_cast<unsigned char>(name[i])} << (8 * (i - pos));
    }
    hash = mix(hash, word);
  }
  return static_cast<std::size_t>(hash);
}

bool NameEqual::operator()(std::string_view a, std::string_view b) const {
  if (a.size() != b.size()) return false;
  if (a == b) return true;  // names are usually spelled the same way
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (foldAscii(a[i]) != foldAscii(b[i])) return false;
  }
  return true;
}

void NameIndex::reserve(std::size_t count) {
  if (capacityFor(count) > entries_.size()) rehash(capacityFor(count));
}

void NameIndex::tryEmplace(std::string_view name, std::size_t position) {
  if (name.empty()) return;
  reserve(size_ + 1);
  Entry& entry = entries_[placeOf(name)];
  if (!entry.name.empty()) return;
  entry = {name, position};
  ++size_;
}

std::optional<std::size_t> NameIndex::find(std::string_view name) const {
  if (entries_.empty()) return std::nullopt;
  const Entry& entry = entries_[placeOf(name)];
  if (entry.name.empty()) return std::nullopt;
  return entry.position;
}

void NameIndex::erase(std::string_view name) {
  if (entries_.empty()) return;
  std::size_t hole = placeOf(name);
  if (entries_[hole].name.empty()) return;
  entries_[hole] = {};
  --size_;
  // Moves back each later entry of the run whose probe from its home would now stop at the hole.
  for (std::size_t i = next(hole); !entries_[i].name.empty(); i = next(i)) {
    const std::size_t wanted = home(entries_[i].name);
    const bool stillReached =
        hole < i ? (wanted > hole && wanted <= i) : (wanted > hole || wanted <= i);
    if (stillReached) continue;
    entries_[hole] = entries_[i];
    entries_[i] = {};
    hole = i;
  }
}

std::size_t NameIndex::placeOf(std::string_view name) const {
  std::size_t i = home(name);
  while (!entries_[i].name.empty() && !NameEqual{}(entries_[i].name, name)) i = next(i);
  return i;
}

void NameIndex::rehash(std::size_t capacity) {
  std::vector<Entry> old(capacity);
  old.swap(entries_);
  for (const Entry& entry : old)
    if (!entry.name.empty()) entries_[placeOf(entry.name)] = entry;
}

}  // namespace drovik::ini
