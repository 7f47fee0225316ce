// Profile load and save on a realistic settings file of 20 complete profiles, with
// SimpleIni loading the same file and reading the same keys as the peer.
// The settings file is Shift-JIS; the peer reads it byte-wise like we parse it.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "bench_fixture.h"
#include "bench_targets.h"
#include "model/profile_store.h"
#include "support/store_writes.h"

namespace {

using namespace drovik;

void BM_LoadProfile(benchmark::State& state) {
  const auto& fixture = bench::twentyProfiles();
  ProfileModel model;
  for (auto _ : state) {
    if (!fixture.store.loadSection(model, fixture.slots[9].name))
      state.SkipWithError("load failed");
    benchmark::DoNotOptimize(model.values);
  }
}
BENCHMARK(BM_LoadProfile)->Unit(benchmark::kMicrosecond);

void BM_SaveProfileAllFlags(benchmark::State& state) {
  const auto& fixture = bench::twentyProfiles();
  ProfileModel model;
  (void)fixture.store.loadSection(model, fixture.slots[9].name);
  model.refreshAndSnapshotCheckFlagTexts();
  model.markAllForWriting();
  // Alternate every value between two states so that each save really changes the file.
  ProfileModel other = model;
  for (int u = 0; u < cat::kUserCount; ++u)
    for (int i = 0; i < cat::kCommonItemCount; ++i)
      other.setCommonIndex(u, i, 1 - std::min(1, model.values.common[u].index[i]));
  other.markAllForWriting();
  bool flip = false;
  for (auto _ : state) {
    if (!test::saveSection(fixture.store, flip ? other : model, fixture.slots[9].name))
      state.SkipWithError("save failed");
    flip = !flip;
  }
}
BENCHMARK(BM_SaveProfileAllFlags)->Unit(benchmark::kMicrosecond);

// The same 1461 reads through SimpleIni: load the file, then look every key up.
void BM_PeerSimpleIniLoad(benchmark::State& state) {
  const auto& fixture = bench::twentyProfiles();
  const std::string path = fixture.store.paths().settingsFile.string();
  const std::string section = fixture.sectionName(9);
  const auto& keys = bench::profileKeys();
  for (auto _ : state) {
    CSimpleIniA ini(false, false, false);
    if (ini.LoadFile(path.c_str()) < 0) state.SkipWithError("SimpleIni load failed");
    long sum = 0;
    for (const auto& key : keys) sum += ini.GetLongValue(section.c_str(), key.c_str(), 0);
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_PeerSimpleIniLoad)->Unit(benchmark::kMicrosecond);

const bench::RegisterTarget kLoadTarget{{"profile load (1461 reads, 20-profile file)",
                                         "BM_LoadProfile", 2.0, "BM_PeerSimpleIniLoad", 0.5}};
const bench::RegisterTarget kSaveTarget{
    {"profile save, every write flag set", "BM_SaveProfileAllFlags", 10.0, "", 0}};
const bench::RegisterTarget kPeerTarget{
    {"peer: SimpleIni load + 1461 reads", "BM_PeerSimpleIniLoad", 0, "", 0}};

}  // namespace
