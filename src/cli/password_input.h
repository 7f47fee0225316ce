// The printer password for the commands that ask printers: never on the command line, where
// other users could see it.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "files/status.h"

namespace drovik::cli {

// One line from standard input; not echoed when typed at a terminal, whose echo comes back
// also when a signal ends the program at the prompt. A password read by either function keeps
// the process out of core dumps from then on.
std::string readPassword(std::string_view prompt = "パスワード: ");

// The first line of a file that is a regular file owned by this user and readable by its owner
// only (no permission bit for group or others); any other file is refused with the reason.
Result<std::string> readPasswordFile(const std::filesystem::path& path);
// The same file's lines (each without its line end), for commands that take several secrets.
Result<std::vector<std::string>> readSecretLines(const std::filesystem::path& path);

}  // namespace drovik::cli
