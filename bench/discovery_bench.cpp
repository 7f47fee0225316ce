// drovik-cli discover over a /24 of loopback addresses as a site's network looks to it: 20
// printers (old models and 8630-M), a few hosts that take the connection and never answer,
// and the rest closed. Swept with the defaults against the same sweep one address at a time,
// with the sweep's peak memory.
#include <benchmark/benchmark.h>

#include "bench_fixture.h"
#include "bench_targets.h"
#include "peers/loopback_listener.h"
#include "peers/printer_simulator.h"

namespace drovik {
namespace {

constexpr int kPrinters = 20;
constexpr int kSilent = 4;
constexpr double kPeakMemoryLimitMb = 50;
constexpr const char* kBlock = "127.1.50.0/24";

struct Site {
  std::unique_ptr<test::PrinterSimulator> oldPrinters;
  std::unique_ptr<test::PrinterSimulator> newPrinters;
  std::vector<std::unique_ptr<test::LoopbackListener>> silent;
  std::string problem;
};

const Site& site() {
  static const Site built = [] {
    Site site;
    test::PrinterSimulatorOptions old;
    test::PrinterSimulatorOptions fresh;
    fresh.greeting = "8630-M FTP server ready.";
    for (int i = 0; i < kPrinters; ++i)
      (i % 2 ? old : fresh).fixedAddresses.push_back({127, 1, 50, 10 + i * 11});
    site.oldPrinters = std::make_unique<test::PrinterSimulator>(old);
    site.newPrinters = std::make_unique<test::PrinterSimulator>(fresh);
    site.problem = site.oldPrinters->problem() + site.newPrinters->problem();
    for (int i = 0; i < kSilent; ++i) {
      site.silent.push_back(
          std::make_unique<test::LoopbackListener>(Ipv4Octets{127, 1, 50, 240 + i}, 21));
      if (!site.silent.back()->listening()) site.problem = "a silent host cannot listen on port 21";
    }
    return site;
  }();
  return built;
}

void sweepBlock(benchmark::State& state, std::vector<std::string> options) {
  if (!site().problem.empty()) return state.SkipWithError(site().problem.c_str());
  std::vector<std::string> args{DROVIK_CLI_PATH, "discover", kBlock};
  args.insert(args.end(), options.begin(), options.end());
  long peakKb = 0;
  for (auto _ : state) {
    const bench::Measured run = bench::runMeasured(args);
    if (run.exitCode != 0) return state.SkipWithError("drovik-cli discover failed");
    peakKb = std::max(peakKb, run.peakKb);
  }
  const double peakMb = static_cast<double>(peakKb) / 1024.0;
  state.counters["peak_MB"] = peakMb;
  if (peakMb > kPeakMemoryLimitMb)
    state.SkipWithError("drovik-cli discover used more than 50 MB of memory");
}

void BM_DiscoverBlock(benchmark::State& state) { sweepBlock(state, {}); }
BENCHMARK(BM_DiscoverBlock)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The peer: the same sweep asking one address at a time.
void BM_DiscoverBlockOneAtATime(benchmark::State& state) {
  sweepBlock(state, {"--jobs", "1", "--rate", "10000"});
}
BENCHMARK(BM_DiscoverBlockOneAtATime)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

const bench::RegisterTarget kDiscoverTarget{
    {"drovik-cli discover, a /24 with 20 printers and 4 silent hosts (wall)",
     "BM_DiscoverBlock/iterations:3/real_time", 5000.0,
     "BM_DiscoverBlockOneAtATime/iterations:1/real_time", 0.5}};

}  // namespace
}  // namespace drovik
