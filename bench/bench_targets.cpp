#include "bench_targets.h"

namespace drovik::bench {

std::vector<Target>& targets() {
  static std::vector<Target> all;
  return all;
}

}  // namespace drovik::bench
