// Settings files no program of ours would write, each split around the profile a test loads
// and saves: huge ones, odd bytes, odd names, odd encodings. Built at run time.
#pragma once

#include <functional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "model/profile_store.h"

namespace drovik::hostile {

// The settings file as three parts: the profile's section (empty when absent) and what
// lies before and after it, which a save of the profile must leave alone.
struct IniLayout {
  std::string before;
  std::string section;
  std::string after;
  std::string index;    // R_MAIN.INI
  std::string profile;  // UTF-8 name of the profile loaded and saved
  // Bytes of the section that are not profile keys and must survive its save.
  std::vector<std::string> keptInSection;
  bool nameRefused = false;  // the name cannot be written: every save is refused
  // The loaded values hold text no key can be written with (NUL, undecodable bytes), so
  // saving them back is refused.
  bool loadedValuesUnwritable = false;
  std::function<void(const ProfileStore&)> check;  // what this file must read as
};

struct IniCase {
  const char* name;
  IniLayout (*build)();
};

std::span<const IniCase> hostileIniCases();

// Names the case in failure messages instead of dumping its bytes.
inline void PrintTo(const IniCase& c, std::ostream* os) { *os << c.name; }

}  // namespace drovik::hostile
