#include "fleet/scratch_dir.h"

#include <stdlib.h>

#include <cerrno>
#include <cstring>

namespace drovik::fleet {

Result<ScratchDir> ScratchDir::create() {
  std::error_code ec;
  const std::filesystem::path base = std::filesystem::temp_directory_path(ec);
  if (ec) return Error{"一時フォルダがありません（" + ec.message() + "）"};
  std::string pattern = (base / "drovik-fleet-XXXXXX").string();
  if (!::mkdtemp(pattern.data()))  // mode 0700
    return Error{"作業フォルダを作成できません: " + pattern + "（" + std::strerror(errno) + "）"};
  return ScratchDir(pattern);
}

ScratchDir::ScratchDir(ScratchDir&& other) noexcept : path_(std::move(other.path_)) {
  other.path_.clear();
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}

}  // namespace drovik::fleet
