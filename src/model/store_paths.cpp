#include "model/store_paths.h"

#include <unistd.h>

#include <cstdlib>
#include <system_error>

// The configured installation's program folder (CMAKE_INSTALL_FULL_BINDIR).
#ifndef DROVIK_INSTALL_BINDIR
#define DROVIK_INSTALL_BINDIR ""
#endif

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

bool keepsFilesBeside(const fs::path& dir, const fs::path& installedPrograms) {
  if (::access(dir.c_str(), W_OK) != 0) return false;
  std::error_code ec;
  return installedPrograms.empty() || !fs::equivalent(dir, installedPrograms, ec);
}

Result<fs::path> defaultProgramDirectory() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (!ec && keepsFilesBeside(exe.parent_path(), DROVIK_INSTALL_BINDIR)) return exe.parent_path();
  const fs::path dir = userDataDirectory();
  fs::create_directories(dir, ec);
  if (ec)
    return Error{"データフォルダを作成できません: " + dir.string() + "（" + ec.message() + "）"};
  return dir;
}

}  // namespace drovik
