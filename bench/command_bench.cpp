// Command generation and NVRAM decoding: in process, and drovik-cli as a whole process.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench_fixture.h"
#include "bench_targets.h"
#include "command/command_preparation.h"
#include "nvram/nvram_decoder.h"

namespace {

using namespace drovik;

// Slot 0 of the fixture includes every item: the largest GHJK image.
void BM_PrepareLargestGhjkCommand(benchmark::State& state) {
  const auto& fixture = bench::twentyProfiles();
  ProfileModel model;
  (void)fixture.store.loadSection(model, fixture.slots[0].name);
  for (auto _ : state) {
    auto prepared = prepareCommand(model, CommandVariant::Ghjk);
    if (!prepared || prepared->image.bytes.size() != 2955) state.SkipWithError("not 2955 bytes");
    benchmark::DoNotOptimize(prepared);
  }
}
BENCHMARK(BM_PrepareLargestGhjkCommand)->Unit(benchmark::kMicrosecond);

void BM_CliGenerateProcess(benchmark::State& state) {
  const auto& fixture = bench::twentyProfiles();
  const std::string dir = fixture.store.paths().programDir.string();
  const std::string out = dir + "/bench.sib";
  for (auto _ : state)
    if (bench::runQuietly({DROVIK_CLI_PATH, "--data-dir", dir, "generate", fixture.sectionName(0),
                           "-o", out}) != 0)
      state.SkipWithError("drovik-cli generate failed");
}
BENCHMARK(BM_CliGenerateProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DecodeNvramImages(benchmark::State& state) {
  std::vector<std::uint8_t> all(nvram::kAllImageReadSize);
  for (std::size_t i = 0; i < all.size(); ++i) all[i] = static_cast<std::uint8_t>(i % 3);
  all[1] = 30;
  std::vector<std::uint8_t> network(nvram::kNetworkImageReadSize, 10);
  ProfileModel model;
  for (auto _ : state) {
    auto decoded = nvram::decodeAllImage(model, all);
    if (!decoded || !nvram::decodeNetworkImage(model, network)) state.SkipWithError("refused");
    benchmark::DoNotOptimize(model.values);
  }
}
BENCHMARK(BM_DecodeNvramImages)->Unit(benchmark::kMicrosecond);

const bench::RegisterTarget kPrepareTarget{
    {"load + codes + image, every-item GHJK profile", "BM_PrepareLargestGhjkCommand", 2.0, "", 0}};
const bench::RegisterTarget kCliTarget{
    {"drovik-cli generate, whole process (wall)", "BM_CliGenerateProcess/real_time", 20.0, "", 0}};
const bench::RegisterTarget kDecodeTarget{
    {"NVRAM decode (both images)", "BM_DecodeNvramImages", 1.0, "", 0}};

}  // namespace
