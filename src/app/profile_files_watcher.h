// Tells the main window when the profile files have changed since it last read them: another
// copy of the program, drovik-cli or a script shares the folder. A burst of events (one
// replacement alone brings several) comes as one signal, and none comes for events that left
// both files as they were read (the lock file, temporary and generated files).
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <array>
#include <cstdint>

#include "model/store_paths.h"

namespace drovik {

class ProfileFilesWatcher : public QObject {
  Q_OBJECT

 public:
  explicit ProfileFilesWatcher(const StorePaths& paths, QObject* parent = nullptr);

  // Call right before reading the files: any change from here on is news.
  void markRead();
  bool changedSinceRead() const;

 Q_SIGNALS:
  // Some time after the files changed, when they differ from the last read.
  void changed();

 private:
  // What tells one version of a file from the next: a replacement brings a new inode, an
  // edit in place a new modification time or size.
  struct FileStamp {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
  };
  using Stamps = std::array<FileStamp, 2>;

  Stamps stampsNow() const;
  void noticeEvent();
  // A file replaced by a rename drops out of the watcher; it is added again once it exists.
  void watchFiles();
  void settle();

  std::array<QString, 2> files_;
  QFileSystemWatcher watcher_;
  QTimer settleTimer_;
  Stamps read_;
};

}  // namespace drovik
