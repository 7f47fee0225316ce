// Reading a whole file that the operator names, up to a bound, so that a wrong name (a device,
// a huge log) gives a message instead of filling the memory.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "files/status.h"

namespace drovik {

Result<std::string> readFileUpTo(const std::filesystem::path& path, std::size_t maxBytes);

}  // namespace drovik
