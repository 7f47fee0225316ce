// drovik-cli fleet as whole processes against printer simulators on loopback, every step real
// (fetch, register, migrate, build, FTP send), each old and each new printer on an address of
// its own, several printers per simulator process:
// - 200 rows, 16 at a time, each row's profiles in its folder of the plan's archive; with the
//   peak memory of the drovik-cli process, and the fixed waits the original design spends on
//   the same work (a one-second wait before judging the log of each FTP run: the fetch and the
//   send of every row, one printer at a time).
// - 40 rows, four at a time, registered in the data folder (--register): as a data folder holds
//   20 profiles, two per row, the rows are four plans of ten, each with its own folder.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <memory>

#include "bench_fixture.h"
#include "bench_targets.h"
#include "peers/printer_simulator.h"
#include "support/temp_dir.h"
#include "transport/ipv4_address.h"

namespace {

using namespace drovik;

constexpr int kRows = 200;
constexpr int kJobs = 16;
constexpr double kPeakMemoryLimitMb = 150;
// Of the original design: each FTP run waits 1000 ms before its log is judged.
constexpr double kOriginalWaitPerFtpRunS = 1.0;
constexpr int kFtpRunsPerRow = 2;  // the fetch and the send

constexpr int kRegisteredPlans = 4;
constexpr int kRowsPerRegisteredPlan = 10;

// Simulator processes per side, each serving kRows / kProcesses printers.
constexpr int kProcesses = 8;

struct Printers {
  std::vector<std::unique_ptr<test::PrinterSimulator>> processes;
  std::vector<Ipv4Octets> old, replacements;  // kRows of each
  std::string problem;
};

const Printers& printers() {
  static const Printers running = [] {
    Printers started;
    auto start = [&](std::vector<Ipv4Octets>& into, const std::string& password) {
      test::PrinterSimulatorOptions options;
      options.password = password;
      options.moreAddresses = kRows / kProcesses - 1;
      auto& simulator =
          started.processes.emplace_back(std::make_unique<test::PrinterSimulator>(options));
      if (started.problem.empty()) started.problem = simulator->problem();
      into.push_back(simulator->address());
      into.insert(into.end(), simulator->moreAddresses().begin(), simulator->moreAddresses().end());
    };
    for (int i = 0; i < kProcesses; ++i) {
      start(started.old, "pw");
      start(started.replacements, "");
    }
    return started;
  }();
  return running;
}

std::string planRows(const Printers& peers, int first, int count) {
  std::string rows;
  for (int index = first; index < first + count; ++index)
    rows += "拠点" + std::to_string(index) + "," + transport::dottedOctets(peers.old[index]) +
            ",ftp:" + transport::dottedOctets(peers.replacements[index]) + "\n";
  return rows;
}

std::filesystem::path passwordFile(const test::TempDir& dir) {
  test::writeFile(dir / "password", "pw\n");
  ::chmod((dir / "password").c_str(), 0600);
  return dir / "password";
}

void BM_FleetTwoHundredRows(benchmark::State& state) {
  const Printers& peers = printers();
  if (!peers.problem.empty()) return state.SkipWithError(peers.problem.c_str());
  test::TempDir dir;
  const auto password = passwordFile(dir);
  const auto plan = dir / "plan.csv";
  test::writeFile(plan, planRows(peers, 0, kRows));
  long peakKb = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove_all(dir / "plan.archive");
    std::filesystem::remove(dir / "plan.result.json");
    state.ResumeTiming();
    const bench::Measured run =
        bench::runMeasured({DROVIK_CLI_PATH, "fleet", plan.string(), "--jobs",
                            std::to_string(kJobs), "--password-file", password.string()});
    if (run.exitCode != 0) return state.SkipWithError("a row of the fleet run failed");
    peakKb = std::max(peakKb, run.peakKb);
  }
  const double peakMb = static_cast<double>(peakKb) / 1024.0;
  state.counters["peak_MB"] = peakMb;
  state.counters["original_fixed_waits_s"] = kRows * kFtpRunsPerRow * kOriginalWaitPerFtpRunS;
  if (peakMb > kPeakMemoryLimitMb)
    state.SkipWithError("drovik-cli fleet used more than 150 MB of memory");
}
BENCHMARK(BM_FleetTwoHundredRows)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_FleetFortyRowsRegistered(benchmark::State& state) {
  const Printers& peers = printers();
  if (!peers.problem.empty()) return state.SkipWithError(peers.problem.c_str());
  test::TempDir dir;
  const auto password = passwordFile(dir);
  for (int plan = 0; plan < kRegisteredPlans; ++plan)
    test::writeFile(dir / ("plan" + std::to_string(plan) + ".csv"),
                    planRows(peers, plan * kRowsPerRegisteredPlan, kRowsPerRegisteredPlan));
  for (auto _ : state) {
    state.PauseTiming();
    for (int plan = 0; plan < kRegisteredPlans; ++plan) {
      const std::string name = std::to_string(plan);
      std::filesystem::remove_all(dir / ("data" + name));
      std::filesystem::remove(dir / ("plan" + name + ".result.json"));
      std::filesystem::create_directory(dir / ("data" + name));
    }
    state.ResumeTiming();
    for (int plan = 0; plan < kRegisteredPlans; ++plan) {
      const std::string name = std::to_string(plan);
      if (bench::runQuietly({DROVIK_CLI_PATH, "--data-dir", (dir / ("data" + name)).string(),
                             "fleet", (dir / ("plan" + name + ".csv")).string(), "--register",
                             "--jobs", "4", "--password-file", password.string()}) != 0)
        state.SkipWithError("a row of the fleet run failed");
    }
  }
}
BENCHMARK(BM_FleetFortyRowsRegistered)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

const bench::RegisterTarget kTwoHundredTarget{{"drovik-cli fleet, 200 rows, 16 at a time (wall)",
                                               "BM_FleetTwoHundredRows/iterations:3/real_time",
                                               10000.0, "", 0}};
const bench::RegisterTarget kRegisteredTarget{{"drovik-cli fleet --register, 40 rows, 4 at a time",
                                               "BM_FleetFortyRowsRegistered/iterations:5/real_time",
                                               3000.0, "", 0}};

}  // namespace
