// The speed targets the benchmarks are judged by.
#pragma once

#include <string>
#include <vector>

namespace drovik::bench {

struct Target {
  std::string label;
  std::string benchmark;   // name as Google Benchmark reports it
  double maxMilliseconds;  // 0: no absolute target
  std::string peer;        // benchmark of the peer implementation, if any
  double maxRatio;         // 0: no ratio target
};

// Each benchmark file adds its targets at start-up.
std::vector<Target>& targets();
struct RegisterTarget {
  explicit RegisterTarget(Target target) { targets().push_back(std::move(target)); }
};

}  // namespace drovik::bench
