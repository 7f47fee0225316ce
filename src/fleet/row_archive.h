// Where a fleet run keeps each row's profiles: not in the data folder, whose index holds only
// 20, but in a folder per row beside the plan (`offices.csv` -> `offices.archive/NAME/`), a
// data folder of its own (R_MAIN.INI, RSETTING.INI) that drovik-cli --data-dir and the desktop
// program open, with the old printer's two images and the new printer's command beside it.
#pragma once

#include <filesystem>
#include <string>

#include "files/status.h"

namespace drovik::fleet {

// "offices.csv" -> "offices.archive", in the plan's folder.
std::filesystem::path archivePathFor(const std::filesystem::path& plan);

// The folder of the row `name` (archive / name) as the result file names it: relative to the
// plan's folder, which holds the result file.
std::string rowArchiveName(const std::filesystem::path& archive, const std::string& name);

// The command file of the profile `name` in its row's folder: "NAME.sib".
std::filesystem::path commandFileIn(const std::filesystem::path& folder, const std::string& name);

// Creates the archive's or a row's folder when missing; refuses anything else in its place.
Status createFolder(const std::filesystem::path& folder);

// Creates the row's folder when missing and stores the fetched images
// (rnvr_all.bin, rnvr_nw.bin) from `fetched` in it, each replaced whole.
Status storeFetchedImages(const std::filesystem::path& fetched,
                          const std::filesystem::path& folder);

}  // namespace drovik::fleet
