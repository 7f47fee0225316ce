// The history: what recording a delivery adds to an operation (the folder lock, one append and
// its fsync, the SHA-256 of a full command), and drovik-cli history --profile over 100 000
// records in two generations, as a whole process and as the read alone.
#include <benchmark/benchmark.h>

#include <fstream>
#include <vector>

#include "bench_fixture.h"
#include "bench_targets.h"
#include "history/history_file.h"
#include "history/recorder.h"
#include "support/temp_dir.h"

namespace {

using namespace drovik;

constexpr int kRecords = 100'000;
constexpr int kProfiles = 20;

std::string profileName(int i) { return "設定" + std::to_string(i % kProfiles + 1) + "_帳票"; }

void BM_HistoryRecordDelivery(benchmark::State& state) {
  const test::TempDir dir;
  const std::vector<std::uint8_t> command(2955, 0x5A);
  for (auto _ : state)
    history::record(dir.path(),
                    history::delivery(history::operation::kSend, "本社 経理部", "8630-M",
                                      "cups:8630_Keiri", command, history::kOutcomeOk));
  if (!history::takeWarnings().empty()) state.SkipWithError("a record was not written");
}
BENCHMARK(BM_HistoryRecordDelivery)->Unit(benchmark::kMicrosecond)->UseRealTime();

// 100 000 sends of 20 profiles, half in each generation.
const std::filesystem::path& largeHistory() {
  static const test::TempDir dir;
  static const bool written = [] {
    const history::HistoryFile file(dir.path());
    const std::vector<std::uint8_t> command(2955, 0x5A);
    history::Record record =
        history::delivery(history::operation::kSend, "", "8630-M", "ftp:192.168.10.21", command,
                          history::kOutcomeOk, "送信しました");
    record.time = "2024-04-01T09:30:00+09:00";
    record.user = "sato";
    record.host = "office-pc";
    record.program = "drovik 0.1.0";
    for (const auto& path : {file.previousPath(), file.path()}) {
      std::ofstream out(path, std::ios::binary);
      for (int i = 0; i < kRecords / 2; ++i) {
        record.profile = profileName(i);
        out << history::encodeLine(record);
      }
    }
    return true;
  }();
  (void)written;
  return dir.path();
}

void BM_CliHistoryProfile100k(benchmark::State& state) {
  const std::string dir = largeHistory().string();
  for (auto _ : state)
    if (bench::runQuietly(
            {DROVIK_CLI_PATH, "--data-dir", dir, "history", "--profile", profileName(7)}) != 0)
      state.SkipWithError("drovik-cli history failed");
}
BENCHMARK(BM_CliHistoryProfile100k)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_HistoryReadProfile100k(benchmark::State& state) {
  const history::HistoryFile file(largeHistory());
  history::RecordFilter filter;
  filter.profile = profileName(7);
  for (auto _ : state) {
    auto contents = file.read(filter);
    if (!contents || contents->records.size() != kRecords / kProfiles)
      state.SkipWithError("the records were not found");
    benchmark::DoNotOptimize(contents);
  }
}
BENCHMARK(BM_HistoryReadProfile100k)->Unit(benchmark::kMillisecond);

void BM_HistoryReadAll100k(benchmark::State& state) {
  const history::HistoryFile file(largeHistory());
  for (auto _ : state) benchmark::DoNotOptimize(file.read());
}
BENCHMARK(BM_HistoryReadAll100k)->Unit(benchmark::kMillisecond);

const bench::RegisterTarget kRecordTarget{{"history record of a send (lock, append, fsync) (wall)",
                                           "BM_HistoryRecordDelivery/real_time", 2.0, "", 0}};
const bench::RegisterTarget kHistoryCliTarget{
    {"drovik-cli history --profile, 100 000 records (wall)", "BM_CliHistoryProfile100k/real_time",
     300.0, "", 0}};

}  // namespace
