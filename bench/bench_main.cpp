// Runs the benchmarks, then prints each figure against its target and the ratios against
// the peer implementations measured in the same run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include "bench_targets.h"

namespace {

class CollectingReporter : public benchmark::ConsoleReporter {
 public:
  CollectingReporter() : ConsoleReporter(OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration)
        seconds[run.benchmark_name()] =
            run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> seconds;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  CollectingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  bool allMet = true;
  std::printf("\n%-44s %12s %12s %8s  %s\n", "figure", "measured", "target", "ratio", "verdict");
  for (const auto& target : drovik::bench::targets()) {
    auto it = reporter.seconds.find(target.benchmark);
    if (it == reporter.seconds.end()) continue;
    const double ms = it->second * 1e3;
    std::string ratioText = "-";
    bool met = target.maxMilliseconds <= 0 || ms <= target.maxMilliseconds;
    if (!target.peer.empty()) {
      auto peer = reporter.seconds.find(target.peer);
      if (peer != reporter.seconds.end()) {
        const double ratio = it->second / peer->second;
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.3f", ratio);
        ratioText = buf;
        if (target.maxRatio > 0 && ratio > target.maxRatio) met = false;
      }
    }
    char targetText[64];
    if (target.maxRatio > 0 && target.maxMilliseconds > 0)
      std::snprintf(targetText, sizeof targetText, "%.1f ms,<=%.2fx", target.maxMilliseconds,
                    target.maxRatio);
    else if (target.maxRatio > 0)
      std::snprintf(targetText, sizeof targetText, "<=%.2fx", target.maxRatio);
    else if (target.maxMilliseconds > 0)
      std::snprintf(targetText, sizeof targetText, "%.1f ms", target.maxMilliseconds);
    else
      std::snprintf(targetText, sizeof targetText, "(peer)");
    std::printf("%-44s %9.3f ms %12s %8s  %s\n", target.label.c_str(), ms, targetText,
                ratioText.c_str(), met ? "met" : "MISSED");
    allMet = allMet && met;
  }
  return allMet ? 0 : 1;
}
