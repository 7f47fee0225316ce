// An INI file on disk. Each call re-reads the file, as Windows does, so changes made by other
// programs in between are kept; writers serialise on "<file>.lock" beside the file.
#pragma once

#include <filesystem>
#include <functional>

#include "model/ini_document.h"
#include "model/status.h"

namespace drovik::ini {

class IniFile {
 public:
  explicit IniFile(std::filesystem::path path);

  const std::filesystem::path& path() const { return path_; }

  // A missing file reads as an empty document; a folder, a special file, a file over 256 MiB
  // or a failing read is an Error.
  Result<IniDocument> read() const;

  // Under the exclusive lock: reads the file afresh and applies edit; when edit succeeds and
  // changed the document, replaces the file atomically (old permission bits and owner kept).
  // A symbolic link is written through to its target. On any failure the old file is intact.
  // Errors returned by edit are passed on unchanged.
  Status update(const std::function<Status(IniDocument&)>& edit) const;

 private:
  std::filesystem::path path_;
};

// Test seam: makes the next atomic write on the calling thread fail at the given step, the way
// a full disk or a failing device would.
enum class WriteFault { None, CreateTemporary, Write, Sync, Rename };
void injectWriteFaultForTesting(WriteFault fault);

}  // namespace drovik::ini
