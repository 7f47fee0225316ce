// Helpers shared by the commands of drovik-cli.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_args.h"
#include "model/profile_registry.h"
#include "model/profile_store.h"

namespace drovik::cli {

// Prints "drovik-cli: <message>" on stderr.
void reportError(const std::string& message);

// The store in --data-dir, or in the program directory.
Result<ProfileStore> openStore(const Args& args);

// Checks the operand count; reports a usage error when it is wrong.
bool expectOperands(const Args& args, std::size_t count, const char* usage);

}  // namespace drovik::cli

namespace drovik::cli {

// Writes bytes to a file, replacing it; a failed open, write or close is an error.
Status writeBinaryFile(const std::filesystem::path& path, std::string_view bytes);
Result<std::string> readBinaryFile(const std::filesystem::path& path, std::size_t maxBytes);

// Reads the slots and finds the first one named exactly `name`.
struct NamedProfile {
  ProfileStore store;
  ProfileModel model;
  int slot;
};
Result<NamedProfile> openNamedProfile(const Args& args, const std::string& name);

// Prints each warning as one line on stderr, its line breaks replaced by spaces.
void printWarnings(const std::vector<std::string>& warnings);

}  // namespace drovik::cli
