// drovik-cli diff as a whole process, on two complete GHJK profiles that differ in most values.
#include <benchmark/benchmark.h>

#include "bench_fixture.h"
#include "bench_targets.h"

namespace {

using namespace drovik;

void BM_CliDiffProcess(benchmark::State& state) {
  const auto& fixture = bench::twentyProfiles();
  const std::string dir = fixture.store.paths().programDir.string();
  for (auto _ : state)
    if (bench::runQuietly({DROVIK_CLI_PATH, "--data-dir", dir, "diff", fixture.sectionName(0),
                           fixture.sectionName(1)}) != 1)
      state.SkipWithError("drovik-cli diff did not report differences");
}
BENCHMARK(BM_CliDiffProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

const bench::RegisterTarget kDiffTarget{
    {"drovik-cli diff, two full GHJK profiles, whole process (wall)", "BM_CliDiffProcess/real_time",
     20.0, "", 0}};

}  // namespace
