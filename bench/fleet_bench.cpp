// drovik-cli fleet as whole processes: 40 rows against printer simulators on loopback, four
// at a time, every step real (fetch, register, migrate, build, FTP send to 40 new printers
// served by four simulator processes). A data folder holds
// 20 profiles, two per row, so the 40 rows are four plans of ten, each with its own folder.
#include <benchmark/benchmark.h>
#include <sys/stat.h>

#include <memory>

#include "bench_fixture.h"
#include "bench_targets.h"
#include "peers/printer_simulator.h"
#include "support/temp_dir.h"
#include "transport/ipv4_address.h"

namespace {

using namespace drovik;

constexpr int kPlans = 4;
constexpr int kRowsPerPlan = 10;
constexpr int kRows = kPlans * kRowsPerPlan;
// Old printers, and processes serving the new ones: a new printer takes one row only.
constexpr int kPrinters = 4;

struct Printers {
  std::vector<std::unique_ptr<test::PrinterSimulator>> old, replacements;
  std::string problem;
};

const Printers& printers() {
  static const Printers running = [] {
    Printers started;
    auto start = [&](std::vector<std::unique_ptr<test::PrinterSimulator>>& into,
                     const std::string& password, int moreAddresses) {
      test::PrinterSimulatorOptions options;
      options.password = password;
      options.moreAddresses = moreAddresses;
      into.push_back(std::make_unique<test::PrinterSimulator>(options));
      if (started.problem.empty()) started.problem = into.back()->problem();
    };
    for (int i = 0; i < kPrinters; ++i) {
      start(started.old, "pw", 0);
      start(started.replacements, "", kRows / kPrinters - 1);
    }
    return started;
  }();
  return running;
}

void BM_FleetFortyRows(benchmark::State& state) {
  const Printers& peers = printers();
  if (!peers.problem.empty()) return state.SkipWithError(peers.problem.c_str());
  test::TempDir dir;
  test::writeFile(dir / "password", "pw\n");
  ::chmod((dir / "password").c_str(), 0600);
  for (int plan = 0; plan < kPlans; ++plan) {
    std::string rows;
    for (int row = 0; row < kRowsPerPlan; ++row) {
      const int index = plan * kRowsPerPlan + row;
      const test::PrinterSimulator& replacement = *peers.replacements[index % kPrinters];
      const int more = index / kPrinters;
      const Ipv4Octets target =
          more == 0 ? replacement.address() : replacement.moreAddresses()[more - 1];
      rows += "拠点" + std::to_string(index) + "," +
              transport::dottedOctets(peers.old[index % kPrinters]->address()) +
              ",ftp:" + transport::dottedOctets(target) + "\n";
    }
    test::writeFile(dir / ("plan" + std::to_string(plan) + ".csv"), rows);
  }
  for (auto _ : state) {
    state.PauseTiming();
    for (int plan = 0; plan < kPlans; ++plan) {
      const std::string name = std::to_string(plan);
      std::filesystem::remove_all(dir / ("data" + name));
      std::filesystem::remove(dir / ("plan" + name + ".result.json"));
      std::filesystem::create_directory(dir / ("data" + name));
    }
    state.ResumeTiming();
    for (int plan = 0; plan < kPlans; ++plan) {
      const std::string name = std::to_string(plan);
      if (bench::runQuietly({DROVIK_CLI_PATH, "--data-dir", (dir / ("data" + name)).string(),
                             "fleet", (dir / ("plan" + name + ".csv")).string(), "--jobs", "4",
                             "--password-file", (dir / "password").string()}) != 0)
        state.SkipWithError("a row of the fleet run failed");
    }
  }
}
BENCHMARK(BM_FleetFortyRows)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

const bench::RegisterTarget kFleetTarget{{"drovik-cli fleet, 40 rows, 4 at a time (wall)",
                                          "BM_FleetFortyRows/iterations:5/real_time", 3000.0, "",
                                          0}};

}  // namespace
