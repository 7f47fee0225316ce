// Byte-level checks that a file or a folder was left exactly as it was, with failure
// messages that name the first difference instead of printing megabytes.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

namespace drovik::hostile {

// Relative path -> bytes of every regular file below dir, and "-> target" for links.
// Lock files are left out: every read may create one.
using FolderSnapshot = std::map<std::string, std::string>;
FolderSnapshot snapshotFolder(const std::filesystem::path& dir);

::testing::AssertionResult sameBytes(const std::string& expected, const std::string& actual);
::testing::AssertionResult sameFolder(const FolderSnapshot& expected, const FolderSnapshot& actual);

// A file that must keep `prefix` and `suffix` around whatever a save put in between.
::testing::AssertionResult keepsAround(const std::string& prefix, const std::string& suffix,
                                       const std::string& actual);

}  // namespace drovik::hostile
