// An INI file on disk. Each read takes the file afresh, as Windows does, so changes made by
// other programs in between are seen. Writes replace the whole file atomically, so readers
// need no lock; writers serialise on the folder's write lock (files/folder_lock.h).
#pragma once

#include <filesystem>
#include <functional>

#include "files/atomic_file.h"
#include "files/status.h"
#include "ini/ini_document.h"

namespace drovik::ini {

using drovik::injectWriteFaultForTesting;
using drovik::WriteFault;

class IniFile {
 public:
  explicit IniFile(std::filesystem::path path);

  const std::filesystem::path& path() const { return path_; }

  // A missing file reads as an empty document; a folder, a special file, a file over 256 MiB
  // or a failing read is an Error.
  Result<IniDocument> read() const;

  // Replaces the file with the document, atomically (old permission bits and owner kept).
  // A symbolic link is written through to its target. The caller holds the folder's write
  // lock. On any failure the old file is intact.
  Status write(const IniDocument& document) const;
  // The first half of write: the new file waits beside the old one until committed.
  Result<PendingReplacement> prepareWrite(const IniDocument& document) const;

  // One locked change on its own: takes the folder's write lock, reads the file afresh and
  // applies edit; when edit succeeds and changed the document, writes it. Errors returned by
  // edit are passed on, prefixed with the file's path.
  Status update(const std::function<Status(IniDocument&)>& edit) const;

 private:
  std::filesystem::path path_;
};

}  // namespace drovik::ini
