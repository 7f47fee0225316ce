#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>

namespace drovik::fuzz {

void fail(const char* condition, const char* file, int line, std::string_view detail) {
  std::fprintf(stderr, "%s:%d: check failed: %s\n  %.*s\n", file, line, condition,
               static_cast<int>(detail.size()), detail.data());
  std::abort();
}

}  // namespace drovik::fuzz
