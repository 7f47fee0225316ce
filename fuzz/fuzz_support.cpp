#include "fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <system_error>

namespace drovik::fuzz {

void fail(const char* condition, const char* file, int line, std::string_view detail) {
  std::fprintf(stderr, "%s:%d: check failed: %s\n  %.*s\n", file, line, condition,
               static_cast<int>(detail.size()), detail.data());
  std::abort();
}

const std::filesystem::path& scratchDirectory() {
  static const std::filesystem::path dir = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "drovik-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) fail("mkdtemp", __FILE__, __LINE__, pattern);
    return std::filesystem::path(pattern);
  }();
  // Removed at a normal exit; a crashed run leaves it for a look.
  static const struct Cleanup {
    ~Cleanup() {
      std::error_code ignored;
      std::filesystem::remove_all(dir, ignored);
    }
  } cleanup;
  return dir;
}

void writeBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) fail("write", __FILE__, __LINE__, path.string());
}

}  // namespace drovik::fuzz
