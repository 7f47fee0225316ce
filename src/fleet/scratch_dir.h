// A folder of one run's own in the temporary folder, readable by its owner only: the rows of a
// fleet run fetch and send at the same time, so none may use the shared program folder.
#pragma once

#include <filesystem>

#include "files/status.h"

namespace drovik::fleet {

class ScratchDir {
 public:
  static Result<ScratchDir> create();
  ScratchDir(ScratchDir&& other) noexcept;
  ScratchDir& operator=(ScratchDir&&) = delete;
  ~ScratchDir();  // removes the folder and everything in it

  const std::filesystem::path& path() const { return path_; }

 private:
  explicit ScratchDir(std::filesystem::path path) : path_(std::move(path)) {}
  std::filesystem::path path_;
};

}  // namespace drovik::fleet
