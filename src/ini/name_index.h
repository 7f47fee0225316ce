// Section and key names as the INI files match them (ASCII-case-insensitively), and the key
// index of one section. Kept apart from the INI reader so that the fuzz build traces no
// comparison of a hash or a probe: such hints are worthless, and tracing them cost more
// than the lookups themselves.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace drovik::ini {

struct NameHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view name) const;
};

struct NameEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const;
};

// Positions of names in one flat table (open addressing, linear probing): indexing a section
// of some 1500 keys takes one allocation instead of one per key. Names are views whose bytes
// the caller keeps alive; empty names are not indexed.
class NameIndex {
 public:
  // Room for `count` names without growing.
  void reserve(std::size_t count);
  // Adds the name unless an equal one is present: the first one wins.
  void tryEmplace(std::string_view name, std::size_t position);
  std::optional<std::size_t> find(std::string_view name) const;
  void erase(std::string_view name);
  void clear() {
    entries_.clear();
    size_ = 0;
  }

 private:
  struct Entry {
    std::string_view name;  // empty: a free place
    std::size_t position = 0;
  };

  std::size_t home(std::string_view name) const { return NameHash{}(name) & (entries_.size() - 1); }
  std::size_t next(std::size_t i) const { return (i + 1) & (entries_.size() - 1); }
  // The place holding the name, or the free place where its probe ends.
  std::size_t placeOf(std::string_view name) const;
  void rehash(std::size_t capacity);

  std::vector<Entry> entries_;  // a power of two in size, at most half used
  std::size_t size_ = 0;
};

}  // namespace drovik::ini
