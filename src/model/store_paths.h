// Where the two profile files and the generated transport files live.
#pragma once

#include <filesystem>

#include "files/status.h"

namespace drovik {

struct StorePaths {
  std::filesystem::path programDir;    // also receives the generated transport files
  std::filesystem::path indexFile;     // R_MAIN.INI
  std::filesystem::path settingsFile;  // RSETTING.INI

  static StorePaths inDirectory(const std::filesystem::path& dir);
  // Where the write lock of the two profile files lives: the folder of the index file.
  std::filesystem::path lockFolder() const;
};

// The directory of the running executable when it keeps its files beside itself (a program
// unpacked into a folder of its own); otherwise, as for an installed program, the per-user
// data directory $XDG_DATA_HOME/drovik (~/.local/share/drovik), created on demand.
Result<std::filesystem::path> defaultProgramDirectory();

// Whether a program in `dir` keeps its files there: a folder the user may write, other than
// `installedPrograms`, where an installation puts programs (root may write /usr/bin too).
bool keepsFilesBeside(const std::filesystem::path& dir,
                      const std::filesystem::path& installedPrograms);

}  // namespace drovik
