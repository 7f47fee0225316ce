#include "model/store_paths.h"

#include <unistd.h>

#include <cstdlib>
#include <system_error>

namespace drovik {

namespace fs = std::filesystem;

StorePaths StorePaths::inDirectory(const fs::path& dir) {
  return {dir, dir / "R_MAIN.INI", dir / "RSETTING.INI"};
}

fs::path StorePaths::lockFolder() const {
  return indexFile.has_parent_path() ? indexFile.parent_path() : fs::path(".");
}

namespace {

fs::path userDataDirectory() {
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg && fs::path(xdg).is_absolute())
    return fs::path(xdg) / "drovik";
  const char* home = std::getenv("HOME");
  return fs::path(home && *home ? home : "/tmp") / ".local" / "share" / "drovik";
}

}  // namespace

Result<fs::path> defaultProgramDirectory() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) {
    const fs::path dir = exe.parent_path();
    if (::access(dir.c_str(), W_OK) == 0) return dir;
  }
  const fs::path dir = userDataDirectory();
  fs::create_directories(dir, ec);
  if (ec)
    return Error{"データフォルダを作成できません: " + dir.string() + "（" + ec.message() + "）"};
  return dir;
}

}  // namespace drovik
