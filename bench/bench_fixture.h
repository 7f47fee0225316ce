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

// Runs a program (argv[0] a path) with its standard output on /dev/null and waits for it:
// its exit status, or -1 when it could not start or did not end by itself.
int runQuietly(std::vector<std::string> args);

struct Measured {
  int exitCode = -1;  // -1: it did not start or did not exit by itself
  long peakKb = 0;    // its peak resident memory
};
// Runs a program (argv[0] a path) with its output on /dev/null and waits for it.
Measured runMeasured(const std::vector<std::string>& args);

}  // namespace drovik::bench
