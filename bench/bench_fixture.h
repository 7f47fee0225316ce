// Realistic data shared by the benchmarks.
#pragma once

#include <string>
#include <vector>

#include "model/profile_store.h"

namespace drovik::bench {

struct TwentyProfiles {
  std::filesystem::path dir;
  ProfileStore store;
  ProfileSlotTable slots;
  std::string sectionName(int slot) const { return slots[slot].name; }
};

// A data directory whose RSETTING.INI holds 20 complete profiles with varied values
// and Japanese names; built once per run.
const TwentyProfiles& twentyProfiles();

// The 1461 keys of a complete profile.
const std::vector<std::string>& profileKeys();

}  // namespace drovik::bench
